#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace halcyra {

// The text form of a message sent straight to a mail server: header values, names, dates and
// the parts of its body, as the mail format wants them.

bool isPrintableAscii(const QString& text);
// Control characters become blanks.
QString withoutControls(const QString& text);

// A header value: line breaks and other control characters become blanks (so a subject can
// never start a header of its own), text beyond ASCII goes as UTF-8 encoded words, and plain
// text is folded. `used` is what the line holds before the value.
QByteArray headerText(const QString& text, qsizetype used = 0);

// The name before an address, followed by a blank; quoted, so that a comma in "Reyes, Dana"
// does not read as a second address. Empty for no name.
QByteArray displayName(const QString& name);

// The body with CR LF line ends throughout, as the mail format wants them.
QByteArray crlfText(QString text);

// The mail format's date: English names whatever the adviser's language, the zone as +hhmm.
QByteArray dateHeader(const QDateTime& when);

// The header lines of a message: Date, From, To, Subject and Message-ID. `from` and `to` are
// addresses in angle brackets as the server gets them; `messageId` goes inside its own.
QList<QByteArray> messageHeaders(const QDateTime& date, const QString& senderName,
                                 const QByteArray& from, const QByteArray& to,
                                 const QString& subject, const QByteArray& messageId);

// By the name, except that a ".doc" holding Rich Text (the questionnaire) says so: a mail
// program would otherwise hand it to a Word reader that refuses it.
QByteArray contentTypeFor(const QString& path);

// How an attachment's file name goes into its part: a plain name that can stand in quotes, or,
// for any other name, a whole Content-Disposition line with the name as a UTF-8 parameter.
struct AttachmentNaming
{
    QByteArray plainName;       // empty when the line is needed
    QByteArray dispositionLine; // empty when the plain name does
};
AttachmentNaming attachmentNaming(const QString& fileName);

} // namespace halcyra
