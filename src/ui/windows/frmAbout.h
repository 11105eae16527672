#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace halcyra {

class Catalogue;

// "About Halcyra": title, version, the program's web address, what it does and what it does
// not, and a box where a support contact may have the adviser type a command word.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(const Catalogue& catalogue, QWidget* parent = nullptr);

    // Shows the box modally. Returns what stood in txtSpecial when OK closed it; empty when
    // the box was closed any other way.
    QString run();

    static constexpr int kHelpTopic = 82;

signals:
    // The picture was clicked: the program opens this help topic.
    void helpTopicRequested(int contextNumber);

private:
    void cmdOK_Click();

    QString m_special;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblWeb;
    QLabel* lblDescription;
    QLabel* lblDisclaimer;
    QLineEdit* txtSpecial;
    QPushButton* cmdOk;
    QToolButton* Picture1;
};

} // namespace halcyra
