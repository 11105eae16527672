// The browser window on pages written by the test, in the real web engine.

#include "ui/windows/WebBrowserControl.h"
#include "ui/windows/frmBrowser.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#include "support/WebEngineUnderSanitizer.h"

using namespace halcyra;
using namespace Qt::StringLiterals;

class BrowserTest : public QObject
{
    Q_OBJECT
public:
    static void initMain()
    {
        // As the program does before its application object exists.
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
#ifdef Q_OS_UNIX
        // The engine will not start as root with its sandbox on; the test runs only local pages.
        if (geteuid() == 0)
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
    }

private slots:
    void initTestCase();
    void navigationListsEachAddressOnce();
    void captionSaysWorkingWhileLoading();

private:
    QUrl writePage(const QString& name, const QString& title, const QString& body);
    QTemporaryDir m_pages;
};

QUrl BrowserTest::writePage(const QString& name, const QString& title, const QString& body)
{
    QFile file(m_pages.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(
        u"<html><head><title>%1</title></head><body>%2</body></html>"_s.arg(title, body).toUtf8());
    return QUrl::fromLocalFile(file.fileName());
}

void BrowserTest::initTestCase()
{
    if (const auto created = frmBrowser::create(); !created)
        QSKIP(qPrintable(u"The web engine module does not load here: "_s + created.error()));
}

void BrowserTest::navigationListsEachAddressOnce()
{
    const QUrl first = writePage(u"first.html"_s, u"First Page"_s, u"one"_s);
    const QUrl second = writePage(u"second.html"_s, u"Second Page"_s, u"two"_s);
    auto created = frmBrowser::create();
    QVERIFY2(created, qPrintable(created.error()));
    const auto window = std::move(*created);
    auto* combo = window->findChild<QComboBox*>(u"cboAddress"_s);

    window->open(first.toString());
    QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), u"First Page"_s, 20000);

    // An address typed and confirmed with Enter.
    combo->setFocus();
    combo->lineEdit()->setText(second.toString());
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), u"Second Page"_s, 20000);

    window->findChild<QAction*>(u"tbToolBar_Back"_s)->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), u"First Page"_s, 20000);
    QCOMPARE(combo->currentText(), first.toString());

    // The same page again, written otherwise, from a menu link.
    window->open(u"FILE://"_s + first.path());
    QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), u"First Page"_s, 20000);
    QTRY_VERIFY(!window->control().isBusy());
    QCOMPARE(combo->count(), 2);
}

void BrowserTest::captionSaysWorkingWhileLoading()
{
    // The page holds its loading for a second and a half.
    const QUrl slow = writePage(
        u"slow.html"_s, u"Slow Page"_s,
        u"<script>const end = Date.now() + 1500; while (Date.now() < end) {}</script>done"_s);
    auto created = frmBrowser::create();
    QVERIFY2(created, qPrintable(created.error()));
    const auto window = std::move(*created);
    window->open(slow.toString());
    QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), frmBrowser::workingCaption(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), u"Slow Page"_s, 20000);
    QTRY_VERIFY(!window->findChild<QTimer*>(u"timTimer"_s)->isActive());
    QCOMPARE(window->windowTitle(), u"Slow Page"_s);
}

QTEST_MAIN(BrowserTest)
#include "tst_browser.moc"
