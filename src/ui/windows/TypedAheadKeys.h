#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <chrono>

class QWidget;

namespace halcyra {

// Holds back keys from a window that opens in the middle of the adviser's typing: the keys
// that reach it in its first moment, which were meant for the box behind it, and the repeats
// and releases of keys that went down before it opened. A space then cannot tick a box or
// press a button of a window the adviser has not seen yet. Escape always gets through: it
// only closes or cancels.
class TypedAheadKeys final : public QObject
{
public:
    static constexpr std::chrono::milliseconds kMoment{500};

    // Watches `window` and the controls it holds now.
    explicit TypedAheadKeys(QWidget* window);

    // The window is opening: its moment starts again.
    void opened();
    void setMoment(std::chrono::milliseconds moment) { m_moment = moment; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool holdsBack(int key, bool pressing, bool repeating);

    std::chrono::milliseconds m_moment = kMoment;
    QElapsedTimer m_sinceOpened;
    QSet<int> m_pressedHere; // keys that went down while the window could take them
};

} // namespace halcyra
