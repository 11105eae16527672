#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

namespace halcyra::test {

// A virtual screen with a real window manager (Xvfb and openbox), for the few tests that
// depend on how windows stack, which an offscreen run cannot show. Both end with the object.
class RealDesktop
{
public:
    RealDesktop();
    ~RealDesktop();

    // Empty when the desktop is up; otherwise why it could not be started (for QSKIP).
    QString unavailableBecause() const { return m_unavailable; }
    QString display() const { return m_display; }
    // The environment for a program that should open its windows on this desktop.
    QProcessEnvironment environment() const;

    struct Window
    {
        QString id;
        QString title;
        bool splash = false;
        bool viewable = false;
    };
    // The managed windows from the bottom of the stack to the top.
    QList<Window> stack() const;
    // The id of the viewable window titled `title` once it shows, or empty after `ms`.
    QString windowOnceShown(const QString& title, int ms = 60000) const;
    // Runs a tool (xdotool, xprop, ...) on this desktop and gives its output.
    QString run(const QString& program, const QStringList& arguments) const;

private:
    QString m_unavailable;
    QString m_display;
    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<QProcess> m_windowManager;
};

} // namespace halcyra::test
