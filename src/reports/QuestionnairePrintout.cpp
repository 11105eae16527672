#include "reports/QuestionnairePrintout.h"

#include "core/Catalogue.h"
#include "core/CatalogueIds.h"
#include "core/Conversions.h"
#include "core/OutputFile.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "reports/PageWriter.h"
#include "reports/PainterPageWriter.h"
#include "reports/PrintText.h"

#include <QBuffer>
#include <QFont>
#include <QFontInfo>
#include <QPdfWriter>

namespace halcyra {
namespace {

constexpr double kDetailStep = 0.25;
constexpr double kHeadingGap = 0.1;
constexpr double kRuleGap = 0.05;
constexpr double kRuleThickness = 0.01;
constexpr double kItemGap = 0.02;   // between item lines, so hand-written marks fit
constexpr double kWrapIndent = 0.5; // continuation lines of a long item
const QString kWritingBlank = QStringLiteral("____  ");

} // namespace

const QStringList& questionnaireDetailLines()
{
    static const QStringList lines = {
        QStringLiteral("Name:__________________________________________       "
                       "Date:______________________"),
        QStringLiteral("Address:_______________________________________      "
                       "Phone:___________________  Fax:___________________"),
        QStringLiteral("City:___________________  State:_____  Zip:____________  "
                       "E-mail:_____________________"),
        QStringLiteral("Age:_____  Sex (M/F)____  Blood Pressure:_____  Total Cholesterol:_____  "
                       "HDL:_____  LDL:_____  Height:_____  Weight:_____"),
        QStringLiteral("List medications you take:___________________________________________"
                       "____________________________________"),
    };
    return lines;
}

const QStringList& questionnaireInstructions()
{
    static const QStringList lines = {
        QStringLiteral("1)  If statement does not apply, leave it blank.  Otherwise place a 1, "
                       "2, or 3 on the line to the left of the statement."),
        QStringLiteral("      -- 1 for Mild or Infrequent   -- 2 for Moderate or Occasional   "
                       "-- 3 for Severe or Frequent"),
        QStringLiteral("2)  Underline the particular part of the question that applies.  Do not "
                       "agonize over each question."),
        QStringLiteral("3)  Some statements are repeated.  It is important that you mark all "
                       "appropriate statements, even if marked previously."),
        QStringLiteral("4)  Mark YES or NO statements by checking the appropriate spot."),
    };
    return lines;
}

QString pointsSectionHeading()
{
    return QStringLiteral("Points Section");
}

QuestionnaireItem questionnaireItemKind(const QString& item)
{
    if (item == u'%' || item == u'^')
        return QuestionnaireItem::Rule;
    if (item.startsWith(u'('))
        return QuestionnaireItem::Total;
    if (item.startsWith(u'#'))
        return QuestionnaireItem::Instruction;
    if (item.startsWith(QStringLiteral("Yes[")))
        return QuestionnaireItem::YesNo;
    // The "2" and "[" kinds have no special use on this form: statements like any other.
    return QuestionnaireItem::Plain;
}

namespace {

class QuestionnaireLayout
{
public:
    QuestionnaireLayout(const Catalogue& catalogue, const UserPrompts::FontChoice& font,
                        PageWriter& writer)
        : m_catalogue(catalogue), m_writer(writer), m_paragraphs(writer)
    {
        m_base.name = font.name;
        m_base.size = font.size;
    }

    void print()
    {
        m_paragraphs.resetPageCounter();
        setFont(false);
        m_writer.setCurrentY(page::kTop);
        printTitle();
        printDetails();
        printCentredHeading(QStringLiteral("Instructions"));
        for (const QString& line : questionnaireInstructions())
            printDetailLine(line);
        printList(ids::kSupplementalHeading, ids::kSupplementalCount, false);
        printList(ids::kYesNoHeading, ids::kYesNoCount, false);
        // The scored sections go under a heading of their own: "Questionnaire" names the
        // whole form.
        printList(pointsSectionHeading(), ids::kQuestionnaireCount, true);
        m_paragraphs.breakPageIfPastBottom(ParagraphStyle::Plain);
        m_writer.setCurrentY(m_writer.currentY() + kHeadingGap);
        setFont(true);
        m_paragraphs.PrintText(m_catalogue.LoadResString(ids::kQuestionnaireReminder),
                               ParagraphStyle::Plain, 0);
        setFont(false);
        m_paragraphs.PrintPageFooter(true);
    }

private:
    void setFont(bool bold, double sizeIncrease = 0)
    {
        PrintFont font = m_base;
        font.bold = bold;
        font.size += sizeIncrease;
        m_writer.setFont(font);
    }

