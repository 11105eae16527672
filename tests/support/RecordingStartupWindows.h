#pragma once

#include "core/Startup.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>

namespace halcyra::test {

class HandMovedClock;

// Start-up windows that only write down what start-up asked of them. Waiting moves the
// hand-moved clock instead of the real one, so no test depends on real time.
class RecordingStartupWindows final : public StartupWindows
{
public:
    struct Message
    {
        QString title;
        QString text;
    };

    explicit RecordingStartupWindows(HandMovedClock& clock);

    // The steps in the order they were asked for, by method name ("showSplash", ...). Waits
    // are kept apart in waits().
    const QStringList& steps() const { return m_steps; }
    const QList<Message>& messages() const { return m_messages; }
    const QList<int>& waits() const { return m_waits; }
    // Unwrapped clock readings when a step ran (the last time it ran).
    double clockAt(const QString& step) const;

    // The fields loadCompanyInfo() returns; all filled unless a test says otherwise.
    CompanyInfo companyInfo;
    // Makes a step throw a ProgramError, as a failing window would.
    void failAt(const QString& step) { m_failing = step; }
    // Runs while a step runs, e.g. to let time pass while the tips are open.
    void onStep(const QString& step, std::function<void()> action);

    void createMainWindow() override { record(QStringLiteral("createMainWindow")); }
    void ShowMsg(const QString& title, const QString& message) override;
    void showSplash() override { record(QStringLiteral("showSplash")); }
    void closeSplash() override { record(QStringLiteral("closeSplash")); }
    void showTips() override { record(QStringLiteral("showTips")); }
    void processEvents() override;
    void waitFor(int milliseconds) override;
    CompanyInfo loadCompanyInfo() override;
    void showCompanyInfo() override { record(QStringLiteral("showCompanyInfo")); }
    void showMainWindow() override { record(QStringLiteral("showMainWindow")); }

private:
    void record(const QString& step);

    HandMovedClock& m_clock;
    QStringList m_steps;
    QList<Message> m_messages;
    QList<int> m_waits;
    std::map<QString, double> m_clockAt;
    std::map<QString, std::function<void()>> m_actions;
    QString m_failing;
};

} // namespace halcyra::test
