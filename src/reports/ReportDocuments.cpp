#include "reports/ReportDocuments.h"

#include "core/Conversions.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "flyers/ReaderQueue.h"
#include "reports/PageWriter.h"

#include <QDir>
#include <QPainter>
#include <QPdfDocument>

namespace halcyra {
namespace {

QString loadErrorText(QPdfDocument::Error error)
{
    switch (error) {
    case QPdfDocument::Error::FileNotFound:
        return QStringLiteral("the file was not found");
    case QPdfDocument::Error::InvalidFileFormat:
        return QStringLiteral("it is not a PDF file");
    case QPdfDocument::Error::IncorrectPassword:
        return QStringLiteral("it is protected by a password");
    case QPdfDocument::Error::UnsupportedSecurityScheme:
        return QStringLiteral("its protection is not supported");
    case QPdfDocument::Error::DataNotYetAvailable:
    case QPdfDocument::Error::Unknown:
    case QPdfDocument::Error::None:
        break;
    }
    return QStringLiteral("it could not be read");
}

// The page as it prints: the renderer leaves the paper transparent. Opaque, the image is also
// stored more compactly in a PDF.
QImage renderOnPaper(QPdfDocument& pdf, int page, QSize pixels)
{
    QImage paper(pixels, QImage::Format_RGB32);
    paper.fill(Qt::white);
    {
        QPainter painter(&paper);
        painter.drawImage(0, 0, pdf.render(page, pixels));
    }
    return paper;
}

} // namespace

QString dailySheetFile(int n)
{
    if (n >= 1 && n <= 4)
        return QStringLiteral("P%1.PDF").arg(n);
    return n == 5 ? QStringLiteral("NSG.PDF") : QString();
}

QStringList chosenDailySheets(const SettingsStore& settings)
{
    QStringList files;
    for (int n = 1; n <= 5; ++n)
        if (leadingNumber(settings.get(keys::dailySheet(n))) == 1)
            files << dailySheetFile(n);
    return files;
}

FixedDocuments::FixedDocuments(QString folder) : m_folder(std::move(folder)) {}

FixedDocuments::~FixedDocuments() = default;

QString FixedDocuments::locate(const QString& fileName) const
{
    // Names in the program differ in letter case from the files ("P1.PDF", "p1.pdf").
    return findDocument(m_folder, fileName);
}

Result<FixedDocuments::Document*> FixedDocuments::open(const QString& fileName)
{
    const QString key = fileName.toLower();
    if (auto found = m_documents.find(key); found != m_documents.end())
        return &found->second;
    const QString path = locate(fileName);
    if (path.isEmpty())
        return fail(QStringLiteral("The document \"%1\" was not found in %2.")
                        .arg(fileName, QDir::toNativeSeparators(m_folder)));
    auto pdf = std::make_unique<QPdfDocument>();
    const QPdfDocument::Error loaded = pdf->load(path);
    if (loaded != QPdfDocument::Error::None || pdf->pageCount() < 1)
        return fail(QStringLiteral("The document \"%1\" cannot be printed: %2.")
                        .arg(QDir::toNativeSeparators(path), loaded == QPdfDocument::Error::None
                                                                 ? QStringLiteral("it has no pages")
                                                                 : loadErrorText(loaded)));
    Document& document = m_documents[key];
    document.path = path;
    document.pages.resize(static_cast<size_t>(pdf->pageCount()));
    document.pdf = std::move(pdf);
    return &document;
}

Status FixedDocuments::print(const QString& fileName, PageWriter& writer)
{
    const Result<Document*> opened = open(fileName);
    if (!opened)
        return fail(opened.error());
    Document* document = *opened;
    for (int page = 0; page < document->pdf->pageCount(); ++page) {
        writer.newPage();
        if (writer.placeDocumentPage(document->path, page))
            continue;
        const QSizeF points = document->pdf->pagePointSize(page);
        const QSize pixels = writer.pageImageSize(points);
        QImage& image = document->pages[static_cast<size_t>(page)];
        if (image.size() != pixels)
            image = renderOnPaper(*document->pdf, page, pixels);
        writer.drawPageImage(image, points);
    }
    writer.newPage();
    return {};
}

} // namespace halcyra
