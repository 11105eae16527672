#pragma once

#include "core/Result.h"
#include "core/UserPrompts.h"

#include <QString>
#include <QStringList>

namespace halcyra {

class Catalogue;
class PageWriter;
class SettingsStore;

// The form's own texts: the blank lines for the client's details (the last one, a full line of
// underscores, is made to the width of the page) and the instructions.
const QStringList& questionnaireDetailLines();
const QStringList& questionnaireInstructions();
// The heading of the scored sections on the form.
QString pointsSectionHeading();

// How an item of the questionnaire lists is laid out, by its first character.
enum class QuestionnaireItem {
    Total,       // "(": a section-total line, bold, to the right
    Rule,        // "%" or "^" alone: the end of a section, a rule across the page
    Instruction, // "#": bold emphasised note, from the second character
    YesNo,       // "Yes[ ] No[ ] ...": carries its own boxes
    Plain,       // a statement, with the writing blank in front in the scored sections
};
QuestionnaireItem questionnaireItemKind(const QString& item);

// The font the questionnaire prints in, as stored in the options ("FormatQName",
// "FormatQSize"); a size that is no number gives the default 8.
UserPrompts::FontChoice questionnaireFont(const SettingsStore& settings);
void saveQuestionnaireFont(SettingsStore& settings, const UserPrompts::FontChoice& font);
// The font as this machine prints it: a family that is not installed (Times New Roman on most
// Linux desktops) is the one the font configuration puts in its place (Liberation Serif), so
// the font dialog starts on the font the page will have.
UserPrompts::FontChoice installedFont(const UserPrompts::FontChoice& font);

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
