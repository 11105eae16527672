#include "ui/windows/frmHelp.h"

#include "core/HelpContexts.h"
#include "ui/DesktopLaunch.h"
#include "ui/ReadableColours.h"
#include "ui/windows/KeepOnScreen.h"
#include "ui/windows/QtPrompts.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWindow>

namespace halcyra {
namespace {

constexpr int kUrlRole = Qt::UserRole;

QUrl withoutFragment(const QUrl& url)
{
    return url.adjusted(QUrl::RemoveFragment);
}

// The topics carry colours for a light page; they are fitted to the palette as they are read,
// so a dark desktop shows light text on its dark page.
class HelpBrowser : public QTextBrowser
{
public:
    QVariant loadResource(int type, const QUrl& name) override
    {
        const QVariant loaded = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::HtmlResource && type != QTextDocument::StyleSheetResource)
            return loaded;
        const QString text = loaded.typeId() == QMetaType::QByteArray
                                 ? QString::fromUtf8(loaded.toByteArray())
                                 : loaded.toString();
        return htmlColoursFor(text, palette());
    }

protected:
    void changeEvent(QEvent* event) override
    {
        QTextBrowser::changeEvent(event);
        if (event->type() == QEvent::PaletteChange && !source().isEmpty())
            reload();
    }
};

} // namespace

frmHelp::frmHelp(QString folder, QWidget* home)
    : QWidget(home, Qt::Window), m_folder(std::move(folder)), m_home(home), m_owner(home)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Halcyra Help"));
    // A page outside the help opens in the desktop's browser; one that does not is said.
    openExternal = [this](const QUrl& url) {
        const QString address = url.toString();
        const Status opened =
            openWithDesktop(address, QStringLiteral("the page %1").arg(address),
                            QStringLiteral("Open %1 in your web browser yourself.").arg(address));
        if (!opened)
            QtPrompts().inform(windowTitle(), opened.error(), UserPrompts::Icon::Warning);
    };
    buildWindow();
    keepOnScreen(this, QSize(940, 660));
}

