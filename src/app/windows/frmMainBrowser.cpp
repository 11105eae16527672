// The main window's web links and the About box with its support commands.

#include "app/windows/frmMain.h"
#include "core/Catalogue.h"
#include "core/CatalogueIds.h"
#include "core/ErrorReporter.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "core/Version.h"
#include "ui/DesktopLaunch.h"
#include "ui/SupportCommands.h"
#include "ui/WebLinks.h"
#include "ui/windows/frmAbout.h"
#include "ui/windows/frmBrowser.h"

#include <QAction>
#include <QDir>

namespace halcyra {
namespace {

QString label(const char* procedure)
{
    return QStringLiteral("frmMain:Sub ") + QString::fromLatin1(procedure) + QStringLiteral("()");
}

#ifdef HALCYRA_HAS_WEBENGINE
constexpr bool kEmbeddedBrowser = true;
#else
constexpr bool kEmbeddedBrowser = false;
#endif

} // namespace

void frmMain::connectBrowserCommands()
{
    auto entry = [this](const char* name) { return m_menus.action(QString::fromLatin1(name)); };
    connect(entry("mnuViewBrowserHCY"), &QAction::triggered, this,
            &frmMain::mnuViewBrowserHCY_Click);
    connect(entry("mnuViewBrowserMy"), &QAction::triggered, this, &frmMain::mnuViewBrowserMy_Click);
    connect(entry("mnuViewBrowserHealth"), &QAction::triggered, this,
            &frmMain::mnuViewBrowserHealth_Click);
    connect(entry("mnuViewBrowserBoard"), &QAction::triggered, this,
            &frmMain::mnuViewBrowserBoard_Click);
    connect(entry("mnuViewBrowserKiv"), &QAction::triggered, this,
            &frmMain::mnuViewBrowserKiv_Click);
    connect(entry("mnuViewBrowserTessaly"), &QAction::triggered, this,
            &frmMain::mnuViewBrowserTessaly_Click);
    connect(entry("mnuHelpAbout"), &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
}

void frmMain::mnuViewBrowserHCY_Click()
{
    showWebLink(WebLink::HCY, "mnuViewBrowserHCY_Click");
}

void frmMain::mnuViewBrowserMy_Click()
{
    showWebLink(WebLink::My, "mnuViewBrowserMy_Click");
}

void frmMain::mnuViewBrowserHealth_Click()
{
    showWebLink(WebLink::Health, "mnuViewBrowserHealth_Click");
}

void frmMain::mnuViewBrowserBoard_Click()
{
    showWebLink(WebLink::Board, "mnuViewBrowserBoard_Click");
}

void frmMain::mnuViewBrowserKiv_Click()
{
    showWebLink(WebLink::Kiv, "mnuViewBrowserKiv_Click");
}

void frmMain::mnuViewBrowserTessaly_Click()
{
    showWebLink(WebLink::Tessaly, "mnuViewBrowserTessaly_Click");
}

void frmMain::showWebLink(WebLink link, const char* procedure)
{
    m_reporter.trap(label(procedure), [&] {
        const WebLinkSources sources{m_state.DatabaseFolder,
                                     m_catalogue.LoadResString(ids::kProgramWebAddress),
                                     m_settings.get(keys::webAddress())};
        const Result<QString> address = webLinkAddress(link, sources);
        if (!address) {
            m_reporter.prompts().inform(AppTitle(), address.error(), UserPrompts::Icon::Warning);
            return;
        }
        const bool embedded = chooseBrowser(kEmbeddedBrowser) == BrowserChoice::Embedded;
        if (embedded && !m_browser) {
            if (auto created = frmBrowser::create(this)) {
                m_browser = created->release();
                // Over the main window, a little down and to the right, not in a screen corner.
                m_browser->move(frameGeometry().topLeft() + QPoint(48, 48));
            } else { // the desktop's browser still shows the page; the reason is kept for support
                m_reporter.ReportError(QString::number(errors::kFileNotFound), created.error(),
                                       m_reporter.CurrentProcedureLabel(), ErrorReporter::kStyleOk,
                                       {}, 0, false);
            }
        }
        if (embedded && m_browser) {
            m_browser->open(*address);
            return;
        }
        tellIfNotOpened(m_reporter, AppTitle(),
                        openWithDesktop(*address, QStringLiteral("the page %1").arg(*address),
                                        QStringLiteral("Open it in your web browser yourself, or "
                                                       "set up a web browser on this computer.")));
    });
}

void frmMain::mnuHelpAbout_Click()
{
    m_reporter.trap(label("mnuHelpAbout_Click"), [&] {
        frmAbout about(m_catalogue, this);
        connect(&about, &frmAbout::helpTopicRequested, this, &frmMain::showHelpTopic);
        const QString typed = about.run();
        const SupportContext context{m_settings, m_reporter, m_state.DatabaseFolder,
                                     m_catalogue.LoadResString(ids::kSupportAddress)};
        const Result<SupportOutcome> outcome = runSupportCommand(typed, context);
        if (!outcome) {
            m_reporter.prompts().inform(AppTitle(), outcome.error(), UserPrompts::Icon::Warning);
            return;
        }
        switch (outcome->command) {
        case SupportCommand::MailErrorLog:
            showEmailWindow(outcome->email);
            break;
        case SupportCommand::StartConverter:
            // The program closes only once the converter is known to have started.
            if (!tellIfNotOpened(
                    m_reporter, AppTitle(),
                    startDesktopHelper({outcome->programToStart,
                                        {},
                                        QStringLiteral("the conversion program %1")
                                            .arg(QDir::toNativeSeparators(outcome->programToStart)),
                                        QStringLiteral("Halcyra stays open."),
                                        m_state.DatabaseFolder})))
                return;
            unloadWithoutQuestion();
            break;
        default:
            break;
        }
    });
}

} // namespace halcyra
