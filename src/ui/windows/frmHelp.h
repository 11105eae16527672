#pragma once

#include "core/Result.h"
#include "ui/HelpTopics.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

class QAction;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace halcyra {

// The help window: the help's contents and a search on the left, the topic on the right, with
// Back, Forward and Home. One window serves every request of the session.
class frmHelp : public QWidget
{
    Q_OBJECT
public:
    // `home` is the window it belongs to; it is shown over a dialog that is open at a request.
    frmHelp(QString folder, QWidget* home);

    // Shows the topic of a context number, reading the help afresh (it may have been installed
    // or changed since). Fails when there is no help, or no page for the number.
    Status showContext(int context);
    // Brings the window up over whatever window is open, ready to use beside it.
    void present();

    // Opens a link to another site; the desktop's browser unless a test replaces it.
    std::function<void(const QUrl&)> openExternal;

    QUrl currentUrl() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void fillContents();
    void showUrl(const QUrl& url);
    void linkClicked(const QUrl& url);
    void pageChanged(const QUrl& url);
    void runSearch();
    void goHome();
    void reparent(QWidget* owner);
    void showWhereItWas();

    QString m_folder;
    std::optional<HelpTopics> m_topics;
    QPointer<QWidget> m_home;
    QPointer<QWidget> m_owner;
    QString m_searchWords;
    QRect m_placement;
    bool m_placed = false;

    QTabWidget* tbsHelp = nullptr;
    QTreeWidget* tvwContents = nullptr;
    QLineEdit* txtSearch = nullptr;
    QListWidget* lstResults = nullptr;
    QTextBrowser* brwTopic = nullptr;
    QAction* cmdBack = nullptr;
    QAction* cmdForward = nullptr;
    QAction* cmdHome = nullptr;
};

} // namespace halcyra
