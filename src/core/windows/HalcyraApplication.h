#pragma once

#include <QApplication>

namespace halcyra {

class ErrorReporter;

// The application object. Any error that escapes an event handler is caught here and goes to
// the error reporter under the label of the procedure that was running; the program carries
// on with the next event. This is the standard trap for every window handler.
class HalcyraApplication : public QApplication
{
public:
    HalcyraApplication(int& argc, char** argv);
    void setErrorReporter(ErrorReporter* reporter) { m_reporter = reporter; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    ErrorReporter* m_reporter = nullptr;
};

} // namespace halcyra
