// Profiles per second: the evaluation and the supplement guide of one client, as the report
// commands run them.

#include "core/Catalogue.h"
#include "reports/Evaluation.h"
#include "reports/ProfileInput.h"
#include "reports/ReferenceTables.h"
#include "reports/SupplementGuide.h"

#include <benchmark/benchmark.h>
#include <random>
#include <vector>

using namespace halcyra;

namespace {

constexpr size_t kProfileCount = 1024;

const Catalogue& catalogue()
{
    static const Catalogue builtIn = Catalogue::builtIn();
    return builtIn;
}

const ReferenceTables& tables()
{
    static const ReferenceTables built = ReferenceTables::fromCatalogue(catalogue());
    return built;
}

// A fixed spread of clients: scores over the whole range of the boxes, both sexes, all ages,
// every yes/no answer.
const std::vector<ProfileInput>& inputs()
{
    static const std::vector<ProfileInput> profiles = [] {
        std::mt19937 random(20240611);
        std::uniform_int_distribution<int> score(0, 20);
        std::uniform_int_distribution<int> age(18, 85);
        std::uniform_int_distribution<int> coin(0, 1);
        std::uniform_int_distribution<int> cholesterol(140, 280);
        std::uniform_int_distribution<int> hdl(0, 80);
        std::vector<ProfileInput> result(kProfileCount);
        for (ProfileInput& input : result) {
            for (QString& text : input.scores)
                text = QString::number(score(random));
            for (bool& answer : input.yesNo)
                answer = coin(random) == 1;
            input.age = QString::number(age(random));
            input.sex = coin(random) == 1 ? QStringLiteral("F") : QStringLiteral("M");
            input.totalCholesterol = QString::number(cholesterol(random));
            input.hdl = QString::number(hdl(random));
        }
        return result;
    }();
    return profiles;
}

const std::vector<PreparedProfile>& prepared()
{
    static const std::vector<PreparedProfile> profiles = [] {
        std::vector<PreparedProfile> result;
        result.reserve(kProfileCount);
        for (const ProfileInput& input : inputs())
            result.push_back(prepareProfile(input, tables()));
        return result;
    }();
    return profiles;
}

// The evaluation and the guide of a profile whose boxes have been read.
void EvaluationAndGuide(benchmark::State& state)
{
    const auto& profiles = prepared();
    const ReferenceTables& referenceTables = tables();
    size_t next = 0;
    for (auto _ : state) {
        const PreparedProfile& profile = profiles[next];
        next = (next + 1) % profiles.size();
        Evaluation evaluation = evaluateProfile(profile, referenceTables);
        SupplementGuide guide = ComputeSupplementGuide(profile);
        benchmark::DoNotOptimize(evaluation);
        benchmark::DoNotOptimize(guide);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(EvaluationAndGuide);

void GuideOnly(benchmark::State& state)
{
    const auto& profiles = prepared();
    size_t next = 0;
    for (auto _ : state) {
        SupplementGuide guide = ComputeSupplementGuide(profiles[next]);
        next = (next + 1) % profiles.size();
        benchmark::DoNotOptimize(guide);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(GuideOnly);

// The same, starting from the texts of the boxes (the number parse of 46 texts included).
void ReadingEvaluationAndGuide(benchmark::State& state)
{
    const auto& profiles = inputs();
    const ReferenceTables& referenceTables = tables();
    size_t next = 0;
    for (auto _ : state) {
        const PreparedProfile profile = prepareProfile(profiles[next], referenceTables);
        next = (next + 1) % profiles.size();
        Evaluation evaluation = evaluateProfile(profile, referenceTables);
        SupplementGuide guide = ComputeSupplementGuide(profile);
        benchmark::DoNotOptimize(evaluation);
        benchmark::DoNotOptimize(guide);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(ReadingEvaluationAndGuide);

// The listing the reports show: names, units and possible references from the catalogue.
void GuideListing(benchmark::State& state)
{
    const auto& profiles = prepared();
    size_t next = 0;
    for (auto _ : state) {
        const PreparedProfile& profile = profiles[next];
        next = (next + 1) % profiles.size();
        std::vector<GuideLine> lines = listSupplementGuide(ComputeSupplementGuide(profile),
                                                           profile.yesNo, catalogue(), tables());
        benchmark::DoNotOptimize(lines);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(GuideListing);

} // namespace
