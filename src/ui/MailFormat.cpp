#include "ui/MailFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>

namespace halcyra {
namespace {

// An encoded word may be 75 characters long; 45 bytes make 60 of base64 plus the framing.
constexpr qsizetype kEncodedWordBytes = 45;
// Header lines are kept within 78 characters where blanks allow; no line may pass 998.
constexpr qsizetype kFoldAt = 78;
constexpr qsizetype kLongestLine = 998;

bool isEncodedWords(const QString& text)
{
    return text.startsWith(QStringLiteral("=?")) && text.endsWith(QStringLiteral("?="));
}

// Plain ASCII folded at blanks, so a long subject does not become a line the server refuses.
// `used` is what the line already holds before the value ("Subject: ").
QByteArray foldedAscii(const QString& text, qsizetype used)
{
    QByteArray folded;
    qsizetype line = used;
    const QStringList words = text.split(u' ');
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QByteArray word = words[i].toLatin1();
        if (i > 0) {
            if (line + 1 + word.size() > kFoldAt && line > used) {
                folded += "\r\n";
                line = 0;
            }
            folded += ' ';
            ++line;
        }
        folded += word;
        line += word.size();
    }
    return folded;
}

QByteArray encodedWords(const QString& text)
{
    QList<QByteArray> words;
    QByteArray chunk;
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype width = 1;
        if (text.at(i).isHighSurrogate() && i + 1 < text.size())
            width = 2;
        const QByteArray character = text.mid(i, width).toUtf8();
        i += width - 1;
        if (chunk.size() + character.size() > kEncodedWordBytes) {
            words << chunk;
            chunk.clear();
        }
        chunk += character;
    }
    if (!chunk.isEmpty())
        words << chunk;
    QByteArray encoded;
    for (const QByteArray& word : words) {
        if (!encoded.isEmpty())
            encoded += "\r\n ";
        encoded += "=?UTF-8?B?" + word.toBase64() + "?=";
    }
    return encoded;
}

bool hasLongWord(const QString& text, qsizetype longest)
{
    for (const QString& word : text.split(u' '))
        if (word.size() > longest)
            return true;
    return false;
}

} // namespace

bool isPrintableAscii(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    return true;
}

QString withoutControls(const QString& text)
{
    QString clean;
    clean.reserve(text.size());
    for (QChar c : text)
        clean += c.category() == QChar::Other_Control ? u' ' : c;
    return clean;
}

QByteArray headerText(const QString& text, qsizetype used)
{
    const QString clean = withoutControls(text);
    if (isPrintableAscii(clean) && !hasLongWord(clean, kLongestLine - used - 2))
        return foldedAscii(clean, used);
    return encodedWords(clean);
}

QByteArray displayName(const QString& name)
{
    const QString trimmed = withoutControls(name).trimmed();
    if (trimmed.isEmpty())
        return {};
    if (!isPrintableAscii(trimmed))
        return encodedWords(trimmed) + ' ';
    // A name already written as encoded words stays as it is: quoted, it would not be decoded.
    if (isEncodedWords(trimmed) && !trimmed.contains(u'"') && !trimmed.contains(u' '))
        return trimmed.toLatin1() + ' ';
    QByteArray quoted = trimmed.toLatin1();
    quoted.replace('\\', "\\\\").replace('"', "\\\"");
    return '"' + quoted + "\" ";
}

QByteArray crlfText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text.toUtf8();
}

QByteArray dateHeader(const QDateTime& when)
{
    static const char* const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDate date = when.date();
    const QTime time = when.time();
    const int offset = when.offsetFromUtc() / 60;
    const int absolute = offset < 0 ? -offset : offset;
    return QByteArray(days[date.dayOfWeek() - 1]) + ", " +
           QByteArray::number(date.day()).rightJustified(2, '0') + ' ' + months[date.month() - 1] +
           ' ' + QByteArray::number(date.year()).rightJustified(4, '0') + ' ' +
           QByteArray::number(time.hour()).rightJustified(2, '0') + ':' +
           QByteArray::number(time.minute()).rightJustified(2, '0') + ':' +
           QByteArray::number(time.second()).rightJustified(2, '0') + ' ' +
           (offset < 0 ? '-' : '+') + QByteArray::number(absolute / 60).rightJustified(2, '0') +
           QByteArray::number(absolute % 60).rightJustified(2, '0');
}

QByteArray contentTypeFor(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"doc") {
        QFile file(path);
        const bool rtf = file.open(QIODevice::ReadOnly) && file.read(5) == "{\\rtf";
        return rtf ? "application/rtf" : "application/msword";
    }
    if (suffix == u"pdf")
        return "application/pdf";
    if (suffix == u"txt" || suffix == u"log")
        return "text/plain";
    return "application/octet-stream";
}

QList<QByteArray> messageHeaders(const QDateTime& date, const QString& senderName,
                                 const QByteArray& from, const QByteArray& to,
                                 const QString& subject, const QByteArray& messageId)
{
    return {"Date: " + dateHeader(date), "From: " + displayName(senderName) + from, "To: " + to,
            "Subject: " + headerText(subject, qsizetype(sizeof "Subject: ") - 1),
            "Message-ID: <" + messageId + '>'};
}

AttachmentNaming attachmentNaming(const QString& fileName)
{
    const QString plainName = withoutControls(fileName);
    if (isPrintableAscii(plainName) && !plainName.contains(u'"') && !plainName.contains(u'\\'))
        return {plainName.toLatin1(), {}};
    // Encoded words are not allowed inside the quotes a plain name is put in.
    return {{},
            "Content-Disposition: attachment; filename*=UTF-8''" +
                QUrl::toPercentEncoding(plainName, {}, "'*")};
}

} // namespace halcyra
