#include "support/HandMovedClock.h"

#include <cmath>

namespace halcyra::test {

double HandMovedClock::secondsSinceMidnight() const
{
    return std::fmod(m_total, 86400.0);
}

} // namespace halcyra::test
