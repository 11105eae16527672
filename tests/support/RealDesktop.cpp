#include "support/RealDesktop.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

namespace halcyra::test {
namespace {

constexpr int kStartWaitMs = 10000;

void stop(QProcess* process)
{
    if (!process || process->state() == QProcess::NotRunning)
        return;
    process->terminate();
    if (!process->waitForFinished(3000)) {
        process->kill();
        process->waitForFinished(3000);
    }
}

} // namespace

RealDesktop::RealDesktop()
{
    for (const char* tool : {"Xvfb", "openbox", "xprop", "xwininfo", "xdotool"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            m_unavailable = QStringLiteral("%1 is not installed").arg(QString::fromLatin1(tool));
            return;
        }
    }
    // Xvfb picks a free display number and writes it to its standard output.
    m_server = std::make_unique<QProcess>();
    m_server->start(QStringLiteral("Xvfb"),
                    {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                     QStringLiteral("0"), QStringLiteral("1280x900x24"),
                     QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    QDeadlineTimer deadline(kStartWaitMs);
    while (!m_server->canReadLine() && !deadline.hasExpired() &&
           m_server->state() != QProcess::NotRunning)
        m_server->waitForReadyRead(100);
    const QString number = QString::fromLatin1(m_server->readLine()).trimmed();
    if (number.isEmpty()) {
        m_unavailable = QStringLiteral("Xvfb did not start");
        return;
    }
    m_display = u':' + number;

    m_windowManager = std::make_unique<QProcess>();
    m_windowManager->setProcessEnvironment(environment());
    m_windowManager->start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    // The manager is ready once it has announced itself on the root window.
    while (!deadline.hasExpired()) {
        if (run(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                .contains(QStringLiteral("window id")))
            return;
        QThread::msleep(100);
    }
    m_unavailable = QStringLiteral("openbox did not start");
}

RealDesktop::~RealDesktop()
{
    stop(m_windowManager.get());
    stop(m_server.get());
}

QProcessEnvironment RealDesktop::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    // Under the sanitizers the X libraries are not ours to judge: their leaks, and their
    // strndup on keyboard names, which the strict string checks take for an overflow.
    const QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
    const QString relaxed = QStringLiteral("detect_leaks=0:strict_string_checks=0");
    env.insert(QStringLiteral("ASAN_OPTIONS"), asan.isEmpty() ? relaxed : asan + u':' + relaxed);
    return env;
}

QString RealDesktop::run(const QString& program, const QStringList& arguments) const
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(program, arguments);
    process.waitForFinished(5000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

QList<RealDesktop::Window> RealDesktop::stack() const
{
    QList<Window> windows;
    const QString list =
        run(QStringLiteral("xprop"),
            {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    static const QRegularExpression idPattern(QStringLiteral("0x[0-9a-fA-F]+"));
    for (const auto& match : idPattern.globalMatch(list)) {
        Window window;
        window.id = match.captured();
        const QString properties =
            run(QStringLiteral("xprop"),
                {QStringLiteral("-id"), window.id, QStringLiteral("_NET_WM_NAME"),
                 QStringLiteral("_NET_WM_WINDOW_TYPE")});
        static const QRegularExpression titlePattern(QStringLiteral("_NET_WM_NAME[^=]*= \"(.*)\""));
        window.title = titlePattern.match(properties).captured(1);
        window.splash = properties.contains(QStringLiteral("_NET_WM_WINDOW_TYPE_SPLASH"));
        window.viewable = run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window.id})
                              .contains(QStringLiteral("IsViewable"));
        windows << window;
    }
    return windows;
}

QString RealDesktop::windowOnceShown(const QString& title, int ms) const
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        for (const Window& window : stack())
            if (window.title == title && window.viewable)
                return window.id;
        QThread::msleep(150);
    }
    return {};
}

} // namespace halcyra::test