void frmHelp::buildWindow()
{
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("tbHelp"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto add = [&](const char* name, const QString& caption, QStyle::StandardPixmap icon,
                   const QKeySequence& key) {
        QAction* action = bar->addAction(style()->standardIcon(icon), caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        action->setToolTip(QStringLiteral("%1 (%2)").arg(QString(caption).remove(u'&'),
                                                         key.toString(QKeySequence::NativeText)));
        return action;
    };
    cmdBack = add("cmdBack", QStringLiteral("&Back"), QStyle::SP_ArrowBack,
                  QKeySequence(Qt::ALT | Qt::Key_Left));
    cmdForward = add("cmdForward", QStringLiteral("&Forward"), QStyle::SP_ArrowForward,
                     QKeySequence(Qt::ALT | Qt::Key_Right));
    cmdHome = add("cmdHome", QStringLiteral("&Home"), QStyle::SP_DirHomeIcon,
                  QKeySequence(Qt::ALT | Qt::Key_Home));
    cmdBack->setEnabled(false);
    cmdForward->setEnabled(false);
    auto* closeKey = new QAction(this);
    closeKey->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(closeKey, &QAction::triggered, this, &QWidget::close);
    addAction(closeKey);

    tvwContents = new QTreeWidget;
    tvwContents->setObjectName(QStringLiteral("tvwContents"));
    tvwContents->header()->hide();
    txtSearch = new QLineEdit;
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setPlaceholderText(QStringLiteral("Words to find, then Enter"));
    txtSearch->setClearButtonEnabled(true);
    lstResults = new QListWidget;
    lstResults->setObjectName(QStringLiteral("lstResults"));
    auto* search = new QWidget;
    auto* searchLayout = new QVBoxLayout(search);
    searchLayout->addWidget(txtSearch);
    searchLayout->addWidget(lstResults, 1);
    tbsHelp = new QTabWidget;
    tbsHelp->setObjectName(QStringLiteral("tbsHelp"));
    tbsHelp->addTab(tvwContents, QStringLiteral("&Contents"));
    tbsHelp->addTab(search, QStringLiteral("&Search"));

    brwTopic = new HelpBrowser;
    brwTopic->setObjectName(QStringLiteral("brwTopic"));
    // Every link comes through here, so other sites go to the desktop's browser.
    brwTopic->setOpenLinks(false);

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(tbsHelp);
    splitter->addWidget(brwTopic);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 680});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(splitter, 1);

    connect(cmdBack, &QAction::triggered, brwTopic, &QTextBrowser::backward);
    connect(cmdForward, &QAction::triggered, brwTopic, &QTextBrowser::forward);
    connect(cmdHome, &QAction::triggered, this, &frmHelp::goHome);
    connect(brwTopic, &QTextBrowser::backwardAvailable, cmdBack, &QAction::setEnabled);
    connect(brwTopic, &QTextBrowser::forwardAvailable, cmdForward, &QAction::setEnabled);
    connect(brwTopic, &QTextBrowser::anchorClicked, this, &frmHelp::linkClicked);
    connect(brwTopic, &QTextBrowser::sourceChanged, this, &frmHelp::pageChanged);
    connect(tvwContents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { showUrl(item->data(0, kUrlRole).toUrl()); });
    connect(tvwContents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { showUrl(item->data(0, kUrlRole).toUrl()); });
    connect(txtSearch, &QLineEdit::returnPressed, this, &frmHelp::runSearch);
    // Choosing the search is choosing to type the words.
    connect(tbsHelp, &QTabWidget::currentChanged, this, [this, search](int index) {
        if (tbsHelp->widget(index) == search)
            txtSearch->setFocus(Qt::OtherFocusReason);
    });
    auto openHit = [this](QListWidgetItem* item) {
        showUrl(item->data(kUrlRole).toUrl());
        // The first place the first word appears, marked.
        brwTopic->moveCursor(QTextCursor::Start);
        brwTopic->find(m_searchWords.section(u' ', 0, 0, QString::SectionSkipEmpty));
    };
    connect(lstResults, &QListWidget::itemActivated, this, openHit);
    connect(lstResults, &QListWidget::itemClicked, this, openHit);
}

Status frmHelp::showContext(int context)
{
    Result<HelpTopics> loaded = HelpTopics::load(m_folder);
    if (!loaded)
        return fail(loaded.error());
    m_topics = std::move(loaded).value();
    fillContents();
    const Result<QUrl> url = m_topics->topicUrl(context);
    if (!url)
        return fail(url.error());
    showUrl(*url);
    return {};
}

void frmHelp::fillContents()
{
    const QSignalBlocker quiet(tvwContents);
    tvwContents->clear();
    for (const HelpTopics::Entry& entry : m_topics->contents()) {
        auto* page = new QTreeWidgetItem(tvwContents, {entry.title});
        page->setData(0, kUrlRole, entry.url);
        for (const HelpTopics::Section& section : entry.sections) {
            auto* item = new QTreeWidgetItem(page, {section.title});
            item->setData(0, kUrlRole, section.url);
        }
    }
}

void frmHelp::showUrl(const QUrl& url)
{
    // A click that is also an activation must not put the page twice into the history.
    if (url.isValid() && url != brwTopic->source())
        brwTopic->setSource(url);
}

QUrl frmHelp::currentUrl() const
{
    return brwTopic->source();
}

void frmHelp::linkClicked(const QUrl& url)
{
    const QUrl target = brwTopic->source().resolved(url);
    if (target.isLocalFile() || target.scheme().isEmpty())
        showUrl(target);
    else if (openExternal)
        openExternal(target);
}

