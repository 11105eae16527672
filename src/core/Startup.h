#pragma once

#include "core/ProgramState.h"

#include <QString>
#include <array>

namespace halcyra {

class ErrorReporter;
class SettingsStore;

// Seconds elapsed between two times of day, counting on across midnight.
double elapsedSecondsSince(double startSecondsOfDay, double nowSecondsOfDay);

// The time of day in seconds; tests give a clock they move by hand.
class TimeOfDay
{
public:
    virtual ~TimeOfDay() = default;
    virtual double secondsSinceMidnight() const = 0;
};

// The windows start-up opens, and the waiting between them. The program gives real windows;
// tests give a recorder.
class StartupWindows
{
public:
    virtual ~StartupWindows() = default;
    virtual void createMainWindow() = 0;
    // The message window; shows nothing when the title is switched off.
    virtual void ShowMsg(const QString& title, const QString& message) = 0;
    virtual void showSplash() = 0;
    virtual void closeSplash() = 0;
    // The tip of the day, modal.
    virtual void showTips() = 0;
    // Lets pending window events run.
    virtual void processEvents() = 0;
    // Waits about `milliseconds` while keeping the windows painted.
    virtual void waitFor(int milliseconds) = 0;
    // The company information as stored.
    virtual CompanyInfo loadCompanyInfo() = 0;
    // The company information window, modal.
    virtual void showCompanyInfo() = 0;
    // Shows the main window with the cursor in the last-name box.
    virtual void showMainWindow() = 0;
};

struct StartupOptions
{
    QString workingFolder;
    double splashSeconds = 3.0;  // the splash window's minimum time on screen
    double pointerSeconds = 1.0; // the hourglass's minimum time before the tips
    // A build-time second place to look for the database; the same folder serves.
    QString fallbackFolder;
};

// Opens the database file for reading and closes it again. A missing file is tried three
// times in all; after the third failure the error is reported (critical) and false returned,
// and the program must end. Other errors are reported and the check carries on.
bool VerifyDatabase(const QString& databaseFolder, const QString& fallbackFolder,
                    ErrorReporter& reporter);

// The start-up sequence: fixes the database folder, checks the database, creates the main
// window, offers the tutorial, shows the splash window and the tips, loads the company
// information (opening its window when required fields are empty) and shows the main window.
// Returns false when the program must end.
bool Main(const StartupOptions& options, ProgramState& state, SettingsStore& settings,
          ErrorReporter& reporter, StartupWindows& windows, const TimeOfDay& clock);

// The tutorial prompt, as start-up offers it.
QString tutorialPromptText();

} // namespace halcyra
