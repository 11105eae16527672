#include "DocumentSet.h"

#include "CatalogueContent.h"
#include "FlyerBook.h"
#include "Markup.h"
#include "PdfOutput.h"
#include "core/Catalogue.h"
#include "core/OutputFile.h"
#include "reports/QuestionnaireDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace halcyra::docgen {
namespace {

// Flyer file names are catalogue entries in this id range; the groups start at 8801.
constexpr int kFirstFlyerFile = 8000;
constexpr int kLastFlyerFile = 8799;

QString readText(const QString& path, QStringList* errors)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        errors->append(QStringLiteral("%1: %2").arg(path, file.errorString()));
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

QStringList textFiles(const QString& folder)
{
    QStringList paths;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name))
        paths.append(dir.filePath(name));
    return paths;
}

QStringList prefixed(const QString& prefix, const QStringList& messages)
{
    QStringList result;
    for (const QString& message : messages)
        result.append(prefix + message);
    return result;
}

class Generator
{
public:
    Generator(const Catalogue& catalogue, const QString& sourceFolder, const QString& outputFolder)
        : m_catalogue(catalogue), m_sources(sourceFolder), m_output(outputFolder)
    {}

    GenerationReport run()
    {
        if (!QDir().mkpath(m_output)) {
            m_report.errors.append(QStringLiteral("%1: cannot create the folder").arg(m_output));
            return m_report;
        }
        writeDocuments();
        writeFlyers();
        writeQuestionnaireDocument();
        removeStaleFiles();
        return m_report;
    }

private:
    void render(const QString& fileName, const QString& origin, const QString& markup,
                const QString& fallbackTitle)
    {
        QStringList problems;
        const std::vector<Block> blocks =
            expandDirectives(parseMarkup(markup, &problems), m_catalogue, &problems);
        if (!problems.isEmpty()) {
            m_report.errors += prefixed(origin + QStringLiteral(": "), problems);
            return;
        }
        QString title = documentTitle(blocks);
        if (title.isEmpty())
            title = fallbackTitle;
        QString error;
        if (!writePdf(QDir(m_output).filePath(fileName), title, blocks, &error)) {
            m_report.errors.append(error);
            return;
        }
        m_written.insert(fileName);
        ++m_report.written;
    }

    void writeDocuments()
    {
        for (const QString& path : textFiles(m_sources.path())) {
            const QString text = readText(path, &m_report.errors);
            const QFileInfo info(path);
            render(info.completeBaseName() + QStringLiteral(".pdf"), info.fileName(), text,
                   info.completeBaseName());
        }
    }

    QHash<QString, QString> loadTemplates()
    {
        QHash<QString, QString> templates;
        for (const QString& path : textFiles(m_sources.filePath(QLatin1String(kTemplateFolder))))
            templates.insert(QFileInfo(path).completeBaseName(), readText(path, &m_report.errors));
        return templates;
    }

    QHash<QString, FlyerSource> loadFlyerSources()
    {
        QHash<QString, FlyerSource> flyers;
        const QString skipList =
            QFileInfo(m_sources.filePath(QLatin1String(kNotYetAvailableFile))).absoluteFilePath();
        for (const QString& path : textFiles(m_sources.filePath(QLatin1String(kFlyerFolder)))) {
            if (QFileInfo(path).absoluteFilePath() == skipList)
                continue;
            const QString origin = QStringLiteral("flyers/") + QFileInfo(path).fileName();
            for (FlyerSource& flyer :
                 parseFlyerBook(origin, readText(path, &m_report.errors), &m_report.errors)) {
                if (flyers.contains(flyer.fileName)) {
                    m_report.errors.append(QStringLiteral("%1: %2 is already written at %3")
                                               .arg(flyer.origin, flyer.fileName,
                                                    flyers.value(flyer.fileName).origin));
                    continue;
                }
                flyers.insert(flyer.fileName, flyer);
            }
        }
        return flyers;
    }

    void writeFlyer(const FlyerSource& flyer, const QHash<QString, QString>& templates)
    {
        if (!templates.contains(flyer.templateName)) {
            m_report.errors.append(
                QStringLiteral("%1: no template \"%2\"").arg(flyer.origin, flyer.templateName));
            return;
        }
        QMap<QString, QString> fields = flyer.fields;
        if (fields.contains(QStringLiteral("supplement")) &&
            !fields.contains(QStringLiteral("name"))) {
            const int supplement = fields.value(QStringLiteral("supplement")).toInt();
            const QString name = supplementHeading(m_catalogue, supplement);
            if (name.isEmpty()) {
                m_report.errors.append(
                    QStringLiteral("%1: the catalogue has no supplement %2")
                        .arg(flyer.origin, fields.value(QStringLiteral("supplement"))));
                return;
            }
            fields.insert(QStringLiteral("name"), name);
        }
        QStringList problems;
        const QString markup = fillTemplate(templates.value(flyer.templateName), fields, &problems);
        if (!problems.isEmpty()) {
            m_report.errors += prefixed(flyer.origin + QStringLiteral(": "), problems);
            return;
        }
        render(flyer.fileName, flyer.origin, markup, fields.value(QStringLiteral("name")));
    }

    void writeFlyers()
    {
        const QHash<QString, QString> templates = loadTemplates();
        QHash<QString, FlyerSource> flyers = loadFlyerSources();
        const QStringList notYetAvailable = parseNameList(
            readText(m_sources.filePath(QLatin1String(kNotYetAvailableFile)), &m_report.errors));

        for (int id = kFirstFlyerFile; id <= kLastFlyerFile; ++id) {
            if (!m_catalogue.contains(id))
                continue;
            const QString fileName = m_catalogue.LoadResString(id).trimmed();
            const auto source = flyers.constFind(fileName);
            if (notYetAvailable.contains(fileName)) {
                if (source != flyers.cend())
                    m_report.warnings.append(
                        QStringLiteral("%1: %2 is listed as not yet available; not written")
                            .arg(source->origin, fileName));
            } else if (source == flyers.cend()) {
                m_report.warnings.append(
                    QStringLiteral("flyer %1 (catalogue %2) has no source").arg(fileName).arg(id));
            } else if (!m_written.contains(fileName)) {
                writeFlyer(*source, templates);
            }
            flyers.remove(fileName);
        }
        for (const FlyerSource& unused : std::as_const(flyers))
            m_report.warnings.append(QStringLiteral("%1: %2 is not in the catalogue; not written")
                                         .arg(unused.origin, unused.fileName));
    }

    // The questionnaire sent to clients, made from the catalogue like the printed one.
    void writeQuestionnaireDocument()
    {
        const QString path = QDir(m_output).filePath(QStringLiteral("HCYQ.doc"));
        if (const Status written = writeFileWhole(path, questionnaireRtf(m_catalogue)); !written) {
            m_report.errors.append(QStringLiteral("%1: %2").arg(path, written.error()));
            return;
        }
        ++m_report.written;
    }

    void removeStaleFiles()
    {
        const QDir output(m_output);
        for (const QString& name :
             output.entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name)) {
            if (!m_written.contains(name) && !QFile::remove(output.filePath(name)))
                m_report.errors.append(
                    QStringLiteral("%1: cannot remove the old file").arg(output.filePath(name)));
        }
    }

    const Catalogue& m_catalogue;
    const QDir m_sources;
    const QString m_output;
    GenerationReport m_report;
    QSet<QString> m_written;
};

} // namespace

GenerationReport generateDocuments(const Catalogue& catalogue, const QString& sourceFolder,
                                   const QString& outputFolder)
{
    return Generator(catalogue, sourceFolder, outputFolder).run();
}

} // namespace halcyra::docgen
