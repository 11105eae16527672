#pragma once

#include "core/Startup.h"

namespace halcyra::test {

// A time of day that moves only when a test (or a fake wait) moves it. It wraps at midnight
// like the real clock, and also keeps the unwrapped time so tests can measure spans.
class HandMovedClock final : public TimeOfDay
{
public:
    explicit HandMovedClock(double secondsSinceMidnight = 36000) : m_total(secondsSinceMidnight) {}

    double secondsSinceMidnight() const override;
    void advance(double seconds) { m_total += seconds; }
    // Seconds since the clock was made plus its starting time, never wrapped.
    double unwrapped() const { return m_total; }

private:
    double m_total;
};

} // namespace halcyra::test
