// The printer choice without its dialog: finding the chosen printer by name, when the device
// changes, and the settings that reach the program's printer.

#include "print/PrinterSettings.h"

#include <QHash>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintEngine>
#include <QTemporaryDir>
#include <QtTest>

using namespace halcyra;

namespace {

// Two printers whose names are the same in their first 31 characters.
const QString kUpstairs = QStringLiteral("Front Office Colour Laser Printer (upstairs)");
const QString kDownstairs = QStringLiteral("Front Office Colour Laser Printer (downstairs)");

// A print engine that keeps whatever it is told, so every setting can be read back, duplex
// included (the PDF writer drops it).
class RecordingPrintEngine final : public QPrintEngine
{
public:
    void setProperty(PrintEnginePropertyKey key, const QVariant& value) override
    {
        values.insert(key, value);
    }
    QVariant property(PrintEnginePropertyKey key) const override { return values.value(key); }
    bool newPage() override { return false; }
    bool abort() override { return false; }
    int metric(QPaintDevice::PaintDeviceMetric) const override { return 0; }
    QPrinter::PrinterState printerState() const override { return QPrinter::Idle; }

    QHash<PrintEnginePropertyKey, QVariant> values;
};

class NoPaintEngine final : public QPaintEngine
{
public:
    bool begin(QPaintDevice*) override { return false; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    Type type() const override { return QPaintEngine::User; }
};

class RecordingPrinter final : public QPrinter
{
public:
    explicit RecordingPrinter(RecordingPrintEngine& engine) { setEngines(&engine, &m_paint); }

private:
    NoPaintEngine m_paint;
};

PrinterSettings unusualSettings()
{
    PrinterSettings settings;
    settings.orientation = QPageLayout::Landscape;
    settings.pageSize = QPageSize(QPageSize::Legal);
    settings.copies = 3;
    settings.collateCopies = false;
    settings.paperSource = QPrinter::Envelope;
    settings.printQuality = 300;
    settings.colorMode = QPrinter::GrayScale;
    settings.duplex = QPrinter::DuplexLongSide;
    return settings;
}

} // namespace

class PrinterSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void findPrinterByName_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("expected"); // -1: none

