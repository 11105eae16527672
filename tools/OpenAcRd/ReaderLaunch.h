#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace halcyra {

class SettingsStore;

namespace openacrd {

// How the documents are opened, from the options' flyer method and the stored reader path.
struct OpenWay
{
    enum class Kind { Reader, DefaultViewer, FileManager };
    Kind kind = Kind::DefaultViewer;
    QString reader; // Reader only: the program
};

// Method 1 shows the file in the file manager; otherwise the stored reader when it names a
// program that exists, else the desktop's default viewer.
OpenWay openWay(int flyersMethod, const QString& readerPath);
OpenWay openWayFromSettings(const SettingsStore& settings);

// The program and arguments that open one document, never through a shell.
struct OpenCommand
{
    QString program;
    QStringList arguments;
};
OpenCommand openCommand(const OpenWay& way, const QString& document);

// Takes the queue of `folder` and opens each document with `start` (which starts a program
// and says whether it started). Returns the problems, one a line: documents that are missing
// or whose program could not be started.
using StartFunction = std::function<bool(const OpenCommand&)>;
QStringList openQueuedDocuments(const QString& folder, const OpenWay& way,
                                const StartFunction& start);

} // namespace openacrd
} // namespace halcyra
