#include "app/InstanceLock.h"

#include "app/Log.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <sys/un.h>
#include <unistd.h>

namespace tolm::app {

namespace {

// What a later start sends, and what the holder answers once its window is forward.
constexpr char kRequest[] = "raise\n";
constexpr char kAnswer[] = "ok\n";
// Longer than the request: anything else on the socket is not one of us.
constexpr qint64 kLongestRequest = 64;

// A lock file that holds no readable process id is one whose writer died
// between creating and filling it (or one a person made by hand). Filling it
// takes microseconds, so one this old is no one's.
constexpr qint64 kUnreadableLockAgeMs = 5000;

QString canonicalFolder(const QString& folder)
{
    const QDir dir(folder);
    const QString canonical = dir.canonicalPath();
    return canonical.isEmpty() ? dir.absolutePath() : canonical;
}

int remainingMs(const QDeadlineTimer& deadline)
{
    return int(std::max<qint64>(0, deadline.remainingTime()));
}

} // namespace

InstanceLock::InstanceLock(const QString& folder, QObject* parent)
    : QObject(parent)
    , m_lockPath(QDir(canonicalFolder(folder)).filePath(QString::fromLatin1(kLockFileName)))
    , m_serverName(serverNameFor(canonicalFolder(folder), qEnvironmentVariable("XDG_RUNTIME_DIR")))
    , m_lock(m_lockPath)
{
    // A holder is alive exactly while its process is: QLockFile checks the
    // process id (and that it still runs the same program) on this machine.
    // Its default of also calling a lock stale after 30 s is held off only by
    // the holder's flock(), which some network file systems do not keep; a
    // Tolm that has simply been running a while must keep its folder there too.
    m_lock.setStaleLockTime(0);
}

InstanceLock::~InstanceLock()
{
    release();
}

QString InstanceLock::serverNameFor(const QString& canonicalFolder, const QString& runtimeFolder)
{
    const QByteArray hash
        = QCryptographicHash::hash(canonicalFolder.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    const QString name = QStringLiteral("tolm-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
    // The runtime folder is private to the user; the temporary folder that a
    // bare name lands in is shared with everyone.
    if (!runtimeFolder.isEmpty() && QFileInfo(runtimeFolder).isDir()) {
        const QString path = runtimeFolder + u'/' + name;
        if (path.toLocal8Bit().size() < qsizetype(sizeof(sockaddr_un::sun_path)))
            return path;
    }
    return name;
}

InstanceLock::Outcome InstanceLock::acquire(std::chrono::milliseconds answerTimeout)
{
    const QDeadlineTimer deadline(answerTimeout);
    for (;;) {
        // tryLock also clears a lock whose process has died.
        if (m_lock.tryLock(0)) {
            listen();
            return Outcome::Owner;
        }
        if (m_lock.error() != QLockFile::LockFailedError)
            return Outcome::Unlockable;
        qint64 pid = 0;
        QString host, program;
        if (!m_lock.getLockInfo(&pid, &host, &program)) {
            // The file's age against the system clock that stamped it, not
            // the platform's clock that the shelf shows.
            const QDateTime written = QFileInfo(m_lockPath).lastModified();
            if (written.isValid()
                && qAbs(written.msecsTo(QDateTime::currentDateTime())) > kUnreadableLockAgeMs
                && m_lock.removeStaleLockFile())
                continue;
        } else if (askHolder(std::chrono::milliseconds(remainingMs(deadline)))) {
            return Outcome::HandedOver;
        }
        if (deadline.hasExpired())
            return Outcome::NoAnswer;
        // The holder may have locked but not be listening yet.
        QThread::msleep(50);
    }
}

bool InstanceLock::askHolder(std::chrono::milliseconds timeout) const
{
    const QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(remainingMs(deadline)))
        return false;
    socket.write(kRequest);
    socket.flush();
    QByteArray reply;
    while (!reply.contains('\n')) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(remainingMs(deadline)))
            return false;
        reply += socket.readAll();
    }
    return reply == kAnswer;
}

void InstanceLock::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket file left by a holder that was killed; holding the lock means
    // no live Tolm of this user serves this folder, so it is no one's.
    QLocalServer::removeServer(m_serverName);
    if (!m_server->listen(m_serverName)) {
        qCWarning(lcApp, "a later start in this folder cannot reach this one (%s): %s",
            qPrintable(m_serverName), qPrintable(m_server->errorString()));
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
            answer(socket);
        }
    });
}

void InstanceLock::answer(QLocalSocket* socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kLongestRequest)
            socket->abort();
        return;
    }
    if (socket->readLine(kLongestRequest) != kRequest) {
        socket->abort();
        return;
    }
    emit activationRequested();
    socket->write(kAnswer);
    socket->disconnectFromServer();
}

void InstanceLock::release()
{
    // The socket goes first: once the lock is gone a new holder may already
    // be listening under the same name, and closing removes the socket file.
    if (m_server) {
        m_server->close();
        delete m_server;
        m_server = nullptr;
    }
    if (m_lock.isLocked())
        m_lock.unlock();
}

} // namespace tolm::app
