#pragma once

#include "core/Settings.h"
#include "core/Version.h"

// Every settings key the program reads or writes, with its default, in one place.

namespace halcyra::keys {

inline SettingKey databasePath()
{
    return {AppExeName(), QStringLiteral("Database"), QStringLiteral("DBPath"), {}};
}
// Where the backup utility finds the database; written before a backup.
inline SettingKey hcyLocation()
{
    return {AppExeName(), QStringLiteral("Database"), QStringLiteral("HCY Location"), {}};
}
inline SettingKey tutorial()
{
    return {AppExeName(), QStringLiteral("Options"), QStringLiteral("Tutorial"),
            QStringLiteral("1")};
}
inline SettingKey showTipsAtStartup()
{
    return {AppTitle(), QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"),
            QStringLiteral("1")};
}
inline SettingKey fieldHelpHidden()
{
    return {AppExeName(), QStringLiteral("Options"), QStringLiteral("F1 Help"),
            QStringLiteral("False")};
}
// How product flyers are opened: 0 search for the reader, 1 the desktop's file viewer, 2 the
// reader program stored under readerPath().
inline SettingKey flyersOption()
{
    return {AppExeName(), QStringLiteral("Options"), QStringLiteral("Flyers Option"),
            QStringLiteral("0")};
}
inline SettingKey readerPath()
{
    return {AppExeName(), QStringLiteral("CallPrograms"), QStringLiteral("Acrobat Reader"),
            QStringLiteral("Type Path here")};
}
// Cleared by a support command of the About box.
inline SettingKey newP()
{
    return {AppExeName(), QStringLiteral("Settings"), QStringLiteral("newP"), {}};
}
inline SettingKey webAddress()
{
    return {AppTitle(), QStringLiteral("Options"), QStringLiteral("Web"), {}};
}

// The do-not-show flag of a message window title: "1" hides the message.
inline SettingKey doNotShow(const QString& title)
{
    return {AppExeName(), QStringLiteral("Options"), title, QStringLiteral("0")};
}

// Report documents chosen for printing and viewing: n = 1..5 cover page and introduction,
// Summary, Analysis, Supplement Guide, References; "1" chosen.
inline SettingKey reportDocument(int n)
{
    return {AppExeName(), QStringLiteral("Options"), QStringLiteral("Check1(%1)").arg(n),
            QStringLiteral("1")};
}
// Daily intake sheets chosen: n = 1..5 the four phases and the selection guidelines.
inline SettingKey dailySheet(int n)
{
    return {AppExeName(), QStringLiteral("Options"), QStringLiteral("Check2(%1)").arg(n),
            QStringLiteral("1")};
}
// What the report page headers show of the adviser: "Company Name Only", "First and Last Name
// Only" or "Both"; fax number and e-mail address as numbers, 1 meaning include.
inline SettingKey includeInPageHeader()
{
    return {AppExeName(), QStringLiteral("Options"), QStringLiteral("Include in Page Header"),
            QStringLiteral("Both")};
}
inline SettingKey includeFax()
{
    return {AppExeName(), QStringLiteral("Options"), QStringLiteral("Include Fax"),
            QStringLiteral("1")};
}
inline SettingKey includeEmail()
{
    return {AppExeName(), QStringLiteral("Options"), QStringLiteral("Include Email"),
            QStringLiteral("1")};
}

// The questionnaire printout's font: face name and size in points.
inline SettingKey formatQName()
{
    return {AppExeName(), QStringLiteral("Options"), QStringLiteral("FormatQName"),
            QStringLiteral("Times New Roman")};
}
inline SettingKey formatQSize()
{
    return {AppExeName(), QStringLiteral("Options"), QStringLiteral("FormatQSize"),
            QStringLiteral("8")};
}

// Direct sending of e-mail: the mail server, its port, "STARTTLS", "TLS" or "None", the login
// and the sender address; the password is kept in the keyring, never here. A certificate file
// to trust stands in for the system's certificates when set.
inline SettingKey smtpServer()
{
    return {AppExeName(), QStringLiteral("E-mail"), QStringLiteral("SMTP Server"), {}};
}
inline SettingKey smtpPort()
{
    return {AppExeName(), QStringLiteral("E-mail"), QStringLiteral("SMTP Port"),
            QStringLiteral("587")};
}
inline SettingKey smtpSecurity()
{
    return {AppExeName(), QStringLiteral("E-mail"), QStringLiteral("SMTP Security"),
            QStringLiteral("STARTTLS")};
}
inline SettingKey smtpUser()
{
    return {AppExeName(), QStringLiteral("E-mail"), QStringLiteral("SMTP User"), {}};
}
inline SettingKey senderAddress()
{
    return {AppExeName(), QStringLiteral("E-mail"), QStringLiteral("Sender Address"), {}};
}
inline SettingKey smtpCaFile()
{
    return {AppExeName(), QStringLiteral("E-mail"), QStringLiteral("CA Certificates"), {}};
}

// The main window's position and size.
inline SettingKey mainWindow(const QString& which) // "MainLeft", "MainTop", ...
{
    return {AppTitle(), QStringLiteral("Settings"), which, {}};
}

} // namespace halcyra::keys
