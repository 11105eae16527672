// The blank questionnaire: the printout read back from its PDF, Print > Questionnaire with its
// remembered font, the command-line copy, and the document sent to clients.

#include "cli/Command.h"
#include "core/Catalogue.h"
#include "core/CatalogueIds.h"
#include "reports/QuestionnaireDocument.h"
#include "reports/QuestionnairePrintout.h"
#include "support/CatalogueOverride.h"
#include "support/MainWindowHarness.h"
#include "support/ModalDriver.h"
#include "support/PdfText.h"

#include <QAction>
#include <QFileDialog>
#include <QPdfDocument>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace halcyra;
using halcyra::test::MainWindowHarness;

using Overrides = QMap<int, QString>;

namespace {

// The printed text without its blanks and page numbers: the PDF's text extraction joins and
// splits lines as it sees fit, the characters stay.
QString pdfText(const QString& path)
{
    QString text = test::pdfText(path);
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    static const QRegularExpression pageNumbers(QStringLiteral("Page\\d+"));
    return text.remove(blanks).remove(pageNumbers);
}

QString withoutBlanks(QString text)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return text.remove(blanks);
}

// What a list prints, item after item, without blanks.
QString expectedItems(const Catalogue& catalogue, int countId, bool scored)
{
    QString text;
    for (int i = 1; i <= catalogue.count(countId); ++i) {
        const QString item = catalogue.LoadResString(countId + i);
        switch (questionnaireItemKind(item)) {
        case QuestionnaireItem::Rule:
            break;
        case QuestionnaireItem::Instruction:
            text += item.mid(1);
            break;
        case QuestionnaireItem::Plain:
            text += scored ? QStringLiteral("____") + item : item;
            break;
        case QuestionnaireItem::Total:
        case QuestionnaireItem::YesNo:
            text += item;
            break;
        }
    }
    return withoutBlanks(text);
}

// The text between two headings of the printout.
QString textBetween(const QString& text, const QString& from, const QString& to)
{
    const qsizetype start = text.indexOf(withoutBlanks(from));
    const qsizetype end = text.indexOf(withoutBlanks(to), start + 1);
    if (start < 0 || end < 0)
        return QStringLiteral("heading missing");
    return text.mid(start + withoutBlanks(from).size(), end - start - withoutBlanks(from).size());
}

} // namespace

class QuestionnaireTest : public QObject
{
    Q_OBJECT

private slots:
    void printoutHoldsEveryItemOnceInOrder_data()
    {
        QTest::addColumn<Overrides>("overrides");
        QTest::addColumn<int>("size");
        QTest::newRow("shipped, size 8") << Overrides{} << 8;
        QTest::newRow("shipped, size 12") << Overrides{} << 12;
        QTest::newRow("no supplemental lines")
            << Overrides{{ids::kSupplementalCount, QStringLiteral("0")}} << 8;
    }
    void printoutHoldsEveryItemOnceInOrder()
    {
        QFETCH(Overrides, overrides);
        QFETCH(int, size);
        const Catalogue catalogue = test::catalogueWithOverrides(Catalogue::builtIn(), overrides);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("q.pdf"));
        const Result<int> pages =
            writeQuestionnairePdf(file, catalogue, {QStringLiteral("Times New Roman"), size});
        QVERIFY2(pages, qPrintable(pages ? QString() : pages.error()));
        const QString text = pdfText(file);

