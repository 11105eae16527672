#include "ui/SupportCommands.h"

#include "core/ErrorReporter.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"

#include <QDir>
#include <QFileInfo>

namespace halcyra {
namespace {

EmailSetupValues errorLogMail(const SupportContext& context)
{
    EmailSetupValues values;
    values.toAddress = context.supportAddress;
    values.subject = QStringLiteral("HCY Errors");
    values.body = QStringLiteral("Error info attached.");
    values.attachment = context.programFolder + ErrorReporter::logFileName();
    // Not the questionnaire mode: aborting the mail must leave the log where it is.
    values.mode.clear();
    return values;
}

} // namespace

const std::array<SupportWord, 5>& supportWords()
{
    static const std::array<SupportWord, 5> words = {{
        {SupportCommand::MailErrorLog, QLatin1StringView("sendlogs")},
        {SupportCommand::StartConverter, QLatin1StringView("convert")},
        {SupportCommand::ResetDatabasePath, QLatin1StringView("dbpath")},
        {SupportCommand::ClearNewP, QLatin1StringView("clearnp")},
        {SupportCommand::ClearReaderPath, QLatin1StringView("rpath")},
    }};
    return words;
}

SupportCommand supportCommandFor(const QString& typed)
{
    const QString word = typed.trimmed();
    for (const SupportWord& entry : supportWords())
        if (word.compare(entry.word, Qt::CaseInsensitive) == 0)
            return entry.command;
    return SupportCommand::None;
}

QString converterPath(const QString& programFolder)
{
#ifdef Q_OS_WIN
    return programFolder + QStringLiteral("614Convert.exe");
#else
    return programFolder + QStringLiteral("614Convert");
#endif
}

Result<SupportOutcome> runSupportCommand(const QString& typed, const SupportContext& context)
{
    SupportOutcome outcome;
    outcome.command = supportCommandFor(typed);
    switch (outcome.command) {
    case SupportCommand::None:
        break;
    case SupportCommand::MailErrorLog:
        outcome.email = errorLogMail(context);
        break;
    case SupportCommand::StartConverter: {
        const QString program = converterPath(context.programFolder);
        const QFileInfo info(program);
        if (!info.isFile() || !info.isExecutable())
            return fail(QStringLiteral("The conversion program %1 is not there, so it was not "
                                       "started. Halcyra stays open.")
                            .arg(QDir::toNativeSeparators(program)));
        outcome.programToStart = program;
        break;
    }
    case SupportCommand::ResetDatabasePath: {
        context.settings.save(keys::databasePath(), QString());
        const QString readBack = context.settings.get(keys::databasePath());
        context.reporter.ReportError(
            QStringLiteral("0"),
            QStringLiteral("Host directory: %1; stored database path: \"%2\"")
                .arg(QDir::toNativeSeparators(context.programFolder),
                     QDir::toNativeSeparators(readBack)),
            context.reporter.CurrentProcedureLabel(), ErrorReporter::kStyleOk, {}, 0, false);
        break;
    }
    case SupportCommand::ClearNewP: {
        const SettingKey key = keys::newP();
        context.settings.remove(key.application, key.section, key.key);
        break;
    }
    case SupportCommand::ClearReaderPath: {
        const SettingKey key = keys::readerPath();
        context.settings.remove(key.application, key.section, key.key);
        break;
    }
    }
    return outcome;
}

} // namespace halcyra
