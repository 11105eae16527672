#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <optional>

namespace halcyra {

// Where the main window opens: the stored left, top, width and height (pixels), unless one of
// them is missing or the stored place is off every screen (`screens`, their available areas),
// for instance after a second monitor was removed. A place that no longer fits the screen (a
// smaller screen, a larger scale) is brought inside it.
std::optional<QRect> restoredMainGeometry(const QString& left, const QString& top,
                                          const QString& width, const QString& height,
                                          const QList<QRect>& screens);

// The data source's message when it cannot read or write a record (the reason is the database's).
QString dataSourceErrorMessage(const QString& reason);

// The record list's caption: its record source when that is at most 50 characters long,
// otherwise "SQL Statement".
QString dataGridCaption(const QString& recordSource);

} // namespace halcyra
