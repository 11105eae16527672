#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace halcyra {

// The caption of the label beside client-detail box txtFields(index), index 0..18.
QString detailLabel(int index);

// The most characters a detail box accepts while typing (0: no limit).
int detailMaxLength(int index);

// The length a detail box is cut to when it is left (0: no such check).
int detailLengthLimit(int index);

// The status bar line while a detail box has the focus.
QString detailHelpText(int index);

// What leaving a detail box does, in order: the sex check, the length limit, upper case,
// today's date, zeros.
struct DetailLeaveResult
{
    QString text;             // the box's text afterwards
    bool sexRejected = false; // "Empty Field": the focus goes back and the text is selected
    std::optional<QString> lengthMessage; // "Field Length Error" text when the text was cut
};
DetailLeaveResult leaveDetailBox(int index, const QString& text, const QDate& today);
// The "Empty Field" message for a sex that is neither "M" nor "F".
QString sexRejectedMessage();

// The question before deleting a client.
QString deleteQuestion(const QString& firstName, const QString& lastName);

// The text a date box receives: today's date in the system's short format.
QString todayText(const QDate& today);

} // namespace halcyra
