#include "core/SingleInstance.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace halcyra {
namespace {

constexpr int kConnectWaitMs = 500;
const QByteArray kActivate = QByteArrayLiteral("activate\n");

QString keyFor(const QString& programFolder)
{
    // The same folder reached through another spelling (a trailing separator, a symbolic link)
    // must give the same key.
    QString path = QFileInfo(programFolder).canonicalFilePath();
    if (path.isEmpty())
        path = QDir::cleanPath(QDir(programFolder).absolutePath());
    const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("halcyra-%1").arg(QString::fromLatin1(hash.toHex().left(24)));
}

QString lockPathFor(const QString& key)
{
    return QDir(QDir::tempPath()).filePath(key + QStringLiteral(".lock"));
}

// A lock file is written with its owner's process number at once. One without it (its
// writer was killed in between) names no owner whose end would free it: once it is older than
// any write takes, it holds nothing and goes. The same holds for the ".rmlock" beside it, with
// which QLockFile guards its removal of a lock whose owner has gone.
constexpr int kUnfinishedLockMs = 2000;

bool removedIfOwnerless(const QString& path)
{
    const QFileInfo file(path);
    if (!file.exists() ||
        file.lastModified().msecsTo(QDateTime::currentDateTime()) < kUnfinishedLockMs)
        return false;
    qint64 pid = 0;
    QString host;
    QString application;
    QLockFile probe(path);
    if (probe.getLockInfo(&pid, &host, &application))
        return false;
    return QFile::remove(path);
}

bool takeLock(QLockFile& lock, const QString& path, int waitMs)
{
    if (lock.tryLock(waitMs))
        return true;
    const bool removed = removedIfOwnerless(path + QStringLiteral(".rmlock"));
    if (!removedIfOwnerless(path) && !removed)
        return false;
    return lock.tryLock(0);
}

} // namespace

SingleInstance::SingleInstance(const QString& programFolder, QObject* parent)
    : QObject(parent), m_key(keyFor(programFolder))
{}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim()
{
    // The lock decides who runs (a lock left by a crashed copy is taken over); the socket only
    // carries the request to come to the front.
    m_lock = std::make_unique<QLockFile>(lockPathFor(m_key));
    m_lock->setStaleLockTime(0);
    if (takeLock(*m_lock, lockPathFor(m_key), 0)) {
        listen();
        return true;
    }
    m_lock.reset();
    QLocalSocket socket;
    socket.connectToServer(m_key);
    if (socket.waitForConnected(kConnectWaitMs)) {
        socket.write(kActivate);
        socket.waitForBytesWritten(kConnectWaitMs);
        socket.disconnectFromServer();
    }
    return false;
}

bool SingleInstance::hold(int waitMs)
{
    m_lock = std::make_unique<QLockFile>(lockPathFor(m_key));
    m_lock->setStaleLockTime(0);
    if (takeLock(*m_lock, lockPathFor(m_key), waitMs))
        return true;
    m_lock.reset();
    return false;
}

void SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket file left by a copy that crashed would refuse the name; the lock says it is ours.
    QLocalServer::removeServer(m_key);
    if (!m_server->listen(m_key))
        return; // later copies still find the lock; they only cannot call this one forward
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            auto read = [this, socket] {
                if (!socket->canReadLine())
                    return;
                if (socket->readLine() == kActivate)
                    emit activationRequested();
                socket->disconnectFromServer();
            };
            connect(socket, &QLocalSocket::readyRead, this, read);
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            read(); // the request may have arrived with the connection
        }
    });
}

} // namespace halcyra