        const QStringList office = {QStringLiteral("Office Laser"),
                                    QStringLiteral("HP LaserJet 4")};
        QTest::newRow("letter case does not count")
            << office << QStringLiteral("hp LASERJET 4") << 1;
        QTest::newRow("a difference after 31 characters does not count")
            << QStringList{QStringLiteral("Office Laser"), kUpstairs}
            << QStringLiteral("FRONT OFFICE COLOUR LASER PRINTER 2") << 1;
        QTest::newRow("a difference within 31 characters counts")
            << QStringList{kUpstairs} << QStringLiteral("Front Office Colour Laser Prin") << -1;
        QTest::newRow("the exact name wins over an earlier look-alike")
            << QStringList{kUpstairs, kDownstairs} << kDownstairs << 1;
        QTest::newRow("no such printer") << office << QStringLiteral("Label Writer") << -1;
        QTest::newRow("no printers installed")
            << QStringList{} << QStringLiteral("Office Laser") << -1;
    }

    void findPrinterByName()
    {
        QFETCH(QStringList, installed);
        QFETCH(QString, name);
        QFETCH(int, expected);
        const auto found = halcyra::findPrinterByName(installed, name);
        QCOMPARE(found ? int(*found) : -1, expected);
    }

    void printerToSwitchTo()
    {
        const QStringList installed = {QStringLiteral("HP LaserJet"), kUpstairs, kDownstairs};
        // The printer already current stays, whatever the letter case of the chosen name.
        QCOMPARE(halcyra::printerToSwitchTo(QStringLiteral("HP LaserJet"),
                                            QStringLiteral("HP LASERJET"), installed),
                 std::nullopt);
        // Two printers alike in their first 31 characters are still two printers.
        QCOMPARE(halcyra::printerToSwitchTo(kUpstairs, kDownstairs, installed), kDownstairs);
        // A printer that is not installed (any more) leaves the current one.
        QCOMPARE(halcyra::printerToSwitchTo(kUpstairs, QStringLiteral("Label Writer"), installed),
                 std::nullopt);
        // From the PDF writer, which has no device name, to a printer, under its installed name.
        QCOMPARE(halcyra::printerToSwitchTo(QString(), QStringLiteral("hp laserjet"), installed),
                 QStringLiteral("HP LaserJet"));
    }

    void everySettingReachesThePrinter()
    {
        RecordingPrintEngine engine;
        RecordingPrinter printer(engine);
        const PrinterSettings settings = unusualSettings();
        applySettings(printer, settings);

        using Key = QPrintEngine::PrintEnginePropertyKey;
        QCOMPARE(engine.values.value(Key::PPK_Orientation).toInt(), int(QPageLayout::Landscape));
        QCOMPARE(engine.values.value(Key::PPK_QPageSize).value<QPageSize>().id(), QPageSize::Legal);
        QCOMPARE(engine.values.value(Key::PPK_CopyCount).toInt(), 3);
        QCOMPARE(engine.values.value(Key::PPK_CollateCopies).toBool(), false);
        QCOMPARE(engine.values.value(Key::PPK_PaperSource).toInt(), int(QPrinter::Envelope));
        QCOMPARE(engine.values.value(Key::PPK_Resolution).toInt(), 300);
        QCOMPARE(engine.values.value(Key::PPK_ColorMode).toInt(), int(QPrinter::GrayScale));
        QCOMPARE(engine.values.value(Key::PPK_Duplex).toInt(), int(QPrinter::DuplexLongSide));
    }

    void thePdfWriterTakesTheChoice()
    {
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("before.pdf")));

        PrinterChoice choice;
        choice.outputFileName = dir.filePath(QStringLiteral("report.pdf"));
        choice.settings = unusualSettings();
        SetPrinterFromDialog(printer, choice, {});

        QCOMPARE(printer.outputFormat(), QPrinter::PdfFormat);
        QCOMPARE(printer.outputFileName(), choice.outputFileName);
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::Legal);
        QCOMPARE(printer.copyCount(), 3);
        QCOMPARE(printer.collateCopies(), false);
        QCOMPARE(printer.paperSource(), QPrinter::Envelope);
        QCOMPARE(printer.resolution(), 300);
        QCOMPARE(printer.colorMode(), QPrinter::GrayScale);

        // What the dialog is handed back is what the printer now has.
        const PrinterChoice back = choiceOf(printer);
        QCOMPARE(back.deviceName, QString());
        QCOMPARE(back.outputFileName, choice.outputFileName);
        PrinterSettings expected = choice.settings;
        expected.duplex = QPrinter::DuplexNone; // a file has no sides
        QVERIFY(back.settings == expected);

        // The chosen file is really written.
        {
            QPainter painter(&printer);
            QVERIFY(painter.isActive());
            painter.drawText(QPointF(100, 100), QStringLiteral("Halcyra"));
        }
        QFile written(choice.outputFileName);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.read(5) == "%PDF-");
    }

    void aPrinterNotInstalledLeavesTheDeviceButTakesTheSettings()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("kept.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);

        PrinterChoice choice;
        choice.deviceName = QStringLiteral("Printer That Was Unplugged");
        choice.settings = unusualSettings();
        SetPrinterFromDialog(printer, choice, {QStringLiteral("Office Laser")});

        QCOMPARE(printer.outputFormat(), QPrinter::PdfFormat);
        QCOMPARE(printer.outputFileName(), file);
        QCOMPARE(printer.copyCount(), 3);
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
    }

    void aPrinterInTheMiddleOfAJobCannotBeSetUp()
    {
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("job.pdf")));
        QCOMPARE(printDialogError(printer), dialogerrors::kNone);
        QCOMPARE(pageSetupDialogError(printer), dialogerrors::kNone);
        QPainter painter(&printer);
        QCOMPARE(printDialogError(printer), dialogerrors::kDialogFailure);
        QCOMPARE(pageSetupDialogError(printer), dialogerrors::kDialogFailure);
    }
};

QTEST_MAIN(PrinterSettingsTest)
#include "tst_printer_settings.moc"
