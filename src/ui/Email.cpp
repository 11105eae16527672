#include "ui/Email.h"

#include "core/OutputFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace halcyra {
namespace {

// Each name part is cut to this many UTF-8 bytes, so the whole name stays well inside the
// 255 bytes most file systems allow for one name.
constexpr qsizetype kMaxNamePartBytes = 100;

bool refusedInFileName(QChar c)
{
    switch (c.unicode()) {
    case u'/':
    case u'\\':
    case u':':
    case u'*':
    case u'?':
    case u'"':
    case u'<':
    case u'>':
    case u'|':
        return true;
    default:
        break;
    }
    // Control characters, and format characters such as a right-to-left override that would
    // make the name read differently from what it is.
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Other_Format;
}

QString cutToUtf8Bytes(const QString& text, qsizetype maxBytes)
{
    qsizetype bytes = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const bool pair = text.at(end).isHighSurrogate() && end + 1 < text.size() &&
                          text.at(end + 1).isLowSurrogate();
        const qsizetype width = pair ? 2 : 1;
        const qsizetype size = text.mid(end, width).toUtf8().size();
        if (bytes + size > maxBytes)
            break;
        bytes += size;
        end += width;
    }
    return text.left(end);
}

} // namespace

QString questionnaireTemplateName()
{
    return QStringLiteral("HCYQ.doc");
}

QString sentQuestionnaireFolderName()
{
    return QStringLiteral("Sent Qs");
}

QString safeFileNamePart(const QString& text)
{
    QString safe;
    safe.reserve(text.size());
    for (QChar c : text)
        safe += refusedInFileName(c) ? u'_' : c;
    safe = safe.simplified();
    // A part that starts with dots would make a hidden file; dots and blanks at the end are
    // dropped by some file systems, which would merge two clients' copies.
    while (safe.startsWith(u'.'))
        safe.remove(0, 1);
    safe = cutToUtf8Bytes(safe, kMaxNamePartBytes);
    while (safe.endsWith(u'.') || safe.endsWith(u' '))
        safe.chop(1);
    return safe;
}

QString sentQuestionnaireName(const QString& field1, const QString& field2, const QDate& date)
{
    return QStringLiteral("HCYQ ") + safeFileNamePart(field1) + QStringLiteral(", ") +
           safeFileNamePart(field2) + u' ' + date.toString(QStringLiteral("yyyy-MM-dd")) +
           QStringLiteral(".doc");
}

Status MakeDirectory(const QString& path, const QString& folder, const QString& pattern)
{
    Q_UNUSED(pattern);
    const QString target = QDir(path).filePath(folder);
    if (QFileInfo(target).isDir())
        return {};
    if (const Status made = makeOwnerOnlyFolder(target); !made)
        return made;
    if (!QFileInfo(target).isDir())
        return fail(QStringLiteral("The folder %1 could not be created.")
                        .arg(QDir::toNativeSeparators(target)));
    return {};
}

Status CopyFile(const QString& source, const QString& destination)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("%1 could not be read: %2")
                        .arg(QDir::toNativeSeparators(source), in.errorString()));
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return fail(QStringLiteral("%1 could not be read: %2")
                        .arg(QDir::toNativeSeparators(source), in.errorString()));
    in.close();
    if (const Status path = checkOutputPath(destination); !path)
        return path;
    const Status written = writeFileWhole(destination, bytes);
    QCoreApplication::processEvents();
    if (!written)
        return written;
    // A copy of the same day made by an older version may have a wider mode; this one is not.
    if (!QFile::setPermissions(destination, kOwnerOnlyFile))
        return fail(QStringLiteral("%1 could not be made private to you.")
                        .arg(QDir::toNativeSeparators(destination)));
    return {};
}

Result<QString> makeQuestionnaireCopy(const QString& folder, const QString& field1,
                                      const QString& field2, const QDate& date)
{
    const QString source = QDir(folder).filePath(questionnaireTemplateName());
    if (!QFileInfo(source).isFile())
        return fail(QStringLiteral("The questionnaire %1 is missing, so no copy can be sent.")
                        .arg(QDir::toNativeSeparators(source)));
    if (const Status made =
            MakeDirectory(folder, sentQuestionnaireFolderName(), QStringLiteral("*.doc"));
        !made)
        return Failure{made.error()};
    const QString destination = QDir(QDir(folder).filePath(sentQuestionnaireFolderName()))
                                    .filePath(sentQuestionnaireName(field1, field2, date));
    if (const Status copied = CopyFile(source, destination); !copied)
        return Failure{copied.error()};
    return destination;
}

EmailSetupValues SetupEmail(const CompanyInfo& company, const QString& attachment)
{
    EmailSetupValues values;
    values.toAddress = QStringLiteral("Enter the Client's Email address here");
    values.body = QStringLiteral("Enter message to Client here.\r\n\r\nExample:\r\n"
                                 "Attached is the questionnaire I said I would send you.  "
                                 "Please open it, fill in the blanks, and SAVE it.  Attach the "
                                 "saved file to an email back to me.\r\n\r\nThanks, ") +
                  company[company::kFirstName] + u' ' + company[company::kLastName];
    values.subject = QStringLiteral("HCY Questionnaire");
    values.attachment = attachment;
    values.mode = QStringLiteral("2");
    return values;
}

bool sendEnabledFor(const QString& address)
{
    const QString trimmed = address.trimmed();
    return trimmed.size() >= 6 && trimmed.contains(u'@') && trimmed.contains(u'.');
}

QString sendCheckMessage(const EmailSetupValues& values)
{
    if (values.toAddress.trimmed().isEmpty())
        return QStringLiteral("Please enter an e-mail address for the Recipient");
    if (values.subject.isEmpty())
        return QStringLiteral("Please enter a Subject.");
    if (values.body.trimmed().isEmpty())
        return QStringLiteral("Please enter Message Text.");
    const QString attachment = values.attachment.trimmed();
    if (!attachment.isEmpty() && !QFileInfo(attachment).isFile())
        return QStringLiteral("The file you are trying to attach (") + attachment +
               QStringLiteral(") can't be found.");
    return {};
}

Status finishEmail(const EmailSetupValues& opened, EmailOutcome outcome)
{
    if (outcome != EmailOutcome::Aborted || opened.mode != u"2")
        return {};
    const QString copy = opened.attachment;
    if (copy.isEmpty() || !QFileInfo::exists(copy))
        return {};
    if (!QFile::remove(copy))
        return fail(QStringLiteral("The questionnaire copy %1 could not be deleted.")
                        .arg(QDir::toNativeSeparators(copy)));
    return {};
}

EmailSetupValues trimmedForSending(const EmailSetupValues& values)
{
    EmailSetupValues trimmed = values;
    trimmed.toAddress = values.toAddress.trimmed();
    trimmed.body = values.body.trimmed();
    trimmed.attachment = values.attachment.trimmed();
    return trimmed;
}

} // namespace halcyra
