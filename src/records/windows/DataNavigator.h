#pragma once

#include "records/DataControl.h"

#include <QFrame>

class QLabel;
class QToolButton;

namespace halcyra {

// Data1, the data source bar: First, Previous, Next and Last arrows around the caption. The
// arrows take no focus, so the box being typed in keeps it while the adviser moves on.
class DataNavigator : public QFrame
{
    Q_OBJECT
public:
    explicit DataNavigator(QWidget* parent = nullptr);

    QString caption() const;
    void setCaption(const QString& caption);

signals:
    // MoveFirst, MovePrevious, MoveNext or MoveLast.
    void moveRequested(DataAction action);

private:
    QToolButton* addArrow(const QString& name, const QString& tip, int icon, DataAction action);

    QLabel* m_caption;
};

} // namespace halcyra
