#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

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

// Every title the program shows in the message window. Those whose layout shows the "Don't
// show this message again." box can be switched off there, and so must be listed on the
// options dialog's Display Messages page, the one place to switch them on again.
const QStringList& messageTitles();

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
