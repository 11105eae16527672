#include "reports/QuestionnaireDocument.h"

#include "core/Catalogue.h"
#include "core/CatalogueIds.h"
#include "reports/QuestionnairePrintout.h"

#include <QRegularExpression>

namespace halcyra {
namespace {

// A section-total line as the client sees it: only its blanks ("(3)______"). The notes beside
// them ("(4) = 1+2+3 (auto entry)") tell the adviser how the program works the other totals
// out; the first instruction of the list already asks the client to leave the totals blank.
QString clientTotalLine(const QString& item)
{
    static const QRegularExpression blank(QStringLiteral("\\([^()=]+\\)_+"));
    QStringList blanks;
    for (const QRegularExpressionMatch& match : blank.globalMatch(item))
        blanks << match.captured();
    return blanks.isEmpty() ? item : blanks.join(QStringLiteral("   "));
}

// "you 1)followed ..., 2)answered": a blank after each numbered point, as in the instructions.
QString spacedNumbering(const QString& text)
{
    static const QRegularExpression point(QStringLiteral("(\\b\\d\\))(?=\\S)"));
    return QString(text).replace(point, QStringLiteral("\\1 "));
}

// Text as RTF: the control characters escaped, anything beyond ASCII as a Unicode escape
// with "?" for readers that do not know it.
QByteArray rtfText(const QString& text)
{
    QByteArray out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += static_cast<char>(u);
        } else if (u == u'\t') {
            out += "\\tab ";
        } else if (u >= 0x20 && u < 0x80) {
            out += static_cast<char>(u);
        } else if (u >= 0x80) {
            out += "\\u" + QByteArray::number(static_cast<qint16>(u)) + '?';
        }
    }
    return out;
}

class RtfWriter
{
public:
    explicit RtfWriter(const Catalogue& catalogue) : m_catalogue(catalogue) {}

    QByteArray document()
    {
        // Letter paper, half-inch margins; Times New Roman 11 pt; widows and orphans kept off.
        const QString title = m_catalogue.LoadResString(ids::kTitleReport) + u' ' +
                              m_catalogue.LoadResString(ids::kQuestionnaireTitle);
        m_out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
                "{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}}\n"
                "{\\info{\\title " +
                rtfText(title) +
                "}}\n\\paperw12240\\paperh15840\\margl720\\margr720\\margt720\\margb720"
                "\\widowctrl\\f0\\fs22\n";
        paragraph("\\qc\\sa240\\b\\fs36 ", title);
        for (const QString& line : questionnaireDetailLines())
            paragraph("\\sa200\\fs18 ", line);
        paragraph("\\sa200\\fs18 ", QString(96, u'_'));
        heading(QStringLiteral("Instructions"));
        for (const QString& line : questionnaireInstructions())
            paragraph("\\sa120\\fs20 ", line);
        list(m_catalogue.LoadResString(ids::kSupplementalHeading), ids::kSupplementalCount, false);
        list(m_catalogue.LoadResString(ids::kYesNoHeading), ids::kYesNoCount, false);
        list(pointsSectionHeading(), ids::kQuestionnaireCount, true);
        paragraph("\\sb240\\b ",
                  spacedNumbering(m_catalogue.LoadResString(ids::kQuestionnaireReminder)));
        m_out += "}\n";
        return m_out;
    }

private:
    void paragraph(const QByteArray& format, const QString& text)
    {
        m_out += "\\pard\\plain\\widctlpar\\f0\\fs22";
        m_out += format;
        m_out += rtfText(text);
        m_out += "\\par\n";
    }

    void heading(const QString& text) { paragraph("\\keepn\\qc\\sb240\\sa120\\b\\fs26 ", text); }

    void list(const QString& title, int countId, bool scored)
    {
        heading(title);
        const int count = m_catalogue.count(countId);
        QStringList items;
        for (int i = 1; i <= count; ++i)
            items << m_catalogue.LoadResString(countId + i);
        for (qsizetype i = 0; i < items.size(); ++i) {
            const QString& item = items[i];
            // The last statements of a section go to the next page with its total line, so
            // a total never stands alone at the top of a page.
            const bool beforeTotal = totalWithin(items, i + 1, kStatementsKeptWithTotal);
            const char* keep = beforeTotal ? "\\keepn" : "";
            switch (questionnaireItemKind(item)) {
            case QuestionnaireItem::Total:
                paragraph("\\qr\\sa60\\b ", clientTotalLine(item));
                break;
            case QuestionnaireItem::Rule:
                // An empty paragraph with a rule under it.
                paragraph("\\sa120\\fs8\\brdrb\\brdrs\\brdrw10\\brsp20 ", QString());
                break;
            case QuestionnaireItem::Instruction:
                paragraph("\\keepn\\li360\\sb60\\sa60\\b\\i ", item.mid(1));
                break;
            case QuestionnaireItem::YesNo:
                paragraph(QByteArray(keep) + "\\sa40 ", item);
                break;
            case QuestionnaireItem::Plain:
                paragraph(QByteArray(keep) + "\\sa40 ",
                          scored ? QStringLiteral("____  ") + item : item);
                break;
            }
        }
    }

    // Whether one of the `span` items from `from` on is a section total.
    static bool totalWithin(const QStringList& items, qsizetype from, qsizetype span)
    {
        for (qsizetype i = from; i < std::min(items.size(), from + span); ++i)
            if (questionnaireItemKind(items[i]) == QuestionnaireItem::Total)
                return true;
        return false;
    }

    static constexpr qsizetype kStatementsKeptWithTotal = 2;

    const Catalogue& m_catalogue;
    QByteArray m_out;
};

} // namespace

QByteArray questionnaireRtf(const Catalogue& catalogue)
{
    return RtfWriter(catalogue).document();
}

} // namespace halcyra
