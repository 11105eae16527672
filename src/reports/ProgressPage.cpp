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
    m_paragraphs.setSectionHeading(progressTitle(progress),
                                   [this] { printProgressColumnHeading(); });
    printProgressColumnHeading();
    for (const SectionProgress& section : progress.sections) {
        m_paragraphs.breakPageIfPastBottom(ParagraphStyle::Plain);
        m_writer.setCurrentX(column(kNameColumn));
        m_writer.print(section.name, false);
        printAlignedRight(column(kEarlierEnd), number(section.earlier));
        printAlignedRight(column(kNowEnd), number(section.current));
        printAlignedRight(column(kChangeEnd), changeText(section.change()));
        printAt(column(kNoteColumn), markChangeNote(section.earlierMark, section.currentMark));
    }
    m_paragraphs.setSectionHeading({});
    m_writer.newPage();
}

void PrintedReport::printProgressColumnHeading()
{
    m_writer.setFontUnderline(true);
    m_writer.setCurrentX(column(kNameColumn));
    m_writer.print(QStringLiteral("Section"), false);
    printAlignedRight(column(kEarlierEnd), QStringLiteral("Earlier"));
    printAlignedRight(column(kNowEnd), QStringLiteral("Now"));
    printAlignedRight(column(kChangeEnd), QStringLiteral("Change"));
    printAt(column(kNoteColumn), QStringLiteral("Marks"));
    m_writer.setFontUnderline(false);
}

} // namespace halcyra
