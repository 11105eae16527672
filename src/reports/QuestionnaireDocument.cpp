#include "reports/QuestionnaireDocument.h"

#include "core/Catalogue.h"
#include "core/CatalogueIds.h"
#include "reports/QuestionnairePrintout.h"

namespace halcyra {
namespace {

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
        // Letter paper, half-inch margins; Times New Roman 11 pt.
        m_out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
                "{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}}\n"
                "{\\info{\\title " +
                rtfText(m_catalogue.LoadResString(ids::kQuestionnaireTitle)) +
                "}}\n\\paperw12240\\paperh15840\\margl720\\margr720\\margt720\\margb720"
                "\\f0\\fs22\n";
        paragraph("\\qc\\sa240\\b\\fs36 ", m_catalogue.LoadResString(ids::kTitleReport));
        for (const QString& line : questionnaireDetailLines())
            paragraph("\\sa200\\fs18 ", line);
        paragraph("\\sa200\\fs18 ", QString(96, u'_'));
        heading(QStringLiteral("Instructions"));
        for (const QString& line : questionnaireInstructions())
            paragraph("\\sa120\\fs20 ", line);
        list(m_catalogue.LoadResString(ids::kSupplementalHeading), ids::kSupplementalCount, false);
        list(m_catalogue.LoadResString(ids::kYesNoHeading), ids::kYesNoCount, false);
        list(pointsSectionHeading(), ids::kQuestionnaireCount, true);
        paragraph("\\sb240\\b ", m_catalogue.LoadResString(ids::kQuestionnaireReminder));
        m_out += "}\n";
        return m_out;
    }

private:
    void paragraph(const char* format, const QString& text)
    {
        m_out += "\\pard\\plain\\f0\\fs22";
        m_out += format;
        m_out += rtfText(text);
        m_out += "\\par\n";
    }

    void heading(const QString& text) { paragraph("\\keepn\\qc\\sb240\\sa120\\b\\fs26 ", text); }

    void list(const QString& title, int countId, bool scored)
    {
        heading(title);
        const int count = m_catalogue.count(countId);
        for (int i = 1; i <= count; ++i) {
            const QString item = m_catalogue.LoadResString(countId + i);
            switch (questionnaireItemKind(item)) {
            case QuestionnaireItem::Total:
                paragraph("\\qr\\sa60\\b ", item);
                break;
            case QuestionnaireItem::Rule:
                // An empty paragraph with a rule under it.
                paragraph("\\sa120\\fs8\\brdrb\\brdrs\\brdrw10\\brsp20 ", QString());
                break;
            case QuestionnaireItem::Instruction:
                paragraph("\\keepn\\li360\\sb60\\sa60\\b\\i ", item.mid(1));
                break;
            case QuestionnaireItem::YesNo:
                paragraph("\\sa40 ", item);
                break;
            case QuestionnaireItem::Plain:
                paragraph("\\sa40 ", scored ? QStringLiteral("____  ") + item : item);
                break;
            }
        }
    }

    const Catalogue& m_catalogue;
    QByteArray m_out;
};

} // namespace

QByteArray questionnaireRtf(const Catalogue& catalogue)
{
    return RtfWriter(catalogue).document();
}

} // namespace halcyra
