#include "ui/MessageWindow.h"

#include "core/Settings.h"
#include "core/SettingsKeys.h"

namespace halcyra {
namespace {

const QColor kInformationGreen(15, 150, 15);

} // namespace

MessageLayout messageLayoutFor(const QString& title)
{
    MessageLayout layout;
    if (title == u"Email Questionnaire Compatibility" || title == u"F1 Help Main" ||
        title == u"F1 Help Company" || title == u"Save Confirmation") {
        layout.heading = QStringLiteral("Information");
        layout.headingColor = kInformationGreen;
        layout.showOnline = true;
    } else if (title == u"Empty Field" || title == u"Field Value Error") {
        layout.heading = QStringLiteral("Warning!");
        layout.headingColor = Qt::red;
        layout.showDoNotShow = true;
    } else if (title == u"Field Length Error") {
        layout.heading = QStringLiteral("Information");
        layout.headingColor = kInformationGreen;
        layout.showDoNotShow = true;
    } else if (title == u"Backup/Restore") {
        layout.heading = QStringLiteral("Information");
        layout.headingColor = kInformationGreen;
        layout.secondCaption = QStringLiteral("Cancel");
        layout.showDoNotShow = true;
    } else if (title == u"View Questionnaire") {
        layout.heading = QStringLiteral("CAUTION");
        layout.headingColor = kInformationGreen;
        layout.secondCaption = QStringLiteral("Help");
        layout.showDoNotShow = true;
    } else if (title == u"Tutorial") {
        layout.heading = QStringLiteral("Information");
        layout.headingColor = kInformationGreen;
        layout.okCaption = QStringLiteral("Yes");
        layout.secondCaption = QStringLiteral("No");
        layout.showDoNotShow = true;
    }
    return layout;
}

const QStringList& messageTitles()
{
    static const QStringList titles = {
        QStringLiteral("Backup/Restore"),    QStringLiteral("Email Questionnaire Compatibility"),
        QStringLiteral("Empty Field"),       QStringLiteral("F1 Help Company"),
        QStringLiteral("F1 Help Main"),      QStringLiteral("Field Length Error"),
        QStringLiteral("Field Value Error"), QStringLiteral("Save Confirmation"),
        QStringLiteral("Tutorial"),          QStringLiteral("View Questionnaire")};
    return titles;
}

bool isMessageSuppressed(const SettingsStore& settings, const QString& title)
{
    return settings.flag(keys::doNotShow(title));
}

void storeDoNotShow(SettingsStore& settings, const QString& title, bool doNotShow)
{
    settings.save(keys::doNotShow(title), doNotShow ? QStringLiteral("1") : QStringLiteral("0"));
}

QString fieldHelpText()
{
    return QStringLiteral("To get help with an indivdual field:\n\n"
                          "1. Place the cursor in the field you need help with.\n"
                          "2. Press the F1 key.\n\n"
                          "For help with other parts of the program, use the Help menu.");
}

QString onlineTutorialAddress()
{
    return QStringLiteral("https://www.halcyra.example/tutorial");
}

} // namespace halcyra
