#pragma once

class QPrinter;
class QWidget;

namespace halcyra {

class Catalogue;
class ErrorReporter;
class SettingsStore;
struct ProgramState;

// Print > Questionnaire: the font dialog on the stored questionnaire font, the choice stored
// back, then the blank questionnaire on the program's printer under the printing notice. No
// Print dialog is shown, so when the printer is the PDF writer the adviser is asked for the
// file: the file another print went to is never written over unasked.
class PrintQuestionnaireCommand
{
public:
    PrintQuestionnaireCommand(const Catalogue& catalogue, SettingsStore& settings,
                              const ProgramState& state, ErrorReporter& reporter);

    // False when the font or file question was cancelled or nothing could be printed.
    bool run(QPrinter& printer, QWidget* parent);

private:
    const Catalogue& m_catalogue;
    SettingsStore& m_settings;
    const ProgramState& m_state;
    ErrorReporter& m_reporter;
};

} // namespace halcyra
