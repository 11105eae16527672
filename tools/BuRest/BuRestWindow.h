#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace halcyra::burest {

// The backup utility's window: the database it works on, its backups (date, size, clients),
// Backup and Restore, and the progress of either.
class BuRestWindow : public QWidget
{
    Q_OBJECT
public:
    explicit BuRestWindow(QString databasePath, QWidget* parent = nullptr);

    void cmdBackup_Click();
    void cmdRestore_Click();

private:
    void refreshList();
    void setWorking(bool working);
    void showProgress(int percent);

    QString m_database;
    QString m_folder;
    QLabel* lblDatabase;
    QTableWidget* lstBackups;
    QProgressBar* prgProgress;
    QLabel* lblStatus;
    QPushButton* cmdBackup;
    QPushButton* cmdRestore;
    QPushButton* cmdClose;
};

} // namespace halcyra::burest
