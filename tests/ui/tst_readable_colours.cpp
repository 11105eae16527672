// Colours that keep their meaning and stay readable on a light and on a dark palette: the
// marked score boxes and the help pages.

#include "records/ScoreBoxDescription.h"
#include "support/DarkPalette.h"
#include "ui/ReadableColours.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

using namespace halcyra;
using namespace Qt::StringLiterals;

namespace {

QString helpFile(const QString& name)
{
    QFile file(QStringLiteral(HALCYRA_SOURCE_DIR "/resources/help/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// The colour a rule of the style sheet gives a property, e.g. ("p.note", "background-color").
QColor ruleColour(const QString& css, const QString& selector, const QString& property)
{
    const QRegularExpression rule(u"(^|\\n)"_s + QRegularExpression::escape(selector) +
                                  u"\\s*\\{([^}]*)\\}"_s);
    const QString body = rule.match(css).captured(2);
    const QRegularExpression value(u"(^|[;\\s])"_s + QRegularExpression::escape(property) +
                                   u"\\s*:\\s*(#[0-9a-fA-F]{6})"_s);
    return QColor(value.match(body).captured(2));
}

} // namespace

class ReadableColoursTest : public QObject
{
    Q_OBJECT

private slots:
    void palettes_data()
    {
        QTest::addColumn<QPalette>("palette");
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << QPalette() << false;
        QTest::newRow("dark") << test::darkPalette() << true;
        QPalette black = test::darkPalette();
        black.setColor(QPalette::Base, Qt::black);
        QTest::newRow("black") << black << true;
        QPalette dim = test::darkPalette();
        dim.setColor(QPalette::Base, QColor(80, 80, 80));
        QTest::newRow("dim") << dim << true;
        QPalette grey = QPalette();
        grey.setColor(QPalette::Base, QColor(118, 118, 118));
        QTest::newRow("mid grey") << grey << false;
    }

    void palettes()
    {
        QFETCH(QPalette, palette);
        QFETCH(bool, dark);
        QCOMPARE(isDarkPalette(palette), dark);
        const QColor base = palette.color(QPalette::Base);

        // The marked score boxes: blue that reads, pure blue where it already does.
        const QColor marked = markedScoreColour(palette);
        QVERIFY2(contrastRatio(marked, base) >= kReadableContrast, qPrintable(marked.name()));
        QVERIFY(std::abs(marked.toHsl().hslHue() - 240) <= 2 || marked == Qt::white ||
                marked == Qt::black);
        if (!dark && contrastRatio(QColor(0, 0, 255), base) >= kReadableContrast)
            QCOMPARE(marked, QColor(0, 0, 255));

        // The message headings' green and red, as they are on a light page, readable on a dark
        // one.
        for (const QColor& meaning : {QColor(15, 150, 15), QColor(Qt::red), QColor(Qt::black)}) {
            const QColor shown = meaningColour(meaning, palette);
            if (dark)
                QVERIFY2(contrastRatio(shown, palette.color(QPalette::Window)) >= kReadableContrast,
                         qPrintable(meaning.name()));
            else
                QCOMPARE(shown, meaning);
        }

        // The help pages: every text colour reads on the page, the body text also on the
        // tinted notes and table headings; on a light page nothing changes.
        const QString css = helpFile(u"style.css"_s);
        QVERIFY(!css.isEmpty());
        const QString fitted = htmlColoursFor(css, palette);
        if (!dark && palette == QPalette())
            QCOMPARE(fitted, css);
        const QColor body = ruleColour(fitted, u"body"_s, u"color"_s);
        QVERIFY(body.isValid());
        for (const QString& selector :
             {u"h1"_s, u"h2"_s, u"h3"_s, u"p.purpose"_s, u"p.nav"_s, u".key"_s, u"body"_s}) {
            const QColor text = ruleColour(fitted, selector, u"color"_s);
            QVERIFY2(text.isValid(), qPrintable(selector));
            QVERIFY2(contrastRatio(text, base) >= kReadableContrast, qPrintable(selector));
        }
        for (const QString& selector : {u"p.note"_s, u"th"_s}) {
            const QColor tint = ruleColour(fitted, selector, u"background-color"_s);
            QVERIFY2(tint.isValid(), qPrintable(selector));
            QVERIFY2(contrastRatio(body, tint) >= kReadableContrast, qPrintable(selector));
        }
        // A colour given in a page's own markup too.
        const QString page = htmlColoursFor(helpFile(u"tutorial.html"_s), palette);
        const QRegularExpression font(u"<font color=\"(#[0-9a-fA-F]{6})\""_s);
        const QRegularExpressionMatch star = font.match(page);
        QVERIFY(star.hasMatch());
        QVERIFY(contrastRatio(QColor(star.captured(1)), base) >= kReadableContrast);
    }

    // Whatever the background, the colour found reads on it and keeps the hue it can.
    void anyBackgroundReads_data()
    {
        QTest::addColumn<QColor>("wanted");
        QTest::addColumn<QColor>("background");
        QTest::newRow("blue on black") << QColor(0, 0, 255) << QColor(Qt::black);
        QTest::newRow("blue on navy") << QColor(0, 0, 255) << QColor(0, 0, 90);
        QTest::newRow("red on dark grey") << QColor(204, 0, 0) << QColor(42, 42, 42);
        QTest::newRow("yellow on white") << QColor(255, 255, 0) << QColor(Qt::white);
        QTest::newRow("grey on grey") << QColor(128, 128, 128) << QColor(120, 120, 120);
        QTest::newRow("white on white") << QColor(Qt::white) << QColor(Qt::white);
    }

    void anyBackgroundReads()
    {
        QFETCH(QColor, wanted);
        QFETCH(QColor, background);
        const QColor found = readableOn(wanted, background);
        QVERIFY2(contrastRatio(found, background) >= kReadableContrast,
                 qPrintable(found.name() + u" on "_s + background.name()));
        QCOMPARE(contrastRatio(QColor(Qt::black), QColor(Qt::white)), 21.0);
    }

    // A marked box is told by its name and tool tip too, not only by its colour.
    void markedBoxesAreTold_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<QString>("name");
        QTest::newRow("marked") << u"Field  8"_s << u"14"_s << true << u"Field 8: 14, marked"_s;
        QTest::newRow("typed") << u"Field 12A"_s << u"3"_s << false << u"Field 12A: 3"_s;
        QTest::newRow("empty") << u"Field  4"_s << u" "_s << true << u"Field 4: empty, marked"_s;
    }

    void markedBoxesAreTold()
    {
        QFETCH(QString, label);
        QFETCH(QString, text);
        QFETCH(bool, marked);
        QFETCH(QString, name);
        QCOMPARE(scoreBoxAccessibleName(label, text, marked), name);
        QCOMPARE(scoreBoxToolTip(marked).contains(u"Marked"_s), marked);
    }
};

QTEST_MAIN(ReadableColoursTest)
#include "tst_readable_colours.moc"
