#pragma once

#include <QString>
#include <QStringView>
#include <array>

// The help topics the program opens, by context number. "Help/contexts.txt" in the program
// folder maps each number to its page; every number here must have one there.

namespace halcyra::help {

inline constexpr int kContents = 1;
inline constexpr int kTutorial = 2;
inline constexpr int kCompanyOptional = 30;
inline constexpr int kCompanyEmail = 39;
inline constexpr int kAbout = 82;
inline constexpr int kCompanyRequired = 104;
inline constexpr int kMainWindow = 110;
inline constexpr int kClientName = 111;
inline constexpr int kClientContact = 112;
inline constexpr int kClientVisit = 113;
inline constexpr int kClientMeasures = 114;
inline constexpr int kYesNo = 115;
inline constexpr int kScores = 116;
inline constexpr int kRecords = 117;
inline constexpr int kRecordList = 120;
inline constexpr int kOptions = 121;
inline constexpr int kPreview = 122;
inline constexpr int kPrinting = 123;
inline constexpr int kDailySheets = 124;
inline constexpr int kQuestionnaire = 125;
inline constexpr int kEmail = 126;
inline constexpr int kBrowser = 127;
inline constexpr int kHistory = 128;
inline constexpr int kImportExport = 129;
inline constexpr int kFlyers = 130;
inline constexpr int kQuestionnaireSections = 140;
inline constexpr int kReportSections = 141;
inline constexpr int kBackupRestore = 150;
inline constexpr int kTroubleshooting = 151;

inline constexpr std::array kAllContexts{kContents,        kTutorial,
                                         kCompanyOptional, kCompanyEmail,
                                         kAbout,           kCompanyRequired,
                                         kMainWindow,      kClientName,
                                         kClientContact,   kClientVisit,
                                         kClientMeasures,  kYesNo,
                                         kScores,          kRecords,
                                         kRecordList,      kOptions,
                                         kPreview,         kPrinting,
                                         kDailySheets,     kQuestionnaire,
                                         kEmail,           kBrowser,
                                         kHistory,         kImportExport,
                                         kFlyers,          kQuestionnaireSections,
                                         kReportSections,  kBackupRestore,
                                         kTroubleshooting};

struct NamedContext
{
    const char* name;
    int context;
};

// A window's own topic, by the window's object name (or, for the system's dialogs, its class):
// what F1 opens where the control with the focus has none of its own.
inline constexpr std::array kWindowContexts{
    NamedContext{"frmMain", kMainWindow},     NamedContext{"frmCompanyInfo", kCompanyRequired},
    NamedContext{"frmDataGrid", kRecordList}, NamedContext{"frmOptions", kOptions},
    NamedContext{"frmPreview", kPreview},     NamedContext{"QPrintDialog", kPrinting},
    NamedContext{"frmPrinting", kPrinting},   NamedContext{"QPageSetupDialog", kPrinting},
    NamedContext{"frmHistory", kHistory},     NamedContext{"frmEmail", kEmail},
    NamedContext{"frmBrowser", kBrowser},     NamedContext{"frmAbout", kAbout},
};

// The topic the Help (or Yes) button of a message opens, by the message's title.
inline constexpr std::array kMessageContexts{
    NamedContext{"Tutorial", kTutorial},
    NamedContext{"View Questionnaire", kQuestionnaire},
    NamedContext{"Email Questionnaire Compatibility", kEmail},
    NamedContext{"Backup/Restore", kBackupRestore},
};

template <size_t N>
inline int contextByName(const std::array<NamedContext, N>& table, QStringView name, int otherwise)
{
    for (const NamedContext& entry : table)
        if (name.compare(QLatin1StringView(entry.name)) == 0)
            return entry.context;
    return otherwise;
}

inline int windowContext(QStringView objectName)
{
    return contextByName(kWindowContexts, objectName, 0);
}

inline int messageContext(QStringView title)
{
    return contextByName(kMessageContexts, title, kContents);
}

// The topic of a client-detail box of the main window, by box index: name, contact, visit or
// measures.
inline int detailContext(int index)
{
    if (index <= 2)
        return kClientName;
    if (index <= 7)
        return kClientContact;
    if (index <= 15)
        return kClientMeasures;
    return kClientVisit; // date, medications, notes
}

} // namespace halcyra::help
