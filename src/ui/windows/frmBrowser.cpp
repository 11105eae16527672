#include "ui/windows/frmBrowser.h"

#include "core/Paths.h"
#include "ui/WebLinks.h"
#include "ui/windows/WebBrowserControl.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLibrary>
#include <QLineEdit>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace halcyra {
namespace {

struct ToolButton
{
    const char* key;
    const char* toolTip;
    const char* themeIcon;
    QStyle::StandardPixmap fallbackIcon;
};

const ToolButton kToolButtons[] = {
    {"Back", "Back", "go-previous", QStyle::SP_ArrowBack},
    {"Forward", "Forward", "go-next", QStyle::SP_ArrowForward},
    {"Refresh", "Refresh", "view-refresh", QStyle::SP_BrowserReload},
    {"Home", "Home", "go-home", QStyle::SP_DirHomeIcon},
    {"Search", "Search", "edit-find", QStyle::SP_FileDialogContentsView},
    {"Stop", "Stop", "process-stop", QStyle::SP_BrowserStop},
    {"Close", "Close", "window-close", QStyle::SP_DialogCloseButton},
};

constexpr int kTimerInterval = 250; // ms

QStringList itemTexts(const QComboBox& combo)
{
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i)
        texts << combo.itemText(i);
    return texts;
}

QString moduleFileName()
{
#if defined(Q_OS_WIN)
    return QStringLiteral("halcyra_webengine.dll");
#else
    return QStringLiteral("libhalcyra_webengine.so");
#endif
}

// Beside the program (or in the package's library folder) first; in a build tree the module
// lies where the build put it.
QStringList moduleCandidates()
{
    QStringList candidates{
        helperProgramPath(QCoreApplication::applicationDirPath(), moduleFileName())};
#ifdef HALCYRA_WEBENGINE_MODULE_BUILD_PATH
    candidates << QStringLiteral(HALCYRA_WEBENGINE_MODULE_BUILD_PATH);
#endif
    return candidates;
}

} // namespace

Result<std::unique_ptr<WebBrowserControl>> loadWebBrowserControl(QWidget* parent)
{
#ifndef HALCYRA_HAS_WEBENGINE
    Q_UNUSED(parent);
    return fail(QStringLiteral("This build of the program has no browser of its own."));
#else
    // Loaded once and kept: the engine cannot be unloaded while the program runs.
    static QLibrary* module = nullptr;
    static QString failure;
    if (!module && failure.isEmpty()) {
        for (const QString& candidate : moduleCandidates()) {
            if (!QFileInfo::exists(candidate))
                continue;
            auto* library = new QLibrary(candidate);
            if (library->load()) {
                module = library;
                break;
            }
            failure = library->errorString();
            delete library;
        }
        if (!module && failure.isEmpty())
            failure = QStringLiteral("%1 is not in the program folder.").arg(moduleFileName());
    }
    if (!module)
        return fail(failure);
    auto create = reinterpret_cast<CreateWebBrowserControlFunction>(
        module->resolve("halcyraCreateWebBrowserControl"));
    if (!create)
        return fail(module->errorString());
    return std::unique_ptr<WebBrowserControl>(create(parent));
#endif
}

Result<std::unique_ptr<frmBrowser>> frmBrowser::create(QWidget* parent)
{
    // The control is made on a holder that the window then adopts, so nothing of the window
    // exists when the control cannot be had.
    auto holder = std::make_unique<QWidget>();
    Result<std::unique_ptr<WebBrowserControl>> control = loadWebBrowserControl(holder.get());
    if (!control)
        return fail(control.error());
    return std::unique_ptr<frmBrowser>(new frmBrowser(std::move(*control), parent));
}

