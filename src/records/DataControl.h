#pragma once

#include <QString>

namespace halcyra {

// The data source's action codes, as its validate event reports them.
enum class DataAction {
    MoveFirst = 1,
    MovePrevious = 2,
    MoveNext = 3,
    MoveLast = 4,
    AddNew = 5,
    Update = 6,
    Delete = 7,
    Find = 8,
    Bookmark = 9,
    Close = 10,
    Unload = 11,
};

// What an action does to the list commands (List button, the toolbar's Open button, File >
// Open) and the Delete button, and to the pointer.
struct DataActionEffect
{
    enum class Commands { Enable, Disable, Keep } commands = Commands::Keep;
    enum class Pointer { Keep, Normal, Busy } pointer = Pointer::Keep;
};
DataActionEffect Data1_Validate(DataAction action);

// The navigator's caption: "Data Control Bar: - Record: N" (N from 1), or "Data Control Bar:"
// after New.
QString dataControlCaption(bool afterAddNew, int absolutePosition);
QString dataControlToolTip();

// The status bar line while the record list's filter holds: how many of the clients
// the arrows go through, the filter, and the way back. Empty without a filter.
QString filterNotice(const QString& filterText, int shown, int total);

// The message of a data source error. For error 3426 the commands are disabled first and the
// message tells the adviser how to get back to a record.
inline constexpr int kDataErrorActionCancelled = 3426;
QString Data1_ErrorMessage(int errorNumber, const QString& errorText, int dataErr);

} // namespace halcyra
