#include "BuRestWindow.h"

#include "BackupStore.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace halcyra::burest {

BuRestWindow::BuRestWindow(QString databasePath, QWidget* parent)
    : QWidget(parent), m_database(std::move(databasePath)),
      m_folder(defaultBackupFolder(m_database)), lblDatabase(new QLabel(this)),
      lstBackups(new QTableWidget(0, 4, this)), prgProgress(new QProgressBar(this)),
      lblStatus(new QLabel(this)), cmdBackup(new QPushButton(QStringLiteral("&Backup"), this)),
      cmdRestore(new QPushButton(QStringLiteral("&Restore"), this)),
      cmdClose(new QPushButton(QStringLiteral("&Close"), this))
{
    setObjectName(QStringLiteral("frmBuRest"));
    setWindowTitle(QStringLiteral("Halcyra Backup and Restore"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/org.halcyra.Halcyra.svg")));
    lblDatabase->setText(QStringLiteral("Database: ") + QDir::toNativeSeparators(m_database) +
                         QStringLiteral("\nBackups: ") + QDir::toNativeSeparators(m_folder));
    lblDatabase->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lstBackups->setObjectName(QStringLiteral("lstBackups"));
    lstBackups->setHorizontalHeaderLabels({QStringLiteral("Date"), QStringLiteral("Size"),
                                           QStringLiteral("Clients"), QStringLiteral("File")});
    lstBackups->horizontalHeader()->setStretchLastSection(true);
    lstBackups->verticalHeader()->hide();
    lstBackups->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstBackups->setSelectionMode(QAbstractItemView::SingleSelection);
    lstBackups->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstBackups->setWordWrap(false);
    prgProgress->setRange(0, 100);
    prgProgress->setValue(0);
    lblStatus->setWordWrap(true);
    lblStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdBackup);
    buttons->addWidget(cmdRestore);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblDatabase);
    layout->addWidget(lstBackups, 1);
    layout->addWidget(prgProgress);
    layout->addWidget(lblStatus);
    layout->addLayout(buttons);

    connect(cmdBackup, &QPushButton::clicked, this, &BuRestWindow::cmdBackup_Click);
    connect(cmdRestore, &QPushButton::clicked, this, &BuRestWindow::cmdRestore_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    resize(560, 380);
    refreshList();
}

void BuRestWindow::refreshList()
{
    const std::vector<BackupInfo> backups = listBackups(m_folder);
    lstBackups->setRowCount(static_cast<int>(backups.size()));
    const QLocale locale;
    for (int row = 0; row < static_cast<int>(backups.size()); ++row) {
        const BackupInfo& backup = backups[static_cast<size_t>(row)];
        auto* date = new QTableWidgetItem(locale.toString(backup.taken, QLocale::ShortFormat));
        date->setData(Qt::UserRole, backup.path);
        date->setToolTip(QDir::toNativeSeparators(backup.path));
        lstBackups->setItem(row, 0, date);
        lstBackups->setItem(row, 1, new QTableWidgetItem(locale.formattedDataSize(backup.size)));
        lstBackups->setItem(row, 2,
                            new QTableWidgetItem(backup.clients < 0
                                                     ? QStringLiteral("unreadable")
                                                     : QString::number(backup.clients)));
        // The name tells a backup from the copy kept before a restore.
        lstBackups->setItem(row, 3, new QTableWidgetItem(QFileInfo(backup.path).fileName()));
    }
    lstBackups->resizeColumnsToContents();
    if (!backups.empty())
        lstBackups->selectRow(0);
    cmdRestore->setEnabled(!backups.empty());
}

void BuRestWindow::setWorking(bool working)
{
    cmdBackup->setEnabled(!working);
    cmdRestore->setEnabled(!working && lstBackups->rowCount() > 0);
    cmdClose->setEnabled(!working);
    if (working)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void BuRestWindow::showProgress(int percent)
{
    prgProgress->setValue(percent);
    // The window stays drawn while the copy runs in steps.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void BuRestWindow::cmdBackup_Click()
{
    setWorking(true);
    lblStatus->setText(QStringLiteral("Backing up..."));
    const auto backup = makeBackup(m_database, m_folder, kDefaultKeep,
                                   [this](int percent) { showProgress(percent); });
    setWorking(false);
    if (!backup) {
        lblStatus->setText(backup.error());
        QMessageBox::warning(this, windowTitle(), backup.error());
        return;
    }
    lblStatus->setText(QStringLiteral("The backup of %1 clients is in %2.")
                           .arg(backup->clients)
                           .arg(QDir::toNativeSeparators(backup->path)));
    refreshList();
}

void BuRestWindow::cmdRestore_Click()
{
    const int row = lstBackups->currentRow();
    if (row < 0)
        return;
    const QString path = lstBackups->item(row, 0)->data(Qt::UserRole).toString();
    const auto answer = QMessageBox::question(
        this, windowTitle(),
        QStringLiteral("Replace the client database by the backup of %1?\n\nA copy of the "
                       "database as it is now is kept in the backup folder.")
            .arg(lstBackups->item(row, 0)->text()),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    setWorking(true);
    lblStatus->setText(QStringLiteral("Restoring..."));
    const auto restored =
        restoreBackup(path, m_database, m_folder, [this](int percent) { showProgress(percent); });
    setWorking(false);
    if (!restored) {
        lblStatus->setText(restored.error());
        QMessageBox::warning(this, windowTitle(), restored.error());
        return;
    }
    lblStatus->setText(restoreSummary(*restored, m_database));
    refreshList();
}

} // namespace halcyra::burest
