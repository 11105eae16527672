#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace halcyra {

// The help topic of a control: its own "HelpContextID", else that of the nearest control
// around it, else its window's; the contents when none has one.
int helpContextOf(const QWidget* widget);

// F1 anywhere in the program: opens the topic of the control with the focus.
class HelpKeyFilter : public QObject
{
public:
    HelpKeyFilter(std::function<void(int context)> open, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(int)> m_open;
};

} // namespace halcyra
