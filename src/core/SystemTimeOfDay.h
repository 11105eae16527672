#pragma once

#include "core/Startup.h"

#include <QTime>

namespace halcyra {

// The computer's own time of day.
class SystemTimeOfDay final : public TimeOfDay
{
public:
    double secondsSinceMidnight() const override
    {
        return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    }
};

} // namespace halcyra