        const QString supplemental = catalogue.LoadResString(ids::kSupplementalHeading);
        const QString yesNo = catalogue.LoadResString(ids::kYesNoHeading);
        const QString reminder = catalogue.LoadResString(ids::kQuestionnaireReminder);
        QVERIFY(text.startsWith(catalogue.LoadResString(ids::kTitleReport)));
        // The words of the detail lines and instructions, in order; the blanks to write on may
        // be shortened to fit a large font.
        static const QRegularExpression blanks(QStringLiteral("[_\\s]+"));
        qsizetype at = 0;
        for (const QString& line : questionnaireDetailLines() + questionnaireInstructions())
            for (const QString& word : line.split(blanks, Qt::SkipEmptyParts)) {
                at = text.indexOf(word, at);
                QVERIFY2(at > 0, qPrintable(word));
            }
        QCOMPARE(textBetween(text, supplemental, yesNo),
                 expectedItems(catalogue, ids::kSupplementalCount, false));
        QCOMPARE(textBetween(text, yesNo, pointsSectionHeading()),
                 expectedItems(catalogue, ids::kYesNoCount, false));
        QCOMPARE(textBetween(text, pointsSectionHeading(), reminder),
                 expectedItems(catalogue, ids::kQuestionnaireCount, true));
        QVERIFY(text.endsWith(withoutBlanks(reminder)));
    }

    // The font dialog starts on the font the page will have (Times New Roman is not installed
    // here: its metric twin is); accepted as offered, the stored name stays.
    void printMenuRemembersTheFontAndPrintsNoClientData()
    {
        MainWindowHarness h;
        h.addClient(QStringLiteral("Galloway"), QStringLiteral("Elena"));
        frmMain& window = h.open();
        const QString file = h.folder.path(QStringLiteral("printed.pdf"));
        window.programPrinter().setOutputFormat(QPrinter::PdfFormat);
        window.programPrinter().setOutputFileName(file);

        const UserPrompts::FontChoice serif{QStringLiteral("Liberation Serif"), 8};
        const UserPrompts::FontChoice chosen{QStringLiteral("Liberation Sans"), 10};
        h.prompts.setNextFonts({serif, chosen, std::nullopt});
        // The PDF writer's file is asked for.
        const auto printTo = [&] {
            test::whenModalShows(&window, [&](QWidget* modal) {
                auto* dialog = qobject_cast<QFileDialog*>(modal);
                QVERIFY(dialog);
                dialog->selectFile(file);
                static_cast<QDialog*>(dialog)->accept();
            });
            window.menuEntry(QStringLiteral("mnuPrintQ"))->trigger();
        };
        printTo();
        QCOMPARE(questionnaireFont(h.settings).name, QStringLiteral("Times New Roman"));
        QVERIFY(QFile::remove(file));
        printTo();
        const QString text = pdfText(file);
        QVERIFY(text.contains(withoutBlanks(pointsSectionHeading())));
        QVERIFY(!text.contains(u"Galloway") && !text.contains(u"Elena"));

        // The next printout offers the font chosen last; cancelling it prints nothing.
        QFile::remove(file);
        window.menuEntry(QStringLiteral("mnuPrintQ"))->trigger();
        QCOMPARE(h.prompts.fontsOffered(), (QList<UserPrompts::FontChoice>{serif, serif, chosen}));
        QVERIFY(!QFile::exists(file));
        QVERIFY(h.prompts.shown().isEmpty());
        QVERIFY(!h.prompts.busy() && !h.prompts.busyUnderflow());
    }

    void commandLineWritesThePrintout_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("defaults") << QStringList{} << int(cli::kExitOk);
        QTest::newRow("font and size")
            << QStringList{QStringLiteral("--font"), QStringLiteral("Arial"),
                           QStringLiteral("--size"), QStringLiteral("11")}
            << int(cli::kExitOk);
        QTest::newRow("size not a number")
            << QStringList{QStringLiteral("--size"), QStringLiteral("big")} << int(cli::kExitUsage);
        QTest::newRow("size 0") << QStringList{QStringLiteral("--size"), QStringLiteral("0")}
                                << int(cli::kExitUsage);
    }
    void commandLineWritesThePrintout()
    {
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("q.pdf"));
        QString outText, errText;
        QTextStream out(&outText), err(&errText);
        const QStringList arguments =
            QStringList{QStringLiteral("halcyra-cli"), QStringLiteral("questionnaire"),
                        QStringLiteral("--out"), file} +
            options;
        QCOMPARE(cli::run(arguments, out, err), exitCode);
        QCOMPARE(QFile::exists(file), exitCode == cli::kExitOk);
        if (exitCode == cli::kExitOk)
            QVERIFY(pdfText(file).contains(withoutBlanks(pointsSectionHeading())));
        else
            QVERIFY(errText.contains(u"--size"));
    }

    // Every item in catalogue order; a total line shows the client only its blanks, never the
    // adviser's notes on how the program works totals out.
    void documentForClientsHoldsEveryItemInOrder()
    {
        const Catalogue catalogue = Catalogue::builtIn();
        const QString rtf = QString::fromLatin1(questionnaireRtf(catalogue));
        QVERIFY(rtf.startsWith(u"{\\rtf1"));
        QCOMPARE(rtf.count(u'{') - rtf.count(QStringLiteral("\\{")),
                 rtf.count(u'}') - rtf.count(QStringLiteral("\\}")));
        QVERIFY(rtf.contains(u"{\\title Halcyra Questionnaire}"));
        qsizetype at = 0;
        for (int countId : {ids::kSupplementalCount, ids::kYesNoCount, ids::kQuestionnaireCount})
            for (int i = 1; i <= catalogue.count(countId); ++i) {
                QString item = catalogue.LoadResString(countId + i);
                switch (questionnaireItemKind(item)) {
                case QuestionnaireItem::Rule:
                    continue;
                case QuestionnaireItem::Instruction:
                    item = item.mid(1);
                    break;
                case QuestionnaireItem::Total:
                    item = item.section(u' ', 0, 0);
                    break;
                default:
                    break;
                }
                at = rtf.indexOf(item + QStringLiteral("\\par"), at);
                QVERIFY2(at > 0, qPrintable(item));
            }
        QVERIFY(!rtf.contains(u"auto entry"));
        QVERIFY(rtf.contains(u"you 1) followed the instructions carefully, 2) answered ALL"));
    }

    // A real word processor lays the document out: each section's total stays on the page of
    // its last statements.
    void wordProcessorKeepsEachTotalWithItsSection()
    {
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            QSKIP("No word processor to lay the document out (Debian package "
                  "libreoffice-writer-nogui)");
        QTemporaryDir dir;
        const QString document = dir.filePath(QStringLiteral("HCYQ.doc"));
        QFile file(document);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(questionnaireRtf(Catalogue::builtIn()));
        file.close();
        QProcess convert;
        convert.start(soffice,
                      {QStringLiteral("-env:UserInstallation=file://") +
                           dir.filePath(QStringLiteral("profile")),
                       QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                       QStringLiteral("pdf"), QStringLiteral("--outdir"), dir.path(), document});
        QVERIFY(convert.waitForFinished(100000));
        const QStringList pages = test::pdfPageTexts(dir.filePath(QStringLiteral("HCYQ.pdf")));
        QVERIFY2(pages.size() > 2, convert.readAllStandardError().constData());
        QVERIFY(pages.first().startsWith(u"Halcyra Questionnaire"));
        static const QRegularExpression totalLine(QStringLiteral("^\\(\\w+\\)_"));
        for (qsizetype page = 1; page < pages.size(); ++page) {
            const QString top = pages[page].trimmed().section(u'\n', 0, 0);
            QVERIFY2(!totalLine.match(top).hasMatch(),
                     qPrintable(QStringLiteral("page %1 starts with %2").arg(page + 1).arg(top)));
        }
    }

    void viewMenuWarnsAndOpensTheDocument()
    {
        MainWindowHarness h;
        frmMain& window = h.open();
        h.folder.writeFile(QStringLiteral("HCYQ.doc"), questionnaireRtf(Catalogue::builtIn()));
        // The desktop's opener, as a stand-in on the PATH that notes what it was given.
        QTemporaryDir bin;
        const QString opened = bin.filePath(QStringLiteral("opened.txt"));
        QFile opener(bin.filePath(QStringLiteral("xdg-open")));
        QVERIFY(opener.open(QIODevice::WriteOnly));
        opener.write("#!/bin/sh\nprintf '%s' \"$1\" > \"" + QFile::encodeName(opened) + "\"\n");
        opener.close();
        QVERIFY(opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);
        window.menuEntry(QStringLiteral("mnuViewQ"))->trigger();
        qputenv("PATH", path);
        QCOMPARE(h.messages.size(), 1);
        QCOMPARE(h.messages.first().title, QStringLiteral("View Questionnaire"));
        QFile given(opened);
        QVERIFY(given.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLocal8Bit(given.readAll()),
                 h.folder.path(QStringLiteral("HCYQ.doc")));
    }
};

QTEST_MAIN(QuestionnaireTest)
#include "tst_questionnaire.moc"