    double width() const { return m_writer.scaleWidth(); }

    void printCentred(const QString& text)
    {
        m_writer.setCurrentX((width() - m_writer.textWidth(text)) / 2);
        m_writer.print(text);
    }

    void printTitle()
    {
        setFont(true, 8);
        printCentred(m_catalogue.LoadResString(ids::kTitleReport));
        setFont(false);
        m_writer.setCurrentY(m_writer.currentY() + kHeadingGap);
    }

    void printDetailLine(const QString& line)
    {
        breakPage();
        const double top = m_writer.currentY();
        printWrapped(line, page::kLineStart);
        m_writer.setCurrentY(std::max(m_writer.currentY(), top + kDetailStep));
    }

    void printDetails()
    {
        for (const QString& line : questionnaireDetailLines())
            printDetailLine(line);
        // A second line for the medications, as long as the page is wide.
        const double room = width() - page::kLineStart;
        const double one = m_writer.textWidth(QStringLiteral("_"));
        printDetailLine(QString(one > 0 ? static_cast<int>(room / one) : 1, u'_'));
    }

    void printCentredHeading(const QString& heading)
    {
        m_writer.setCurrentY(m_writer.currentY() + kHeadingGap);
        // A heading is not left alone at the foot of a page.
        if (m_writer.currentY() + 3 * m_writer.textHeight() > page::kBottomLimit)
            m_paragraphs.continueOnNewPage(ParagraphStyle::Plain);
        setFont(true, 2);
        printCentred(heading);
        setFont(false);
        m_writer.setCurrentY(m_writer.currentY() + kHeadingGap);
    }

    void printList(int headingId, int countId, bool scored)
    {
        printList(m_catalogue.LoadResString(headingId), countId, scored);
    }

    void printList(const QString& heading, int countId, bool scored)
    {
        printCentredHeading(heading);
        const int count = m_catalogue.count(countId);
        for (int i = 1; i <= count; ++i)
            printItem(m_catalogue.LoadResString(countId + i), scored);
    }

    void printItem(const QString& item, bool scored)
    {
        const QuestionnaireItem kind = questionnaireItemKind(item);
        if (kind == QuestionnaireItem::Rule) {
            m_writer.setCurrentY(m_writer.currentY() + kRuleGap);
            m_writer.drawRule(page::kLineStart, width(), m_writer.currentY(), kRuleThickness);
            m_writer.setCurrentY(m_writer.currentY() + kRuleGap + kRuleThickness);
            return;
        }
        if (kind == QuestionnaireItem::Instruction &&
            m_writer.currentY() + 3 * m_writer.textHeight() > page::kBottomLimit) {
            // An instruction heads the items below it: not left alone at the foot of a page.
            m_paragraphs.continueOnNewPage(ParagraphStyle::Plain);
        }
        breakPage();
        switch (kind) {
        case QuestionnaireItem::Total:
            setFont(true);
            m_writer.setCurrentX(std::max(0.0, width() - m_writer.textWidth(item)));
            m_writer.print(item);
            setFont(false);
            break;
        case QuestionnaireItem::Instruction: {
            PrintFont font = m_base;
            font.bold = true;
            font.italic = true;
            m_writer.setFont(font);
            printWrapped(item.mid(1), page::kLineStart + 0.25);
            setFont(false);
            break;
        }
        case QuestionnaireItem::Plain:
            // The writing blank for the 1, 2 or 3 in front of a scored statement.
            printWrapped(scored ? kWritingBlank + item : item, page::kLineStart);
            break;
        case QuestionnaireItem::YesNo:
        case QuestionnaireItem::Rule:
            printWrapped(item, page::kLineStart);
            break;
        }
        m_writer.setCurrentY(m_writer.currentY() + kItemGap);
    }

