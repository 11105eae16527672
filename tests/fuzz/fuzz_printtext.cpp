// The paragraph printer on any text: markup codes, word wrap and page breaks must neither
// crash nor loop, and nothing may be drawn outside the page.

#include "reports/PrintText.h"
#include "reports/RecordingPageWriter.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

using namespace halcyra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const auto style = static_cast<ParagraphStyle>(data[0] % 4);
    const double indent = (data[1] % 64) / 8.0; // up to 7.9 inches, wider than some lines
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 2),
                                           static_cast<qsizetype>(size - 2));
    test::RecordingPageWriter writer;
    ParagraphPrinter printer(writer);
    printer.PrintText(text, style, indent);
    printer.PrintText(text, ParagraphStyle::Plain, 0);
    for (const auto& drawn : writer.drawn)
        if (!std::isfinite(drawn.x) || !std::isfinite(drawn.y) || drawn.y < 0 ||
            drawn.y > writer.printableSize().height())
            std::abort();
    return 0;
}
