#pragma once

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;
class QPushButton;

namespace halcyra {

class SettingsStore;

// "Tip of the Day": a random tip from the tip file of the program folder.
class frmTip : public QDialog
{
    Q_OBJECT
public:
    frmTip(SettingsStore& settings, const QString& programFolder, QWidget* parent = nullptr);

    void DisplayCurrentTip();
    int currentTip() const { return m_currentTip; }
    const QStringList& tips() const { return m_tips; }

private:
    void cmdNextTip_Click();
    void chkLoadTipsAtStartup_Click();

    SettingsStore& m_settings;
    QStringList m_tips;
    int m_currentTip = 0; // 1-based; 0 while there is no tip
    QLabel* lblTipText;
    QCheckBox* chkLoadTipsAtStartup;
    QPushButton* cmdNextTip;
    QPushButton* cmdOk;
};

} // namespace halcyra
