#pragma once

#include "records/DataControl.h"

#include <QFrame>
#include <QMap>

class QLabel;
class QToolButton;

namespace halcyra {

// Data1, the data source bar: First, Previous, Next and Last arrows around the caption. The
// arrows take no focus, so the box being typed in keeps it while the adviser moves on; the
// keyboard reaches them through press(), from the main window's Records menu.
class DataNavigator : public QFrame
{
    Q_OBJECT
public:
    explicit DataNavigator(QWidget* parent = nullptr);

    // Clicks the arrow of MoveFirst, MovePrevious, MoveNext or MoveLast, so that a key moves
    // exactly as the arrow does.
    void press(DataAction action);

    QString caption() const;
    void setCaption(const QString& caption);

signals:
    // MoveFirst, MovePrevious, MoveNext or MoveLast.
    void moveRequested(DataAction action);

private:
    QToolButton* addArrow(const QString& name, const QString& tip, int icon, DataAction action);

    QLabel* m_caption;
    QMap<DataAction, QToolButton*> m_arrows;
};

} // namespace halcyra
