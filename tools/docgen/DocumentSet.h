#pragma once

#include <QString>
#include <QStringList>

namespace halcyra {
class Catalogue;
}

namespace halcyra::docgen {

// Where the document sources lie (resources/documents):
//     *.txt                        one document each, written as the same name + ".pdf"
//     flyers/templates/*.txt       flyer templates, named by their base name
//     flyers/*.txt                 flyer books (see FlyerBook.h)
//     flyers/not-yet-available.txt flyer files deliberately not supplied yet
inline constexpr auto kFlyerFolder = "flyers";
inline constexpr auto kTemplateFolder = "flyers/templates";
inline constexpr auto kNotYetAvailableFile = "flyers/not-yet-available.txt";

struct GenerationReport
{
    int written = 0;
    QStringList errors;   // the run failed
    QStringList warnings; // the run succeeded, but the documents and the catalogue disagree
};

// Writes every document and flyer into `outputFolder` and removes PDF files there that this
// run did not write, so a renamed flyer leaves no stale file behind.
GenerationReport generateDocuments(const Catalogue& catalogue, const QString& sourceFolder,
                                   const QString& outputFolder);

} // namespace halcyra::docgen
