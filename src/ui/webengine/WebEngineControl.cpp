// The browser control on Qt WebEngine, built as a module of its own (see WebBrowserControl.h).

#include "ui/windows/WebBrowserControl.h"

#include <QPointer>
#include <QWebEngineHistory>
#include <QWebEngineView>

namespace halcyra {
namespace {

class WebEngineControl final : public WebBrowserControl
{
public:
    explicit WebEngineControl(QWidget* parent) : m_view(new QWebEngineView(parent))
    {
        m_view->setObjectName(QStringLiteral("brwWebBrowser"));
        QObject::connect(m_view, &QWebEngineView::loadStarted, m_view, [this] {
            m_busy = true;
            if (beforeNavigate)
                beforeNavigate();
        });
        QObject::connect(m_view, &QWebEngineView::loadFinished, m_view, [this](bool) {
            m_busy = false;
            if (navigateComplete)
                navigateComplete();
        });
    }
    ~WebEngineControl() override { delete m_view; }

    QWidget* widget() override { return m_view; }
    void navigate(const QUrl& url) override
    {
        // Busy from the moment it is asked, not only once the engine has started.
        m_busy = true;
        m_view->load(url);
    }
    // The engine starts these a moment later; busy at once, so the window's caption follows.
    void goBack() override
    {
        m_busy = m_busy || m_view->history()->canGoBack();
        m_view->back();
    }
    void goForward() override
    {
        m_busy = m_busy || m_view->history()->canGoForward();
        m_view->forward();
    }
    void refresh() override
    {
        m_busy = true;
        m_view->reload();
    }
    void stop() override
    {
        m_view->stop();
        m_busy = false;
    }
    QString locationName() const override
    {
        const QString title = m_view->title();
        return title.isEmpty() ? m_view->url().toDisplayString() : title;
    }
    QUrl locationUrl() const override { return m_view->url(); }
    bool isBusy() const override { return m_busy; }

private:
    QPointer<QWebEngineView> m_view;
    bool m_busy = false;
};

} // namespace
} // namespace halcyra

extern "C" Q_DECL_EXPORT halcyra::WebBrowserControl* halcyraCreateWebBrowserControl(QWidget* parent)
{
    return new halcyra::WebEngineControl(parent);
}
