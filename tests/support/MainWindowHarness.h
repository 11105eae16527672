#pragma once

#include "app/windows/frmMain.h"
#include "core/ErrorReporter.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "records/ClientRecord.h"
#include "support/ScriptedPrompts.h"
#include "support/TempProgramFolder.h"

#include <QList>
#include <QMap>
#include <QVariant>
#include <memory>

class QWidget;

namespace halcyra {
class Catalogue;
} // namespace halcyra

namespace halcyra::test {

// The main window over a database of its own in a temporary program folder, with scripted
// prompts and a message window that only records what it was asked to show.
class MainWindowHarness
{
public:
    struct Message
    {
        QString title;
        QString text;
    };

    MainWindowHarness();
    ~MainWindowHarness();

    // Stores a client (column number -> value) through the data source; returns its number.
    qint64 addClient(const QMap<int, QVariant>& values);
    qint64 addClient(const QString& lastName, const QString& firstName);

    // Creates the window on the built-in catalogue or `catalogue`, shows it, waits until it is
    // active (so focus changes behave as they do for the adviser) and puts the cursor in the
    // last-name box, as start-up does.
    frmMain& open();
    frmMain& open(const Catalogue& catalogue);
    frmMain& window() const { return *m_window; }

    // A stored value read straight from the file, and the number of stored clients.
    QVariant stored(qint64 customerId, int column) const;
    int storedCount() const;
    // Runs one statement in a connection of its own.
    void execute(const QString& sql) const;

    // Lets queued focus handling run.
    static void settle();
    // Puts the focus in `box` (as a click would) and lets its entering run.
    static void focus(QWidget* box);
    // Replaces the text of the focused box by typing.
    static void type(QWidget* box, const QString& text);
    // Leaves the focused box with Tab.
    static void pressTab();

    template <typename T> T* child(const QString& name) const;

    TempProgramFolder folder;
    ScriptedPrompts prompts;
    SettingsStore settings;
    ErrorReporter reporter;
    ProgramState state;
    QList<Message> messages;
    // The answer the messages get: Cancel sets the program-wide cancel, as the message window does.
    bool cancelMessages = false;

private:
    std::unique_ptr<Catalogue> m_catalogue;
    std::unique_ptr<frmMain> m_window;
};

template <typename T> T* MainWindowHarness::child(const QString& name) const
{
    return m_window->findChild<T*>(name);
}

} // namespace halcyra::test
