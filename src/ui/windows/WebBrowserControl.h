#pragma once

#include "core/Result.h"

#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

class QWidget;

namespace halcyra {

// The browser control inside frmBrowser. The web engine behind it is large (tens of megabytes
// mapped at every start), so it lives in a module of its own that is loaded the first time a
// page is shown; the program starts as fast as it did without it.
class WebBrowserControl
{
public:
    virtual ~WebBrowserControl() = default;

    virtual QWidget* widget() = 0;
    virtual void navigate(const QUrl& url) = 0;
    virtual void goBack() = 0;
    virtual void goForward() = 0;
    virtual void refresh() = 0;
    virtual void stop() = 0;
    // The page's title, or its address while it has none.
    virtual QString locationName() const = 0;
    virtual QUrl locationUrl() const = 0;
    virtual bool isBusy() const = 0;

    // Called when a page starts loading, also when the page itself or a link starts it.
    std::function<void()> beforeNavigate;
    // Called when a page has finished loading, whether it loaded or not.
    std::function<void()> navigateComplete;
};

// The control from the web engine module beside the program; fails with the reason when the
// module is not there or does not load.
Result<std::unique_ptr<WebBrowserControl>> loadWebBrowserControl(QWidget* parent);

} // namespace halcyra

// The module's one entry point.
extern "C" {
using CreateWebBrowserControlFunction = halcyra::WebBrowserControl* (*)(QWidget* parent);
}
