#pragma once

#include <QWidget>
#include <functional>

namespace halcyra::test {

// Acts on the next modal window as soon as it shows: the test's stand-in for a person.
// Call before the code that opens the window; `action` gets the modal window and must close
// it. Returns at once; the action runs from the event loop of the modal window.
void whenModalShows(std::function<void(QWidget* modal)> action);

// A child of a window by object name; null when there is none.
template <typename T> T* child(QWidget* window, const QString& name)
{
    return window ? window->findChild<T*>(name) : nullptr;
}

} // namespace halcyra::test
