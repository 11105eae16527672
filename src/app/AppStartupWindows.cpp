#include "app/AppStartupWindows.h"

#include "core/ErrorReporter.h"
#include "core/ProgramState.h"
#include "records/DatabaseFile.h"
#include "records/windows/frmMain.h"
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
}

void AppStartupWindows::ShowMsg(const QString& title, const QString& message)
{
    if (!m_msg) {
        m_msg = std::make_unique<frmMsg>(m_settings, m_state.OptionsCancelled);
        m_msg->GetHelp = [this] { showHelpContents(); };
        m_msg->onFieldHelpToggled = [this](const QString& messageTitle, bool hidden) {
            if (messageTitle == u"F1 Help Main" && m_main)
                m_main->setFieldHelpButtonHidden(hidden);
        };
    }
    m_msg->ShowMsg(title, message);
}

void AppStartupWindows::showHelpContents()
{
    // The help topics are not part of this installation yet.
    m_reporter.prompts().inform(QStringLiteral("Help"),
                                QStringLiteral("Unable to display Help Contents. There is no Help "
                                               "associated with this project."),
                                UserPrompts::Icon::Information);
}

void AppStartupWindows::showSplash()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_splash = std::make_unique<frmSplash>(m_catalogue);
    m_splash->show();
    m_splash->repaint();
    QApplication::processEvents();
}

void AppStartupWindows::closeSplash()
{
    m_splash.reset();
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void AppStartupWindows::showTips()
{
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    frmTip tips(m_settings, m_state.DatabaseFolder);
    tips.exec();
    QApplication::restoreOverrideCursor();
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

std::array<QString, 11> AppStartupWindows::loadCompanyInfo()
{
    QString error;
    const std::array<QString, 11> fields = readCompanyInfo(m_state.DatabaseFullPath, &error);
    if (!error.isEmpty())
        throw ProgramError(errors::kPathFileAccess,
                           QStringLiteral("Company information could not be read: ") + error);
    return fields;
}

void AppStartupWindows::showCompanyInfo()
{
    // The company information window joins here; until then start-up goes straight on.
}

void AppStartupWindows::showMainWindow()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    m_main->show();
    m_main->activateWindow();
    m_main->putCursorInLastName();
}

} // namespace halcyra