void frmHelp::pageChanged(const QUrl& url)
{
    const QString base = QStringLiteral("Halcyra Help");
    const QString title = brwTopic->documentTitle();
    setWindowTitle(title.isEmpty() || title == base ? base : base + QStringLiteral(" - ") + title);
    // The contents follow the page: its own section where it has one, else the page.
    QTreeWidgetItem* match = nullptr;
    for (QTreeWidgetItemIterator it(tvwContents); *it; ++it) {
        const QUrl itemUrl = (*it)->data(0, kUrlRole).toUrl();
        if (itemUrl == url) {
            match = *it;
            break;
        }
        if (!match && itemUrl == withoutFragment(url))
            match = *it;
    }
    const QSignalBlocker quiet(tvwContents);
    tvwContents->setCurrentItem(match);
    if (match)
        tvwContents->scrollToItem(match);
}

void frmHelp::runSearch()
{
    lstResults->clear();
    m_searchWords = txtSearch->text().simplified();
    if (!m_topics) {
        Result<HelpTopics> loaded = HelpTopics::load(m_folder);
        if (!loaded)
            return;
        m_topics = std::move(loaded).value();
    }
    const QList<HelpTopics::Hit> hits = m_topics->search(m_searchWords);
    for (const HelpTopics::Hit& hit : hits) {
        auto* item = new QListWidgetItem(hit.title, lstResults);
        item->setData(kUrlRole, hit.url);
    }
    if (hits.isEmpty() && !m_searchWords.isEmpty())
        new QListWidgetItem(QStringLiteral("No topic holds all of these words."), lstResults);
}

void frmHelp::goHome()
{
    // The contents page; without one the window stays where it is.
    (void)showContext(help::kContents);
}

void frmHelp::present()
{
    // Over an open dialog the window must belong to it, or the dialog would block it.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner || owner == this)
        owner = m_home;
    if (owner != parentWidget())
        reparent(owner);
    if (isMinimized())
        showNormal();
    if (!m_placed) {
        // The first time, over the middle of the window it helps with, on the screen.
        m_placed = true;
        const QWidget* over = owner && owner->isVisible() ? owner : nullptr;
        const QScreen* where = over ? over->screen() : screen();
        const QRect available = where ? where->availableGeometry() : QRect();
        const QPoint middle = over ? over->frameGeometry().center() : available.center();
        QRect placed(middle - QPoint(width() / 2, height() / 2), size());
        if (available.isValid()) {
            placed.moveRight(qMin(placed.right(), available.right()));
            placed.moveBottom(qMin(placed.bottom(), available.bottom()));
            placed.moveLeft(qMax(placed.left(), available.left()));
            placed.moveTop(qMax(placed.top(), available.top()));
        }
        move(placed.topLeft());
    }
    showWhereItWas();
    raise();
    activateWindow();
}

void frmHelp::reparent(QWidget* owner)
{
    if (m_owner && m_owner != m_home)
        m_owner->removeEventFilter(this);
    if (isVisible())
        m_placement = QRect(frameGeometry().topLeft(), size());
    setParent(owner, windowFlags());
    m_owner = owner;
    if (owner && owner != m_home)
        owner->installEventFilter(this);
}

void frmHelp::showWhereItWas()
{
    const QRect where = m_placement;
    m_placement = QRect();
    show();
    // A window given to another owner is made anew: once it is up it goes back to its place.
    if (where.isValid()) {
        resize(where.size());
        // The window's own idea of its place is still the old one, so the new native window is
        // told directly.
        QTimer::singleShot(0, this, [this, where] {
            if (windowHandle())
                windowHandle()->setFramePosition(where.topLeft());
        });
    }
}

bool frmHelp::eventFilter(QObject* watched, QEvent* event)
{
    // The dialog the window was lent to closes: the window goes back and stays open.
    if (watched == m_owner && m_owner != m_home && event->type() == QEvent::Hide) {
        const bool visible = isVisible();
        reparent(m_home);
        if (visible)
            showWhereItWas();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace halcyra
