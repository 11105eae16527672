#pragma once

#include <QWidget>

class QLabel;

namespace halcyra {

// The small notice shown while a report section is sent to the printer: the section's name
// above the word "Printing".
class frmPrinting : public QWidget
{
    Q_OBJECT
public:
    explicit frmPrinting(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr; // what is printing
    QLabel* Label2 = nullptr; // "Printing"
};

// Puts `text` in the notice, shows it without waiting and lets it paint.
void ShowPrinting(frmPrinting& window, const QString& text);

} // namespace halcyra
