#include "records/DataControl.h"

#include <QLocale>

namespace halcyra {

DataActionEffect Data1_Validate(DataAction action)
{
    using Commands = DataActionEffect::Commands;
    using Pointer = DataActionEffect::Pointer;
    switch (action) {
    case DataAction::MoveFirst:
    case DataAction::MovePrevious:
    case DataAction::MoveNext:
    case DataAction::MoveLast:
    case DataAction::Update:
    case DataAction::Bookmark:
        return {Commands::Enable, Pointer::Keep};
    case DataAction::AddNew:
        return {Commands::Disable, Pointer::Keep};
    case DataAction::Delete:
    case DataAction::Find:
        return {Commands::Keep, Pointer::Keep};
    case DataAction::Close:
        return {Commands::Keep, Pointer::Normal};
    case DataAction::Unload:
        break;
    }
    return {Commands::Keep, Pointer::Busy};
}

QString dataControlCaption(bool afterAddNew, int absolutePosition)
{
    if (afterAddNew)
        return QStringLiteral("Data Control Bar:");
    return QStringLiteral("Data Control Bar: - Record: %1").arg(absolutePosition + 1);
}

QString dataControlToolTip()
{
    return QStringLiteral("Changes data to the First, Previous, Next, or Last Record");
}

QString Data1_ErrorMessage(int errorNumber, const QString& errorText, int dataErr)
{
    QString message = QStringLiteral("Error #: %1\nError description: %2\n"
                                     "Data error event hit err: %3\n"
                                     "frmMain: Sub Data1_Error(DataErr As Integer, Response As "
                                     "Integer)")
                          .arg(errorNumber)
                          .arg(errorText)
                          .arg(dataErr);
    if (errorNumber == kDataErrorActionCancelled)
        message += QStringLiteral("\n\nClick OK then Click Last Arrow on Data Control Bar.");
    return message;
}

QString filterNotice(const QString& filterText, int shown, int total)
{
    if (filterText.trimmed().isEmpty())
        return {};
    const QLocale locale;
    return QStringLiteral("Filtered: %1 of %2 clients (%3). View > Show All Clients brings "
                          "back every client.")
        .arg(locale.toString(shown), locale.toString(total), filterText.trimmed());
}

} // namespace halcyra
