#pragma once

#include "core/Result.h"
#include "core/UserPrompts.h"

#include <QString>

namespace halcyra {

class Catalogue;
class PageWriter;
class SettingsStore;

// The font the questionnaire prints in, as stored in the options ("FormatQName",
// "FormatQSize"); a size that is no number gives the default 8.
UserPrompts::FontChoice questionnaireFont(const SettingsStore& settings);
void saveQuestionnaireFont(SettingsStore& settings, const UserPrompts::FontChoice& font);

// The blank paper questionnaire a client fills in by hand: title, blank detail lines,
// instructions, the supplemental and yes/no questions and every scored section with its
// total line. It is made from the catalogue alone: nothing of any client is printed on it.
// The caller ends the document.
void printQuestionnaire(const Catalogue& catalogue, const UserPrompts::FontChoice& font,
                        PageWriter& writer);

// The printout as a PDF file (US Letter), written whole or not at all; the number of pages.
Result<int> writeQuestionnairePdf(const QString& path, const Catalogue& catalogue,
                                  const UserPrompts::FontChoice& font);

} // namespace halcyra
