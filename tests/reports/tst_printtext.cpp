// The paragraph printer on a text measure the test controls: where lines wrap, what the markup
// codes do, and how a paragraph continues on the next page.

#include "RecordingPageWriter.h"
#include "core/Catalogue.h"
#include "core/CatalogueIds.h"
#include "reports/Markup.h"
#include "reports/PrintText.h"

#include <QtTest>

using namespace halcyra;
using halcyra::test::RecordingPageWriter;

namespace {

// A printable area 3 inches wide: with the report's indent of 0.5, 25 characters fit a line.
constexpr double kNarrow = 3.0;
constexpr double kIndent = 0.5;

struct Printed
{
    RecordingPageWriter writer{QSizeF(kNarrow, 10.5)};
    ParagraphPrinter printer{writer};

    Printed(const QString& text, ParagraphStyle style = ParagraphStyle::Plain, double top = 1.0)
    {
        writer.setCurrentY(top);
        printer.PrintText(text, style, kIndent);
    }
};

} // namespace

class PrintTextTest : public QObject
{
    Q_OBJECT

private slots:
    void wrapsAtTheLastBlankThatFits()
    {
        // Exactly 25 characters fit: the first line keeps its trailing blank.
        Printed p(QStringLiteral("aaaa bbbb cccc dddd eeee ffff gggg"));
        QCOMPARE(p.writer.texts(), QStringList({QStringLiteral("aaaa bbbb cccc dddd eeee "),
                                                QStringLiteral("ffff gggg")}));
        QCOMPARE(p.writer.drawn[0].x, page::kLineStart);
        QCOMPARE(p.writer.drawn[1].x, page::kLineStart);
        QCOMPARE(p.writer.drawn[0].y, 1.0);
        QCOMPARE(p.writer.drawn[1].y, 1.2);
        // The paragraph leaves the position on the line below its last line.
        QCOMPARE(p.writer.currentY(), 1.4);

        // One character more and the fifth word goes down; blanks after the cut are dropped.
        Printed q(QStringLiteral("aaaa bbbb cccc dddd eeeee   ffff"));
        QCOMPARE(q.writer.texts(), QStringList({QStringLiteral("aaaa bbbb cccc dddd "),
                                                QStringLiteral("eeeee   ffff")}));
    }

    void wordWiderThanTheLineStandsAloneUnbroken()
    {
        const QString word(40, u'x');
        Printed p(QStringLiteral("short ") + word + QStringLiteral(" end"));
        QCOMPARE(p.writer.texts(),
                 QStringList({QStringLiteral("short "), word + u' ', QStringLiteral("end")}));
        // A leading blank is no place to break either.
        Printed q(u' ' + word);
        QCOMPARE(q.writer.texts(), QStringList({u' ' + word}));
    }

    void newLineCodesEndLinesAndTwoLeaveAnEmptyOne()
    {
        Printed p(QStringLiteral("one[nl....[nl....two[nl....three"));
        QCOMPARE(p.writer.texts(), QStringList({QStringLiteral("one"), QStringLiteral("two"),
                                                QStringLiteral("three")}));
        QCOMPARE(p.writer.drawn[0].y, 1.0);
        QCOMPARE(p.writer.drawn[1].y, 1.4); // one empty line between
        QCOMPARE(p.writer.drawn[2].y, 1.6);
        QCOMPARE(p.writer.drawn[2].x, page::kLineStart);
    }

    void tabMovesToItsPositionFromTheLineStart()
    {
        RecordingPageWriter writer;
        ParagraphPrinter printer(writer);
        printer.PrintText(QStringLiteral("Name[tb3.00 Value"), ParagraphStyle::Plain, kIndent);
        QCOMPARE(writer.texts(), QStringList({QStringLiteral("Name"), QStringLiteral("Value")}));
        QCOMPARE(writer.drawn[1].x, page::kLineStart + 3.0);
        QCOMPARE(writer.drawn[1].y, writer.drawn[0].y);
    }

    void quoteCodeBecomesAQuotationMarkInTheText()
    {
        Printed p(QStringLiteral("He said [qq....yes[qq.... twice"));
        QCOMPARE(p.writer.texts(), QStringList({QStringLiteral("He said \"yes\" twice")}));
    }

    void boldCodesSwitchBoldOnTheSameLine()
    {
        Printed p(QStringLiteral("one [bo....two[bf.... three"));
        QCOMPARE(p.writer.texts(), QStringList({QStringLiteral("one "), QStringLiteral("two"),
                                                QStringLiteral(" three")}));
        const auto& d = p.writer.drawn;
        QVERIFY(!d[0].font.bold && d[1].font.bold && !d[2].font.bold);
        QCOMPARE(d[1].y, d[0].y);
        QCOMPARE(d[1].x, d[0].x + d[0].width);
        QCOMPARE(d[2].x, d[1].x + d[1].width);
    }

    void textAfterACodeWrapsWithinTheLine()
    {
        // After "[bo" the rest of the line is shorter: the text must not run past the margin.
        Printed p(QStringLiteral("aaaa bbbb cccc dd[bo....eeee ffff gggg hhhh"));
        const double margin = page::kLineStart + kNarrow - kIndent;
        for (const auto& item : p.writer.drawn)
            QVERIFY2(item.x + p.writer.measure.width(item.text.trimmed(), item.font) <=
                         margin + 1e-9,
                     qPrintable(item.text));
        QCOMPARE(p.writer.texts().join(QString()).remove(u' '),
                 QStringLiteral("aaaabbbbccccddeeeeffffgggghhhh"));
    }

