#pragma once

#include <QApplication>

namespace halcyra {

// The normal pointer while a window waits for the adviser, over whatever hourglass the command
// behind it holds; put back when the window is done.
class ArrowCursor
{
public:
    ArrowCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowCursor() { QApplication::restoreOverrideCursor(); }
    ArrowCursor(const ArrowCursor&) = delete;
    ArrowCursor& operator=(const ArrowCursor&) = delete;
};

} // namespace halcyra
