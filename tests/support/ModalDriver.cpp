#include "support/ModalDriver.h"

#include <QApplication>
#include <QTimer>
#include <memory>

namespace halcyra::test {
namespace {

constexpr int kPollMs = 10;
constexpr int kMostPolls = 500; // 5 seconds: a window that never shows ends the poll

void poll(const std::shared_ptr<std::function<void(QWidget*)>>& action, int pollsLeft)
{
    QTimer::singleShot(pollsLeft == kMostPolls ? 0 : kPollMs, QCoreApplication::instance(),
                       [action, pollsLeft] {
                           if (QWidget* modal = QApplication::activeModalWidget()) {
                               (*action)(modal);
                               return;
                           }
                           if (pollsLeft > 0)
                               poll(action, pollsLeft - 1);
                       });
}

} // namespace

void whenModalShows(std::function<void(QWidget* modal)> action)
{
    poll(std::make_shared<std::function<void(QWidget*)>>(std::move(action)), kMostPolls);
}

} // namespace halcyra::test
