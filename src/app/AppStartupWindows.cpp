#include "app/AppStartupWindows.h"

#include "app/windows/frmMain.h"
#include "core/ErrorReporter.h"
#include "core/HelpContexts.h"
#include "core/ProgramState.h"
#include "core/windows/ArrowCursor.h"
#include "setup/windows/frmCompanyInfo.h"
#include "ui/windows/frmMsg.h"
#include "ui/windows/frmSplash.h"
#include "ui/windows/frmTip.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

namespace halcyra {

AppStartupWindows::AppStartupWindows(const Catalogue& catalogue, SettingsStore& settings,
                                     ProgramState& state, ErrorReporter& reporter)
    : m_catalogue(catalogue), m_settings(settings), m_state(state), m_reporter(reporter)
{}

AppStartupWindows::~AppStartupWindows() = default;

void AppStartupWindows::createMainWindow()
{
    m_main = std::make_unique<frmMain>(
        m_catalogue, m_settings, m_state, m_reporter,
        [this](const QString& title, const QString& message) { ShowMsg(title, message); });
    QObject::connect(m_main.get(), &frmMain::companyInfoRequested, m_main.get(),
                     [this] { companyWindow().showModally(); });
}

void AppStartupWindows::ShowMsg(const QString& title, const QString& message)
{
    if (!m_msg) {
        m_msg = std::make_unique<frmMsg>(m_settings);
        m_msg->reporter = &m_reporter;
        // The tutorial's Yes, a message's Help: the topic that goes with the message.
        m_msg->GetHelp = [this] { showHelpTopic(help::messageContext(m_msg->windowTitle())); };
        m_msg->onFieldHelpToggled = [this](const QString& messageTitle, bool hidden) {
            if (messageTitle == u"F1 Help Main" && m_main)
                m_main->setFieldHelpButtonHidden(hidden);
            else if (messageTitle == u"F1 Help Company" && m_company)
                m_company->setFieldHelpButtonHidden(hidden);
        };
    }
    m_msg->ShowMsg(title, message);
    // The callers read a cancel from the program-wide flag; a message shown and not cancelled
    // leaves an earlier cancel standing, as only the reader of the flag clears it.
    if (m_msg->cancelled())
        m_state.OptionsCancelled = true;
}

void AppStartupWindows::showHelpTopic(int context)
{
    if (m_main) {
        m_main->showHelpTopic(context);
        return;
    }
    // Without the main window the program is ending; there is nothing to show help in.
    m_reporter.prompts().inform(QStringLiteral("Help"),
                                QStringLiteral("Unable to display Help Contents. There is no Help "
                                               "associated with this project."),
                                UserPrompts::Icon::Information);
}

void AppStartupWindows::showSplash()
{
    m_busy.emplace(m_reporter.prompts());
    m_splash = std::make_unique<frmSplash>(m_catalogue);
    m_splash->show();
    m_splash->repaint();
    QApplication::processEvents();
}

void AppStartupWindows::closeSplash()
{
    m_splash.reset();
    m_busy.reset();
}

void AppStartupWindows::showTips()
{
    const ArrowCursor arrow;
    frmTip tips(m_settings, m_state.DatabaseFolder);
    tips.exec();
}

void AppStartupWindows::processEvents()
{
    QApplication::processEvents();
}

void AppStartupWindows::waitFor(int milliseconds)
{
    // An event loop rather than a busy loop: the splash stays painted and no core is burnt.
    QElapsedTimer timer;
    timer.start();
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    m_waited += timer.elapsed();
}

frmCompanyInfo& AppStartupWindows::companyWindow()
{
    if (!m_company) {
        m_company = std::make_unique<frmCompanyInfo>(
            m_settings, m_state, m_reporter,
            [this](const QString& title, const QString& message) { ShowMsg(title, message); });
        frmCompanyInfo* company = m_company.get();
        QObject::connect(company, &frmCompanyInfo::closedByAdviser, company, [this] {
            if (m_main)
                m_main->refreshOwnWebsiteEntry();
        });
        QObject::connect(company, &frmCompanyInfo::helpContentsRequested, company,
                         [this] { showHelpTopic(help::kContents); });
        QObject::connect(company, &frmCompanyInfo::helpTopicRequested, company,
                         [this](int context) { showHelpTopic(context); });
        QObject::connect(company, &frmCompanyInfo::exitProgramRequested, company,
                         [this] { endProgram(); });
    }
    return *m_company;
}

CompanyInfo AppStartupWindows::loadCompanyInfo()
{
    // Loading the window reads the row; a row that cannot be read has shown its message there.
    return companyWindow().fieldTexts();
}

void AppStartupWindows::showCompanyInfo()
{
    const ArrowCursor arrow;
    companyWindow().showModally();
}

void AppStartupWindows::bringToFront()
{
    // A question still open comes first: the main window waits behind it.
    QWidget* target = QApplication::activeModalWidget();
    if (!target && m_main && m_main->isVisible())
        target = m_main.get();
    if (!target)
        return; // still starting: the splash and the start-up windows come up on their own
    if (target->isMinimized())
        target->showNormal();
    target->raise();
    target->activateWindow();
}

void AppStartupWindows::endProgram()
{
    if (m_main && m_main->isVisible()) {
        m_main->unloadWithoutQuestion();
        return;
    }
    // Start-up goes on to its end, where the main window would show.
    m_exitRequested = true;
}

void AppStartupWindows::showMainWindow()
{
    m_busy.reset();
    if (m_exitRequested) {
        // The quit waits for the program's event loop, the next one to run.
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        return;
    }
    if (!m_main) {
        // Creating the window failed and was reported; without it the program cannot go on.
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(1); });
        throw ProgramError(errors::kUnexpected,
                           QStringLiteral("The main window could not be opened."));
    }
    m_main->show();
    m_main->activateWindow();
    m_main->putCursorInLastName();
}

} // namespace halcyra
