#include "setup/Options.h"

#include "core/Conversions.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "setup/OptionsTexts.h"
#include "ui/MessageWindow.h"

namespace halcyra {
namespace {

// Check boxes are stored as "1" and "0"; the report commands read a document as chosen only
// when its value is the number 1, so the boxes show the same.
bool isChecked(const SettingsStore& settings, const SettingKey& key)
{
    return leadingNumber(settings.get(key)) == 1;
}

QString checkText(bool checked)
{
    return checked ? QStringLiteral("1") : QStringLiteral("0");
}

void readDocuments(const SettingsStore& settings, OptionsTab tab,
                   std::array<bool, kDocumentsPerPage>& boxes)
{
    for (int n = 1; n <= kDocumentsPerPage; ++n) {
        const SettingKey key =
            tab == OptionsTab::Reports ? keys::reportDocument(n) : keys::dailySheet(n);
        boxes[n - 1] = isChecked(settings, key);
    }
}

QString saveDocuments(SettingsStore& settings, OptionsTab tab,
                      const std::array<bool, kDocumentsPerPage>& boxes)
{
    for (int n = 1; n <= kDocumentsPerPage; ++n) {
        const SettingKey key =
            tab == OptionsTab::Reports ? keys::reportDocument(n) : keys::dailySheet(n);
        settings.save(key, checkText(boxes[n - 1]));
    }
    return selectedDocsText(boxes);
}

// A stored method outside the offered ones falls back to searching for the reader.
int storedFlyersMethod(const SettingsStore& settings)
{
    const int method = leadingInteger(settings.get(keys::flyersOption()));
    return method >= 0 && method < kFlyersMethodCount ? method : 0;
}

} // namespace

OptionValues readOptionValues(const SettingsStore& settings)
{
    OptionValues values;
    for (int page = 1; page <= kOptionsTabCount; ++page)
        readOptionsPage(settings, static_cast<OptionsTab>(page), values);
    return values;
}

void readOptionsPage(const SettingsStore& settings, OptionsTab tab, OptionValues& values)
{
    switch (tab) {
    case OptionsTab::Reports:
        readDocuments(settings, tab, values.reportDocuments);
        break;
    case OptionsTab::DailyIntake:
        readDocuments(settings, tab, values.dailySheets);
        break;
    case OptionsTab::PageHeaders:
        values.headerChoice = settings.get(keys::includeInPageHeader());
        values.includeFax = isChecked(settings, keys::includeFax());
        values.includeEmail = isChecked(settings, keys::includeEmail());
        break;
    case OptionsTab::DisplayMessages:
        values.showTipsAtStartup = settings.flag(keys::showTipsAtStartup());
        for (int i = 0; i < kMessageSwitchCount; ++i)
            values.doNotShow[i] = isMessageSuppressed(settings, messageSwitches()[i].caption);
        break;
    case OptionsTab::Flyers:
        values.flyersMethod = storedFlyersMethod(settings);
        values.readerPath = settings.get(keys::readerPath());
        break;
    case OptionsTab::Email:
        values.smtp = readSmtpSettings(settings);
        break;
    }
}

QString saveOptionsPage(SettingsStore& settings, OptionsTab tab, OptionValues& values)
{
    switch (tab) {
    case OptionsTab::Reports:
        return saveDocuments(settings, tab, values.reportDocuments);
    case OptionsTab::DailyIntake:
        return saveDocuments(settings, tab, values.dailySheets);
    case OptionsTab::PageHeaders:
        values.headerChoice = validHeaderChoice(values.headerChoice);
        settings.save(keys::includeInPageHeader(), values.headerChoice);
        settings.save(keys::includeFax(), checkText(values.includeFax));
        settings.save(keys::includeEmail(), checkText(values.includeEmail));
        break;
    case OptionsTab::DisplayMessages:
        settings.save(keys::showTipsAtStartup(), checkText(values.showTipsAtStartup));
        for (int i = 0; i < kMessageSwitchCount; ++i)
            storeDoNotShow(settings, messageSwitches()[i].caption, values.doNotShow[i]);
        break;
    case OptionsTab::Flyers:
        settings.save(keys::flyersOption(), QString::number(values.flyersMethod));
        settings.save(keys::readerPath(), values.readerPath);
        break;
    case OptionsTab::Email:
        saveSmtpSettings(settings, values.smtp);
        break;
    }
    return {};
}

const QStringList& headerChoices()
{
    static const QStringList choices = {QStringLiteral("Company Name Only"),
                                        QStringLiteral("First and Last Name Only"),
                                        QStringLiteral("Both")};
    return choices;
}

QString validHeaderChoice(const QString& text)
{
    // The page headers tell the choices apart by their first letter, so only the exact texts
    // may be stored.
    return headerChoices().contains(text) ? text : QStringLiteral("Both");
}

QString selectedDocsText(const std::array<bool, kDocumentsPerPage>& boxes)
{
    QString text;
    for (bool checked : boxes)
        text += checkText(checked);
    return text;
}

std::vector<PrintStep> documentsToPrint(OptionsTab tab, const QString& selectedDocs)
{
    int firstSection = 0;
    if (tab == OptionsTab::Reports)
        firstSection = 1;
    else if (tab == OptionsTab::DailyIntake)
        firstSection = 1 + kDocumentsPerPage;
    else
        return {};

    std::vector<PrintStep> steps;
    for (int i = 0; i < kDocumentsPerPage && i < selectedDocs.size(); ++i)
        if (selectedDocs.at(i) == u'1')
            steps.push_back({firstSection + i, steps.empty()});
    return steps;
}

OptionsMode optionsModeFromText(const QString& text)
{
    if (text == u"P-Well")
        return OptionsMode::PrintWell;
    if (text == u"V-Well")
        return OptionsMode::ViewWell;
    if (text == u"P-Daily")
        return OptionsMode::PrintDaily;
    if (text == u"V-Daily")
        return OptionsMode::ViewDaily;
    return OptionsMode::Plain;
}

QString optionsModeText(OptionsMode mode)
{
    switch (mode) {
    case OptionsMode::PrintWell:
        return QStringLiteral("P-Well");
    case OptionsMode::ViewWell:
        return QStringLiteral("V-Well");
    case OptionsMode::PrintDaily:
        return QStringLiteral("P-Daily");
    case OptionsMode::ViewDaily:
        return QStringLiteral("V-Daily");
    case OptionsMode::Plain:
        break;
    }
    return {};
}

OptionsModeLayout optionsModeLayout(OptionsMode mode)
{
    const QString options = QStringLiteral("Options");
    const QString daily = QStringLiteral("Daily Intake Sheets");
    switch (mode) {
    case OptionsMode::PrintWell:
        return {options, true, false, OptionsButton::Print, OptionsTab::Reports};
    case OptionsMode::ViewWell:
        return {options, false, true, OptionsButton::View, OptionsTab::Reports};
    case OptionsMode::PrintDaily:
        return {daily, true, false, OptionsButton::Print, OptionsTab::DailyIntake};
    case OptionsMode::ViewDaily:
        return {daily, false, true, OptionsButton::View, OptionsTab::DailyIntake};
    case OptionsMode::Plain:
        break;
    }
    return {options, false, false, OptionsButton::OK, OptionsTab::Reports};
}

void takeOptionsResult(ProgramState& state, const OptionsResult& result)
{
    state.OptionsCancelled = false;
    if (result.selectedDocs)
        state.SelectedDocs = *result.selectedDocs;
    switch (result.button) {
    case OptionsButton::Print:
        state.SkipPrinting = false;
        state.PrintRequested = true;
        break;
    case OptionsButton::View:
        state.PrintRequested = false;
        state.SkipPrinting = true;
        break;
    case OptionsButton::Cancel:
        state.OptionsCancelled = true;
        break;
    case OptionsButton::None:
    case OptionsButton::OK:
    case OptionsButton::Apply:
        break;
    }
}

OptionsResult chooseReportOptions(const OptionsChooser& choose, ProgramState& state,
                                  OptionsMode mode, QWidget* parent)
{
    state.OptionsMode = optionsModeText(mode);
    // A cancel left over from an earlier dialog or message must not count for this one.
    state.OptionsCancelled = false;
    const OptionsResult result = choose(mode, parent);
    takeOptionsResult(state, result);
    return result;
}

OptionsTab neighbourTab(OptionsTab tab, bool forward)
{
    const int index = static_cast<int>(tab) - 1;
    const int step = forward ? 1 : kOptionsTabCount - 1;
    return static_cast<OptionsTab>((index + step) % kOptionsTabCount + 1);
}

} // namespace halcyra
