#pragma once

#include <QMainWindow>

class QLineEdit;

namespace halcyra {

class Catalogue;

// The program's working window, "Halcyra Data Entry".
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(const Catalogue& catalogue, QWidget* parent = nullptr);

    // The client's last-name box, where the cursor starts.
    QLineEdit* lastNameBox() const { return m_lastName; }

private:
    QLineEdit* m_lastName;
};

} // namespace halcyra
