#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

namespace halcyra {

// One running copy of the program per program folder: two copies over one database would each
// keep their own idea of the current record. The first copy holds a lock named after the
// folder and listens for later copies, which ask it to come to the front instead of opening.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString& programFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the only copy on the folder (it then answers later copies); false when
    // another copy runs there, in which case that copy has been asked to come to the front.
    bool claim();

    // Takes the folder's lock without answering later copies, for a tool that must keep the
    // program off the folder while it works; waits up to `waitMs` for a copy that is closing.
    // False when a copy of the program still holds the folder.
    bool hold(int waitMs);

signals:
    // A later copy was started on the same folder.
    void activationRequested();

private:
    void listen();

    QString m_key;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

} // namespace halcyra