    void unknownCodeIsPrintedWithErrorAndEnds()
    {
        Printed p(QStringLiteral("text [xx.... more [nl....last"));
        QCOMPARE(p.writer.texts(), QStringList({QStringLiteral("text [xx.... more "),
                                                QStringLiteral("last ERROR: ")}));
        Printed q(QStringLiteral("[zz"));
        QCOMPARE(q.writer.texts(), QStringList({QStringLiteral("[zz ERROR: ")}));
    }

    void paragraphCrossingTheBottomContinuesUnderItsHeading()
    {
        // Three lines from 9.3: 9.3 and 9.5 fit, the third is past the limit.
        Printed p(QStringLiteral("aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk llll"),
                  ParagraphStyle::Analysis, 9.3);
        const auto& d = p.writer.drawn;
        QCOMPARE(d.size(), 5);
        QCOMPARE(d[0].y, 9.3);
        QCOMPARE(d[1].y, 9.5);
        QCOMPARE(d[2].text, QStringLiteral("Page 1"));
        QCOMPARE(d[2].y, page::kFooterTop);
        QCOMPARE(d[2].x, (kNarrow - d[2].width) / 2);
        QCOMPARE(d[2].page, 1);
        QCOMPARE(d[3].text, QStringLiteral("Analysis"));
        QCOMPARE(d[3].page, 2);
        QVERIFY(d[3].font.bold);
        QCOMPARE(d[3].font.name, timesNewRoman());
        QCOMPARE(d[3].x, (kNarrow - d[3].width) / 2);
        QCOMPARE(d[4].text, QStringLiteral("kkkk llll"));
        QCOMPARE(d[4].page, 2);
        QVERIFY(d[4].y > d[3].y);
        QVERIFY(!d[4].font.bold);

        // Without a heading for the style the text simply goes on at the top.
        Printed plain(QStringLiteral("aaaa bbbb cccc dddd eeee ffff"),
                      ParagraphStyle::VeryHighTitle, 9.4);
        QCOMPARE(plain.writer.texts(),
                 QStringList({QStringLiteral("aaaa bbbb cccc dddd eeee "), QStringLiteral("Page 1"),
                              QStringLiteral("ffff")}));
        QCOMPARE(plain.writer.drawn[2].y, page::kTop);
    }

    void footerIsNeverBoldAndPutsBoldBack()
    {
        RecordingPageWriter writer;
        ParagraphPrinter printer(writer);
        writer.setFontBold(true);
        printer.PrintPageFooter(false);
        printer.PrintPageFooter(true);
        QCOMPARE(writer.texts(), QStringList({QStringLiteral("Page 1"), QStringLiteral("Page 2")}));
        QVERIFY(!writer.drawn[0].font.bold);
        QCOMPARE(writer.drawn[1].page, 2);
        QVERIFY(writer.font().bold);
        printer.resetPageCounter();
        printer.PrintPageFooter(true);
        QCOMPARE(writer.drawn.last().text, QStringLiteral("Page 1"));
    }

    // Every analysis paragraph of the catalogue, wrapped to a narrow page: no line runs past
    // the margin unless it is one word, and no text is lost, doubled or reordered.
    void catalogueParagraphsKeepEveryWord()
    {
        const Catalogue catalogue = Catalogue::builtIn();
        for (int r = 1; r <= 42; ++r) {
            for (int id : {ids::analysisText(r), ids::analysisTitle(r) + 1}) {
                const QString text = catalogue.LoadResString(id);
                if (text.isEmpty())
                    continue;
                RecordingPageWriter writer(QSizeF(4.0, 10.5));
                ParagraphPrinter printer(writer);
                printer.PrintText(text, ParagraphStyle::Analysis, kIndent);
                QString printed;
                for (const auto& item : writer.drawn) {
                    if (item.text == u"Analysis" || item.text.startsWith(u"Page "))
                        continue;
                    const QString shown = item.text.trimmed();
                    QVERIFY2(item.x + writer.measure.width(shown, item.font) <= 3.75 + 1e-9 ||
                                 !shown.contains(u' '),
                             qPrintable(item.text));
                    printed += item.text;
                }
                QString expected = ConvertMarkupForScreen(text);
                expected.remove(QRegularExpression(QStringLiteral("\\s")));
                QCOMPARE(printed.remove(QRegularExpression(QStringLiteral("\\s"))), expected);
            }
        }
    }

    void screenConversionOfTheCodes()
    {
        QCOMPARE(ConvertMarkupForScreen(
                     QStringLiteral("a[nl....b[tb3.00 c[qq....d[qq....[bo....e[bf....f")),
                 QStringLiteral("a\r\nb  ---  c\"d\"ef"));
        QCOMPARE(ConvertMarkupForScreen(QStringLiteral("Yes[ ] [nl")),
                 QStringLiteral("Yes[ ] \r\n"));
    }
};

QTEST_GUILESS_MAIN(PrintTextTest)
#include "tst_printtext.moc"
