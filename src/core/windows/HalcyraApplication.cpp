#include "core/windows/HalcyraApplication.h"

#include "core/ErrorReporter.h"

namespace halcyra {

HalcyraApplication::HalcyraApplication(int& argc, char** argv) : QApplication(argc, argv) {}

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
