// Profile evaluation and the supplement guide on any typed boxes: no crash, no undefined
// behaviour, and the listed guide agrees with the computed one.

#include "core/Catalogue.h"
#include "reports/Evaluation.h"
#include "reports/ProfileInput.h"
#include "reports/ReferenceTables.h"
#include "reports/SupplementGuide.h"

#include <QStringList>
#include <cstdint>
#include <cstdlib>

using namespace halcyra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const Catalogue catalogue = Catalogue::builtIn();
    static const ReferenceTables tables = ReferenceTables::fromCatalogue(catalogue);
    if (size < 1)
        return 0;

    // First byte: the yes/no answers; then the boxes, one per line: 41 scores, age, sex,
    // total cholesterol, HDL.
    ProfileInput input;
    for (int k = 0; k < kYesNoCount; ++k)
        input.yesNo[static_cast<size_t>(k)] = (data[0] >> k) & 1;
    const QStringList boxes =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1))
            .split(u'\n');
    const auto box = [&](qsizetype i) { return i < boxes.size() ? boxes[i] : QString(); };
    for (int r = 0; r < kReportRowCount; ++r)
        input.scores[static_cast<size_t>(r)] = box(r);
    input.age = box(kReportRowCount);
    input.sex = box(kReportRowCount + 1);
    input.totalCholesterol = box(kReportRowCount + 2);
    input.hdl = box(kReportRowCount + 3);

    const PreparedProfile prepared = prepareProfile(input, tables);
    const Evaluation evaluation = evaluateProfile(prepared, tables);
    (void)evaluation.analysis();
    const SupplementGuide guide = ComputeSupplementGuide(prepared);
    // A listed line had a quantity above 0 when it was listed; the reactive hypoglycemia line
    // shows 0 afterwards by design.
    for (const GuideLine& line : listSupplementGuide(guide, prepared.yesNo, catalogue, tables))
        if (line.index < 1 || line.index > kGuideSupplementCount ||
            guide.quantity[static_cast<size_t>(line.index)] <= 0 || line.quantity < 0 ||
            line.references < 0)
            std::abort();
    return 0;
}
