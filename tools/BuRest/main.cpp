// BuRest: backup and restore of the Halcyra client database, as a window or a command line.

#include "BackupStore.h"
#include "BuRestCommand.h"
#include "BuRestWindow.h"
#include "core/Paths.h"
#include "core/Settings.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv)
{
    using namespace halcyra;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (burest::wantsCommandLine(arguments)) {
        QCoreApplication app(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        return burest::runCommandLine(QCoreApplication::arguments(),
                                      userProgramFolder(QDir::currentPath()),
                                      SettingsStore::defaultFolder(), out, err);
    }
    QApplication app(argc, argv);
    QString database = burest::databaseArgument(QCoreApplication::arguments());
    if (database.isEmpty())
        database = burest::defaultDatabase(SettingsStore::defaultFolder(),
                                           userProgramFolder(QDir::currentPath()));
    burest::BuRestWindow window(database);
    window.show();
    return app.exec();
}
