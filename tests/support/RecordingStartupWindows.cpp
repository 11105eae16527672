#include "support/RecordingStartupWindows.h"

#include "core/ErrorReporter.h"
#include "support/HandMovedClock.h"

#include <stdexcept>

namespace halcyra::test {
namespace {

// Far more waits than any start-up needs: a wait that never ends fails instead of hanging.
constexpr qsizetype kMostWaits = 100000;

} // namespace

RecordingStartupWindows::RecordingStartupWindows(HandMovedClock& clock) : m_clock(clock)
{
    companyInfo = {QStringLiteral("Green Leaf Wellness"),
                   QStringLiteral("Marsh"),
                   QStringLiteral("Ida"),
                   QStringLiteral("12 Elm Road"),
                   QStringLiteral("Springfield"),
                   QStringLiteral("IL"),
                   QStringLiteral("62701"),
                   QStringLiteral("555-0100"),
                   QStringLiteral("555-0101"),
                   QStringLiteral("555-0102"),
                   QStringLiteral("ida@example.com")};
}

double RecordingStartupWindows::clockAt(const QString& step) const
{
    const auto it = m_clockAt.find(step);
    return it == m_clockAt.end() ? -1 : it->second;
}

void RecordingStartupWindows::onStep(const QString& step, std::function<void()> action)
{
    m_actions[step] = std::move(action);
}

void RecordingStartupWindows::record(const QString& step)
{
    m_steps.append(step);
    m_clockAt[step] = m_clock.unwrapped();
    if (const auto it = m_actions.find(step); it != m_actions.end())
        it->second();
    if (step == m_failing)
        throw ProgramError(5, QStringLiteral("Invalid procedure call or argument"));
}

void RecordingStartupWindows::ShowMsg(const QString& title, const QString& message)
{
    m_messages.append({title, message});
    record(QStringLiteral("ShowMsg"));
}

void RecordingStartupWindows::processEvents()
{
    record(QStringLiteral("processEvents"));
}

void RecordingStartupWindows::waitFor(int milliseconds)
{
    m_waits.append(milliseconds);
    if (m_waits.size() > kMostWaits)
        throw std::runtime_error("the wait never ends");
    m_clock.advance(milliseconds / 1000.0);
}

CompanyInfo RecordingStartupWindows::loadCompanyInfo()
{
    record(QStringLiteral("loadCompanyInfo"));
    return companyInfo;
}

} // namespace halcyra::test
