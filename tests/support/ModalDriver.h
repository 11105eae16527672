#pragma once

#include <QWidget>
#include <functional>

namespace halcyra::test {

// Acts on the next modal window as soon as it shows: the test's stand-in for a person.
// Call before the code that opens the window; `action` gets the modal window and must close
// it. Returns at once; the action runs from the event loop of the modal window. The watch
// ends when `context` is destroyed or after five seconds without a modal window.
void whenModalShows(QObject* context, std::function<void(QWidget* modal)> action);

} // namespace halcyra::test
