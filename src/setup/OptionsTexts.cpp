#include "setup/OptionsTexts.h"

namespace halcyra {

const std::array<MessageSwitch, kMessageSwitchCount>& messageSwitches()
{
    static const std::array<MessageSwitch, kMessageSwitchCount> switches = {{
        {QStringLiteral("AOL Users Questionnaire"),
         QStringLiteral("Turns On/Off information message when Questionnaire button is pushed.")},
        {QStringLiteral("Backup/Restore"),
         QStringLiteral("Turns On/Off information message when File > Utilities > Back or "
                        "Restore is selected.")},
        {QStringLiteral("Empty Field"),
         QStringLiteral("Turns On/Off information message when user attempts to leave "
                        "particular fields empty.")},
        {QStringLiteral("F1 Help Company"),
         QStringLiteral("Turns On/Off information message and F1=Help button on Company Info "
                        "window.")},
        {QStringLiteral("F1 Help Main"),
         QStringLiteral("Turns On/Off information message and F1=Help button on Data Entry "
                        "window.")},
        {QStringLiteral("Field Length Error"),
         QStringLiteral("Turns On/Off information message informing user that they have "
                        "entered too much data in a field.")},
        {QStringLiteral("Field Value Error"),
         QStringLiteral("Turns On/Off warning message when a field holds a value the program "
                        "cannot use, such as a date that does not exist.")},
        {QStringLiteral("Save Confirmation"),
         QStringLiteral("Turns On/Off information message when Save button is pushed.")},
        {QStringLiteral("Tutorial"),
         QStringLiteral("Turns On/Off message asking if user wnats to view the Tutorial at "
                        "program startup.")},
        {QStringLiteral("View Questionnaire"),
         QStringLiteral("Turns On/Off caution message when View > Questionnaire is selected.")},
    }};
    return switches;
}

const std::array<QString, kDocumentsPerPage>& reportDocumentCaptions()
{
    static const std::array<QString, kDocumentsPerPage> captions = {
        QStringLiteral("&Cover Page && Introduction"), QStringLiteral("&Summary"),
        QStringLiteral("&Analysis"), QStringLiteral("Supplement &Guide"),
        QStringLiteral("&References")};
    return captions;
}

const std::array<QString, kDocumentsPerPage>& dailySheetCaptions()
{
    static const std::array<QString, kDocumentsPerPage> captions = {
        QStringLiteral("Phase &1 - Preparation"), QStringLiteral("Phase &2 - Foundation"),
        QStringLiteral("Phase &3 - Immune System"), QStringLiteral("Phase &4 - Special Programs"),
        QStringLiteral("Nutritional &Selection Guidelines")};
    return captions;
}

const std::array<QString, kFlyersMethodCount>& flyersMethodCaptions()
{
    static const std::array<QString, kFlyersMethodCount> captions = {
        QStringLiteral("Search for Acrobat Reader."),
        QStringLiteral("Use Explorer to display Acrobat files."),
        QStringLiteral("Enter location of Acrobat Reader.")};
    return captions;
}

QString documentsHelpText()
{
    return QStringLiteral("Click on the documents you want to print, then click on OK to save"
                          " your changes and close this window."
                          "\n\n"
                          "Click on Cancel to ignore your changes and leave values as "
                          "previously set."
                          "\n\n"
                          "Click on Apply to save changes and not close this window.");
}

QString pageHeadersHelpText()
{
    return QStringLiteral("Click on the down arrow, then click on the desired Header option to"
                          " select it."
                          "\n\n"
                          "Click on the check boxes to select or deselect Fax"
                          " Number and E-mail."
                          "\n\n"
                          "Then click OK to save changes and close window;"
                          "\n\n"
                          "Cancel to ignore changes and close window;"
                          "\n\n"
                          "or Apply to save changes and leave window open.");
}

} // namespace halcyra
