// Only qpdf's std::shared_ptr interface is used.
#define POINTERHOLDER_TRANSITION 4

#include "reports/ReportAssembly.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <map>
#include <memory>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <stdexcept>

namespace halcyra {
namespace {

// One fixed document as qpdf read it, with a form XObject made of each page.
struct SourceDocument
{
    std::unique_ptr<QPDF> pdf;
    std::vector<QPDFObjectHandle> pages;
    qint64 size = 0;
    QDateTime modified;
};

std::map<QString, SourceDocument>& sourceDocuments()
{
    thread_local std::map<QString, SourceDocument> kept;
    return kept;
}

SourceDocument& sourceDocument(const QString& path)
{
    std::map<QString, SourceDocument>& kept = sourceDocuments();
    const QFileInfo info(path);
    SourceDocument& source = kept[path];
    if (source.pdf && source.size == info.size() && source.modified == info.lastModified())
        return source;
    source = SourceDocument{};
    auto pdf = std::make_unique<QPDF>();
    pdf->setSuppressWarnings(true);
    pdf->processFile(QFile::encodeName(path).constData());
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(*pdf).getAllPages()) {
        QPDFObjectHandle form = page.getFormXObjectForPage();
        // The form's content is made from the page's content streams when it is written:
        // compressed once here, every report copies the bytes as they are.
        const std::shared_ptr<Buffer> content = form.getStreamData(qpdf_dl_all);
        QByteArray compressed = qCompress(reinterpret_cast<const uchar*>(content->getBuffer()),
                                          static_cast<qsizetype>(content->getSize()));
        compressed.remove(0, 4); // qCompress's length prefix; the rest is a zlib stream
        form.replaceStreamData(compressed.toStdString(), QPDFObjectHandle::newName("/FlateDecode"),
                               QPDFObjectHandle::newNull());
        source.pages.push_back(form);
    }
    source.pdf = std::move(pdf);
    source.size = info.size();
    source.modified = info.lastModified();
    return source;
}

} // namespace

void releaseThreadSourceDocuments()
{
    sourceDocuments().clear();
}

Result<QByteArray> assembleReportPdf(const QByteArray& report,
                                     const std::vector<PlacedDocumentPage>& placed)
{
    if (placed.empty())
        return report;
    const PlacedDocumentPage* current = nullptr;
    try {
        QPDF out;
        out.setSuppressWarnings(true);
        out.processMemoryFile("report", report.constData(), static_cast<size_t>(report.size()));
        std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(out).getAllPages();
        int next = 0;
        for (const PlacedDocumentPage& place : placed) {
            current = &place;
            SourceDocument& source = sourceDocument(place.path);
            if (place.page < 1 || place.page > static_cast<int>(pages.size()) ||
                place.documentPage < 0 ||
                place.documentPage >= static_cast<int>(source.pages.size()))
                return fail(
                    QStringLiteral("The document \"%1\" could not be put into the report: %2")
                        .arg(QDir::toNativeSeparators(place.path),
                             QStringLiteral("the page is not there")));
            QPDFPageObjectHelper& page = pages[static_cast<size_t>(place.page - 1)];
            QPDFObjectHandle form =
                out.copyForeignObject(source.pages[static_cast<size_t>(place.documentPage)]);
            QPDFObjectHandle resources = page.getObjectHandle().getKey("/Resources");
            if (!resources.isDictionary()) {
                resources = QPDFObjectHandle::newDictionary();
                page.getObjectHandle().replaceKey("/Resources", resources);
            }
            // QPdfWriter's pages share one resource dictionary: names unique over the report.
            const std::string name = "/HcyDocument" + std::to_string(++next);
            if (!resources.getKey("/XObject").isDictionary())
                resources.replaceKey("/XObject", QPDFObjectHandle::newDictionary());
            resources.getKey("/XObject").replaceKey(name, form);
            // The whole paper: a document page has its own margins, and a Letter page on Letter
            // paper keeps its size.
            const std::string placement = page.placeFormXObject(
                form, name, page.getMediaBox().getArrayAsRectangle(), true, true, true);
            // Under the footer: the document's page is drawn first.
            page.addPageContents(QPDFObjectHandle::newStream(&out, "q\n" + placement + "\nQ\n"),
                                 true);
        }
        current = nullptr;
        QPDFWriter writer(out);
        writer.setOutputMemory();
        // Streams are copied as they are, without decoding and compressing them again.
        writer.setDecodeLevel(qpdf_dl_none);
        writer.setObjectStreamMode(qpdf_o_generate);
        writer.write();
        const std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
        return QByteArray(reinterpret_cast<const char*>(buffer->getBuffer()),
                          static_cast<qsizetype>(buffer->getSize()));
    } catch (const std::exception& e) {
        const QString what = QString::fromLocal8Bit(e.what());
        if (current)
            return fail(QStringLiteral("The document \"%1\" could not be put into the report: %2")
                            .arg(QDir::toNativeSeparators(current->path), what));
        return fail(QStringLiteral("The report could not be assembled: %1").arg(what));
    }
}

} // namespace halcyra
