#pragma once

#include "core/BusyCursor.h"
#include "core/Startup.h"

#include <QElapsedTimer>
#include <memory>
#include <optional>

namespace halcyra {

class Catalogue;
class ErrorReporter;
class SettingsStore;
class frmCompanyInfo;
class frmMain;
class frmMsg;
class frmSplash;
struct ProgramState;

// The real windows behind the start-up sequence.
class AppStartupWindows final : public StartupWindows
{
public:
    AppStartupWindows(const Catalogue& catalogue, SettingsStore& settings, ProgramState& state,
                      ErrorReporter& reporter);
    ~AppStartupWindows() override;

    void createMainWindow() override;
    void ShowMsg(const QString& title, const QString& message) override;
    void showSplash() override;
    void closeSplash() override;
    void showTips() override;
    void processEvents() override;
    void waitFor(int milliseconds) override;
    CompanyInfo loadCompanyInfo() override;
    void showCompanyInfo() override;
    void showMainWindow() override;

    frmMain* mainWindow() const { return m_main.get(); }
    // Opens the help window at a topic (through the main window, which keeps it).
    void showHelpTopic(int context);
    // Another start of the program on this folder: the running one comes to the front.
    void bringToFront();
    // The company window, loaded (hidden) on first use and kept.
    frmCompanyInfo& companyWindow();
    // Time spent in the splash waits, which a start-up measurement leaves out.
    qint64 waitedMilliseconds() const { return m_waited; }

private:
    // File > Exit Program of the company window: ends the program as File > Exit does, or,
    // before the main window is up, lets start-up end without showing it.
    void endProgram();

    const Catalogue& m_catalogue;
    SettingsStore& m_settings;
    ProgramState& m_state;
    ErrorReporter& m_reporter;
    std::unique_ptr<frmMain> m_main;
    std::unique_ptr<frmCompanyInfo> m_company;
    std::unique_ptr<frmSplash> m_splash;
    std::unique_ptr<frmMsg> m_msg;
    std::optional<BusyCursor> m_busy; // from the splash to the main window
    qint64 m_waited = 0;
    bool m_exitRequested = false;
};

} // namespace halcyra
