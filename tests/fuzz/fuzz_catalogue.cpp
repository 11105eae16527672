// The catalogue loader on any source file: no crash, and every id it accepts can be read.

#include "core/Catalogue.h"

#include <QStringList>
#include <cstdint>
#include <cstdlib>

using namespace halcyra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString source =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Catalogue catalogue;
    QStringList errors;
    catalogue.addSource(QStringLiteral("fuzz.txt"), source, &errors);
    const std::vector<int> ids = catalogue.ids();
    if (static_cast<qsizetype>(ids.size()) != catalogue.size())
        std::abort();
    int previous = -1;
    for (int id : ids) {
        if (id <= previous || id < 0 || id > 65535 || !catalogue.contains(id))
            std::abort();
        previous = id;
        (void)catalogue.LoadResString(id);
        (void)catalogue.count(id);
    }
    return 0;
}
