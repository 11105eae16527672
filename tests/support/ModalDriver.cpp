#include "support/ModalDriver.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <memory>

namespace halcyra::test {
namespace {

constexpr int kPollMs = 10;
constexpr int kMostPolls = 500;

void poll(QObject* context, const std::shared_ptr<std::function<void(QWidget*)>>& action,
          int pollsLeft)
{
    QTimer::singleShot(pollsLeft == kMostPolls ? 0 : kPollMs, context,
                       [context, action, pollsLeft] {
                           if (QWidget* modal = QApplication::activeModalWidget()) {
                               (*action)(modal);
                               return;
                           }
                           if (pollsLeft > 0)
                               poll(context, action, pollsLeft - 1);
                       });
}

} // namespace

void whenModalShows(QObject* context, std::function<void(QWidget* modal)> action)
{
    poll(context, std::make_shared<std::function<void(QWidget*)>>(std::move(action)), kMostPolls);
}

} // namespace halcyra::test
