#pragma once

class QPushButton;

namespace halcyra {

// Enter and Return on a push button that has the focus press it, as Space does. No button
// becomes the window's default by it, so Enter typed in a box still presses nothing. A key
// held down presses once.
void pressWithEnterWhenFocused(QPushButton* button);

} // namespace halcyra
