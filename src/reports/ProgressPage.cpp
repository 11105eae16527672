// The "Progress since DATE" page of the printed report, after the Summary.

#include "reports/PageWriter.h"
#include "reports/PrintedReport.h"

namespace halcyra {
namespace {

constexpr double kNameColumn = 0.5;
constexpr double kEarlierEnd = 4.0;
constexpr double kNowEnd = 4.6;
constexpr double kChangeEnd = 5.3;
constexpr double kNoteColumn = 5.5;

QString number(double value)
{
    return QString::number(value, 'g', 12);
}

} // namespace

void PrintedReport::printProgress()
{
    const Progress& progress = *m_inputs.progress;
    startSection();
    setFont(arial(), 16, true);
    m_writer.setCurrentY(page::kTop);
    printCentred(progressTitle(progress));
    setFont(arial(), 10);
    addSpacing();
    PrintClient();
    addSpacing();
    setFont(arial(), 10, false, true);
    m_paragraphs.PrintText(
        QStringLiteral("Your section scores of %1 beside those of %2. A lower score means fewer "
                       "signs in that section; the marks are those of your Summary.")
            .arg(progress.currentDate, progress.earlierDate),
        ParagraphStyle::Plain, page::kParagraphIndent);

    setFont(arial(), 9);
    addSpacing();
    m_writer.setFontUnderline(true);
    m_writer.setCurrentX(kNameColumn);
    m_writer.Print(QStringLiteral("Section"), false);
    printAlignedRight(kEarlierEnd, QStringLiteral("Earlier"));
    printAlignedRight(kNowEnd, QStringLiteral("Now"));
    printAlignedRight(kChangeEnd, QStringLiteral("Change"));
    printAt(kNoteColumn, QStringLiteral("Marks"));
    m_writer.setFontUnderline(false);
    for (const SectionProgress& section : progress.sections) {
        m_paragraphs.breakPageIfPastBottom(ParagraphStyle::Plain);
        m_writer.setCurrentX(kNameColumn);
        m_writer.Print(section.name, false);
        printAlignedRight(kEarlierEnd, number(section.earlier));
        printAlignedRight(kNowEnd, number(section.current));
        printAlignedRight(kChangeEnd, changeText(section.change()));
        printAt(kNoteColumn, markChangeNote(section.earlierMark, section.currentMark));
    }
    m_writer.NewPage();
}

} // namespace halcyra
