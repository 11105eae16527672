#include "cli/Command.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("halcyra-cli"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return halcyra::cli::run(QCoreApplication::arguments(), out, err);
}