frmBrowser::frmBrowser(std::unique_ptr<WebBrowserControl> control, QWidget* parent)
    : QWidget(parent, Qt::Window), picAddress(new QWidget(this)),
      lblAddress(new QLabel(QStringLiteral("&Address:"), picAddress)),
      cboAddress(new QComboBox(picAddress)), tbToolBar(new QToolBar(this)),
      timTimer(new QTimer(this)), brwWebBrowser(std::move(control))
{
    setObjectName(QStringLiteral("frmBrowser"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    picAddress->setObjectName(QStringLiteral("picAddress"));
    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    cboAddress->setObjectName(QStringLiteral("cboAddress"));
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    timTimer->setObjectName(QStringLiteral("timTimer"));
    timTimer->setInterval(kTimerInterval);
    brwWebBrowser->widget()->setParent(this);

    for (const ToolButton& button : kToolButtons) {
        const QString key = QString::fromLatin1(button.key);
        const QIcon icon = QIcon::fromTheme(QString::fromLatin1(button.themeIcon),
                                            style()->standardIcon(button.fallbackIcon));
        QAction* action = tbToolBar->addAction(icon, key);
        action->setObjectName(QStringLiteral("tbToolBar_") + key);
        action->setProperty("key", key);
        action->setToolTip(QString::fromLatin1(button.toolTip));
        connect(action, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
    }
    tbToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);

    // The address bar: the combo beside its label, taking the rest of the width.
    cboAddress->setEditable(true);
    cboAddress->setInsertPolicy(QComboBox::NoInsert);
    cboAddress->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    lblAddress->setBuddy(cboAddress);
    auto* bar = new QHBoxLayout(picAddress);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addWidget(lblAddress);
    bar->addWidget(cboAddress, 1);

    // Form_Resize: the address bar and the browser take the whole inner width and the browser
    // the height below the bar, less a small margin.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 0, 3, 3);
    layout->setSpacing(3);
    layout->addWidget(tbToolBar);
    layout->addWidget(picAddress);
    layout->addWidget(brwWebBrowser->widget(), 1);
    resize(900, 680);

    // Chosen from the list or confirmed with Enter; the program's own changes to the combo
    // do not count, as activated() comes only from the person.
    connect(cboAddress, &QComboBox::activated, this, [this](int) { cboAddress_Click(); });
    connect(cboAddress->lineEdit(), &QLineEdit::returnPressed, this, &frmBrowser::cboAddress_Click);
    connect(timTimer, &QTimer::timeout, this, &frmBrowser::timTimer_Timer);
    brwWebBrowser->navigateComplete = [this] { brwWebBrowser_NavigateComplete(); };
    brwWebBrowser->beforeNavigate = [this] {
        if (!timTimer->isActive())
            timTimer->start();
    };
}

frmBrowser::~frmBrowser()
{
    brwWebBrowser->navigateComplete = nullptr;
    brwWebBrowser->beforeNavigate = nullptr;
}

void frmBrowser::open(const QString& address)
{
    StartingAddress = address;
    if (!m_loaded)
        Form_Load();
    else if (!address.isEmpty())
        navigate(address);
    show();
    raise();
    activateWindow();
}

void frmBrowser::Form_Load()
{
    m_loaded = true;
    if (StartingAddress.isEmpty())
        return;
    navigate(StartingAddress);
}

void frmBrowser::navigate(const QString& address)
{
    if (findAddress(itemTexts(*cboAddress), address) < 0)
        cboAddress->addItem(address);
    cboAddress->setCurrentIndex(static_cast<int>(findAddress(itemTexts(*cboAddress), address)));
    timTimer->start();
    brwWebBrowser->navigate(QUrl::fromUserInput(address));
}

void frmBrowser::keyPressEvent(QKeyEvent* event)
{
    // Enter in the address box is handled by the combo; it goes no further.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        cboAddress->hasFocus()) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmBrowser::cboAddress_Click()
{
    const QString address = cboAddress->currentText().trimmed();
    if (address.isEmpty())
        return;
    timTimer->start();
    brwWebBrowser->navigate(QUrl::fromUserInput(address));
}

void frmBrowser::brwWebBrowser_NavigateComplete()
{
    setWindowTitle(brwWebBrowser->locationName());
    const QString url = brwWebBrowser->locationUrl().toString();
    if (url.isEmpty())
        return;
    qsizetype index = findAddress(itemTexts(*cboAddress), url);
    if (index < 0) {
        cboAddress->addItem(url);
        index = cboAddress->count() - 1;
    }
    cboAddress->setCurrentIndex(static_cast<int>(index));
}

void frmBrowser::timTimer_Timer()
{
    if (brwWebBrowser->isBusy()) {
        setWindowTitle(workingCaption());
        return;
    }
    timTimer->stop();
    setWindowTitle(brwWebBrowser->locationName());
}

void frmBrowser::tbToolBar_ButtonClick(const QString& key)
{
    timTimer->start();
    if (key == u"Back")
        brwWebBrowser->goBack();
    else if (key == u"Forward")
        brwWebBrowser->goForward();
    else if (key == u"Refresh")
        brwWebBrowser->refresh();
    else if (key == u"Home")
        brwWebBrowser->navigate(QUrl::fromUserInput(StartingAddress));
    else if (key == u"Search")
        brwWebBrowser->navigate(QUrl(searchPageAddress()));
    else if (key == u"Stop") {
        timTimer->stop();
        brwWebBrowser->stop();
        setWindowTitle(brwWebBrowser->locationName());
    } else if (key == u"Close")
        close();
}

} // namespace halcyra
