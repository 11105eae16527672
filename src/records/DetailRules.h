#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace halcyra {

// The caption of the label beside client-detail box txtFields(index), index 0..18.
QString detailLabel(int index);

// The most characters the client record keeps of a detail (0: no limit).
int detailMaxLength(int index);

// The length a detail is held to when its box is left (0: none): the shorter of the record's
// maximum and the box's own check. Nothing is cut while typing, so nothing is lost unseen.
int detailLengthLimit(int index);

// The status bar line while a detail box has the focus.
QString detailHelpText(int index);

// What typing does to a box's text at once: the sex shows in capitals ("m" becomes "M").
QString detailTextAsTyped(int index, const QString& typed);

// A message for the message window; its title is also the key that switches it off.
struct DetailMessage
{
    QString title;
    QString text;
};

// What leaving a detail box does, in order: the sex, age, number and date checks, the length
// limit, upper case, today's date, zeros. A date is checked, never rewritten: one the program
// reads in any of its forms stays as it was typed or stored.
struct DetailLeaveResult
{
    QString text;          // the box's text afterwards
    bool rejected = false; // refused: the text stays, the focus goes back and it is selected
    std::optional<DetailMessage> message;
};
DetailLeaveResult leaveDetailBox(int index, const QString& text, const QDate& today);
// The "Empty Field" message for a sex that is neither "M" nor "F".
QString sexRejectedMessage();

// The question before deleting a client.
QString deleteQuestion(const QString& firstName, const QString& lastName);

// The text a date box receives: today's date in the program's one form ("12/8/2026").
QString todayText(const QDate& today);

} // namespace halcyra
