#include "core/windows/HalcyraApplication.h"

#include "core/ErrorReporter.h"

#include <QIcon>

namespace halcyra {

HalcyraApplication::HalcyraApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // Every window takes this icon; the desktop file's name lets a Wayland desktop match the
    // windows to the menu entry and its icon.
    setWindowIcon(QIcon(QStringLiteral(":/icons/org.halcyra.Halcyra.svg")));
    setDesktopFileName(QStringLiteral("org.halcyra.Halcyra"));
}

bool HalcyraApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (!m_reporter)
            throw;
        m_reporter->reportException(std::current_exception(),
                                    m_reporter->takeFailedProcedureLabel());
        return false;
    }
}

} // namespace halcyra
