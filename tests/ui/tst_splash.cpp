#include "core/Catalogue.h"
#include "ui/WindowsVersion.h"
#include "ui/windows/frmSplash.h"

#include <QLabel>
#include <QTest>

using namespace halcyra;
using namespace Qt::StringLiterals;

class SplashTest : public QObject
{
    Q_OBJECT
private slots:
    void labelsShowTitleVersionSystemAndNotice();
};

namespace {

QString labelText(const QWidget& window, const QString& name)
{
    const auto* label = window.findChild<QLabel*>(name);
    return label ? label->text() : u"<no label %1>"_s.arg(name);
}

} // namespace

void SplashTest::labelsShowTitleVersionSystemAndNotice()
{
    Catalogue catalogue;
    QStringList errors;
    QVERIFY(catalogue.addSource(
        u"test.txt"_s, u"1045 = Notice: copying this program is not allowed.\n"_s, &errors));
    frmSplash splash(catalogue);
    QCOMPARE(labelText(splash, u"lblProductName"_s), u"Halcyra 6.3"_s);
    QCOMPARE(labelText(splash, u"lblVersion"_s), u"Version 6.3.18"_s);
    QCOMPARE(labelText(splash, u"lblPlatform"_s), GetWindowsVersionName());
    QCOMPARE(labelText(splash, u"lblWarning"_s), u"Notice: copying this program is not allowed."_s);
    QVERIFY(splash.findChild<QLabel*>(u"picLogo"_s));
    QVERIFY(!splash.findChild<QLabel*>(u"picLogo"_s)->pixmap().isNull());
}

QTEST_MAIN(SplashTest)
#include "tst_splash.moc"
