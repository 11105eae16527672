#pragma once

#include "core/Result.h"
#include "reports/PainterPageWriter.h"

#include <QByteArray>
#include <vector>

namespace halcyra {

// Puts the fixed documents' own pages into a report PDF written with placeholders for them
// (PainterPageWriter::setPlaceDocumentPages): each placeholder page keeps what was printed on it
// (the footer) over the document's page, scaled to the report's paper and centred, so the
// documents' text stays text.
// Parsed documents are kept per thread: qpdf objects are not safe to share between threads,
// and a batch puts the same few documents into every report.
Result<QByteArray> assembleReportPdf(const QByteArray& report,
                                     const std::vector<PainterPageWriter::PlacedPage>& placed);

} // namespace halcyra
