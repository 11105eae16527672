#pragma once

#include "core/Settings.h"
#include "core/Version.h"

// Every settings key the program reads or writes, with its default, in one place.

namespace halcyra::keys {

inline SettingKey databasePath()
{
    return {AppExeName(), QStringLiteral("Database"), QStringLiteral("DBPath"), {}};
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
inline SettingKey webAddress()
{
    return {AppTitle(), QStringLiteral("Options"), QStringLiteral("Web"), {}};
}

// The do-not-show flag of a message window title: "1" hides the message.
inline SettingKey doNotShow(const QString& title)
{
    return {AppExeName(), QStringLiteral("Options"), title, QStringLiteral("0")};
}

// The main window's position and size.
inline SettingKey mainWindow(const QString& which) // "MainLeft", "MainTop", ...
{
    return {AppTitle(), QStringLiteral("Settings"), which, {}};
}

} // namespace halcyra::keys