    // One line, or more when it is wider than the page, continued indented. A line of blanks to
    // write on breaks between its fields (two blanks apart), and a field too long for the page
    // loses underscores rather than words; other text breaks between words.
    void printWrapped(QString text, double x)
    {
        const bool fields = text.contains(QStringLiteral("__"));
        double start = x;
        while (!text.isEmpty()) {
            breakPage();
            const double room = width() - start;
            qsizetype length =
                fittingLength(text, room, fields ? QStringLiteral("  ") : QStringLiteral(" "));
            if (length == 0 && fields) {
                qsizetype field = text.indexOf(QStringLiteral("  "));
                if (field < 0)
                    field = text.size();
                QString head = text.left(field);
                while (head.count(u'_') > 1 && m_writer.textWidth(head) > room)
                    head.remove(head.lastIndexOf(u'_'), 1);
                text = head + text.mid(field);
                length = fittingLength(text, room, QStringLiteral(" "));
            }
            if (length == 0) // one word wider than the page: printed as it is
                length = text.indexOf(u' ') > 0 ? text.indexOf(u' ') : text.size();
            m_writer.setCurrentX(start);
            m_writer.print(text.left(length));
            text = text.mid(length).trimmed();
            start = x + kWrapIndent;
        }
    }

    // How much of `text` fits in `room`, broken at a `gap`; 0 when not even the first part does.
    qsizetype fittingLength(const QString& text, double room, const QString& gap) const
    {
        if (m_writer.textWidth(text) <= room)
            return text.size();
        for (qsizetype at = text.lastIndexOf(gap); at > 0; at = text.lastIndexOf(gap, at - 1))
            if (m_writer.textWidth(text.left(at)) <= room)
                return at;
        return 0;
    }

    void breakPage() { m_paragraphs.breakPageIfPastBottom(ParagraphStyle::Plain); }

    const Catalogue& m_catalogue;
    PageWriter& m_writer;
    ParagraphPrinter m_paragraphs;
    PrintFont m_base;
};

} // namespace

UserPrompts::FontChoice questionnaireFont(const SettingsStore& settings)
{
    UserPrompts::FontChoice font{settings.get(keys::formatQName()).trimmed(),
                                 leadingInteger(settings.get(keys::formatQSize()))};
    if (font.name.isEmpty())
        font.name = keys::formatQName().defaultValue;
    if (font.size <= 0 || font.size > 72)
        font.size = leadingInteger(keys::formatQSize().defaultValue);
    return font;
}

void saveQuestionnaireFont(SettingsStore& settings, const UserPrompts::FontChoice& font)
{
    settings.save(keys::formatQName(), font.name);
    settings.save(keys::formatQSize(), QString::number(font.size));
}

UserPrompts::FontChoice installedFont(const UserPrompts::FontChoice& font)
{
    QFont wanted(font.name);
    wanted.setPointSize(font.size > 0 ? font.size : 8);
    return {QFontInfo(wanted).family(), font.size};
}

void printQuestionnaire(const Catalogue& catalogue, const UserPrompts::FontChoice& font,
                        PageWriter& writer)
{
    QuestionnaireLayout(catalogue, font, writer).print();
}

Result<int> writeQuestionnairePdf(const QString& path, const Catalogue& catalogue,
                                  const UserPrompts::FontChoice& font)
{
    if (Status allowed = checkOutputPath(path); !allowed)
        return fail(allowed.error());
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    int pages = 0;
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(600);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                      QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch));
        pdf.setTitle(catalogue.LoadResString(ids::kQuestionnaireTitle));
        pdf.setCreator(QStringLiteral("Halcyra"));
        PainterPageWriter writer(pdf);
        printQuestionnaire(catalogue, font, writer);
        pages = writer.pagesBegun();
        writer.endDoc();
        if (writer.deviceFailed())
            return fail(QStringLiteral("the PDF could not be started"));
    }
    if (Status saved = writeFileWhole(path, buffer.data()); !saved)
        return fail(saved.error());
    return pages;
}

} // namespace halcyra
