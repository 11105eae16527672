#pragma once

#include "core/Result.h"

#include <QWidget>
#include <memory>

class QComboBox;
class QLabel;
class QTimer;
class QToolBar;

namespace halcyra {

class WebBrowserControl;

// The program's own browser window: an address bar, a toolbar and the browser control. Made
// only where the web engine module loads (see open()).
class frmBrowser : public QWidget
{
    Q_OBJECT
public:
    // The window; fails with the reason when the browser control cannot be had.
    static Result<std::unique_ptr<frmBrowser>> create(QWidget* parent = nullptr);
    ~frmBrowser() override;

    // Shows `address` and brings the window up without waiting for it. The first call loads
    // the window with it as its starting address; later calls go to the new address, so a
    // second link opens its own page rather than showing the window as it was.
    void open(const QString& address);

    QString StartingAddress;

    WebBrowserControl& control() const { return *brwWebBrowser; }
    // The caption while a page loads.
    static QString workingCaption() { return QStringLiteral("Working..."); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    frmBrowser(std::unique_ptr<WebBrowserControl> control, QWidget* parent);

    void Form_Load();
    void cboAddress_Click();
    void brwWebBrowser_NavigateComplete();
    void timTimer_Timer();
    void tbToolBar_ButtonClick(const QString& key);
    void navigate(const QString& address);

    bool m_loaded = false;
    QWidget* picAddress;
    QLabel* lblAddress;
    QComboBox* cboAddress;
    QToolBar* tbToolBar;
    QTimer* timTimer;
    std::unique_ptr<WebBrowserControl> brwWebBrowser;
};

} // namespace halcyra
