#pragma once

// Kept to C++17 with its source file: the qpdf headers of Debian 12 do not compile as C++20
// under clang (an incomplete type in a constexpr vector destructor, fixed in qpdf 11.4).

#include "core/Result.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace halcyra {

// Where a fixed document's own page goes into a finished report PDF: page `page` (from 1) of
// the report is a placeholder carrying only the footer.
struct PlacedDocumentPage
{
    int page;
    QString path;
    int documentPage;
};

// The fixed documents this thread read, let go (see releaseThreadLayouts).
void releaseThreadSourceDocuments();

// Puts the fixed documents' own pages into a report PDF written with placeholders for them
// (PainterPageWriter::setPlaceDocumentPages): each placeholder page keeps what was printed on it
// (the footer) over the document's page, scaled to the report's paper and centred, so the
// documents' text stays text.
// Parsed documents are kept per thread: qpdf objects are not safe to share between threads,
// and a batch puts the same few documents into every report.
Result<QByteArray> assembleReportPdf(const QByteArray& report,
                                     const std::vector<PlacedDocumentPage>& placed);

} // namespace halcyra
