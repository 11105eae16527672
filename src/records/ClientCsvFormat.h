#pragma once

#include <QString>

namespace halcyra {

class Catalogue;

// The words of the client CSV file that its export and its import share.
namespace clientcsv {

// The first column's label and values in a file with earlier assessments.
inline const QString kAssessmentLabel = QStringLiteral("Assessment");
inline const QString kCurrent = QStringLiteral("current");
inline const QString kEarlier = QStringLiteral("earlier");

// A client column's label in the main window, without its colon.
QString columnLabel(const Catalogue& catalogue, int column);

// A column name as SQL quotes it.
inline QString quoted(const QString& name)
{
    return u'"' + name + u'"';
}

} // namespace clientcsv
} // namespace halcyra
