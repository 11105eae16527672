#pragma once

class QPrinter;
class QWidget;

namespace halcyra {

class Catalogue;
class ErrorReporter;
class SettingsStore;

// Print > Questionnaire: the font dialog on the stored questionnaire font, the choice stored
// back, then the blank questionnaire on the program's printer under the printing notice.
class PrintQuestionnaireCommand
{
public:
    PrintQuestionnaireCommand(const Catalogue& catalogue, SettingsStore& settings,
                              ErrorReporter& reporter);

    // False when the font dialog was cancelled or the printer could not be started.
    bool run(QPrinter& printer, QWidget* parent);

private:
    const Catalogue& m_catalogue;
    SettingsStore& m_settings;
    ErrorReporter& m_reporter;
};

} // namespace halcyra
