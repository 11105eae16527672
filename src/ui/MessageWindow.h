#pragma once

#include <QColor>
#include <QString>

namespace halcyra {

class SettingsStore;

// How the message window looks for one title: its heading word and colour, and which of its
// buttons and its "Don't show this message again." box are shown.
struct MessageLayout
{
    QString heading = QStringLiteral("Question");
    QColor headingColor = Qt::black;
    QString okCaption = QStringLiteral("OK");
    bool showCancel = false; // cmd1
    QString secondCaption;   // cmd2; empty when hidden
    bool showOnline = false; // cmdShowMe
    bool showDoNotShow = false;
};

MessageLayout messageLayoutFor(const QString& title);

// How the adviser left the message window.
enum class MessageResult { Suppressed, Ok, Cancel, Second, Closed };

// The do-not-show flag of a title: "1" means the message is switched off; a missing key is
// false.
bool isMessageSuppressed(const SettingsStore& settings, const QString& title);
void storeDoNotShow(SettingsStore& settings, const QString& title, bool doNotShow);

// The field help text of the main and company windows.
QString fieldHelpText();

// Where the "Online" button of a message points.
QString onlineTutorialAddress();

} // namespace halcyra
