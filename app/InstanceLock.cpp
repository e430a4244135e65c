#include "app/InstanceLock.h"

#include "app/Log.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSysInfo>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace tolm::app {

namespace {

// What a later start sends, and what the holder answers once its window is forward.
constexpr char kRequest[] = "raise\n";
constexpr char kAnswer[] = "ok\n";
// Longer than the request: anything else on the socket is not one of us.
constexpr qint64 kLongestRequest = 64;

// How often a leftover at the lock's name is cleared away before the folder
// is given up on: one that keeps coming back is someone's doing.
constexpr int kClearings = 3;

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

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The runtime folder is private to the user; the temporary folder that a
// bare socket name lands in is shared with everyone.
bool usableRuntimeFolder(const QString& runtimeFolder)
{
    return !runtimeFolder.isEmpty() && QFileInfo(runtimeFolder).isDir()
        && ::access(QFile::encodeName(runtimeFolder).constData(), W_OK | X_OK) == 0;
}

// A folder of the user's alone: a real folder (not a link to one), owned by
// the user, that no one else may enter. Anyone could have made one of the
// same name in a place shared with others, to read or steal the socket.
bool privateFolder(const QByteArray& path)
{
    struct stat info { };
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid()
        && (info.st_mode & 077) == 0;
}

QString instanceName(const QString& canonicalFolder)
{
    const QByteArray hash
        = QCryptographicHash::hash(canonicalFolder.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return QStringLiteral("tolm-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

} // namespace

InstanceLock::InstanceLock(const QString& folder, QObject* parent)
    : QObject(parent)
    , m_lockPath(lockFileFor(canonicalFolder(folder), runtimeFolder()))
    , m_oldLockPath(QDir(canonicalFolder(folder)).filePath(QString::fromLatin1(kOldLockFileName)))
    , m_serverName(serverNameFor(canonicalFolder(folder), runtimeFolder()))
{ }

QString InstanceLock::runtimeFolder()
{
    const QByteArray session = "/run/user/" + QByteArray::number(::getuid());
    if (privateFolder(session))
        return QFile::decodeName(session);
    const QByteArray own = "/tmp/tolm-" + QByteArray::number(::getuid());
    // Made private from the start; one that is there already must be so.
    if (::mkdir(own.constData(), 0700) != 0 && errno != EEXIST)
        return {};
    return privateFolder(own) ? QFile::decodeName(own) : QString();
}

InstanceLock::~InstanceLock()
{
    release();
}

QString InstanceLock::serverNameFor(const QString& canonicalFolder, const QString& runtimeFolder)
{
    const QString name = instanceName(canonicalFolder);
    if (usableRuntimeFolder(runtimeFolder)) {
        const QString path = runtimeFolder + u'/' + name;
        if (path.toLocal8Bit().size() < qsizetype(sizeof(sockaddr_un::sun_path)))
            return path;
    }
    return name;
}

QString InstanceLock::lockFileFor(const QString& canonicalFolder, const QString& runtimeFolder)
{
    if (usableRuntimeFolder(runtimeFolder))
        return runtimeFolder + u'/' + instanceName(canonicalFolder) + QStringLiteral(".lock");
    // A host name holds no '/', but the file name must hold none either way.
    QString host = QSysInfo::machineHostName().replace(u'/', u'_');
    if (host.isEmpty())
        host = QStringLiteral("localhost");
    return canonicalFolder + QStringLiteral("/.tolm-%1.lock").arg(host);
}

InstanceLock::Outcome InstanceLock::acquire(std::chrono::milliseconds answerTimeout)
{
    if (oldLockHeldHere()) {
        m_oldHolder = true;
        return handOver(answerTimeout);
    }
    const QDeadlineTimer deadline(answerTimeout);
    int clearings = 0;
    for (;;) {
        Attempt attempt = tryLock();
        if (attempt == Attempt::Cleared && ++clearings > kClearings)
            attempt = refuse(Obstacle::NotAFile, 0);
        switch (attempt) {
        case Attempt::Locked:
            listen();
            return Outcome::Owner;
        case Attempt::Cleared:
            break;
        case Attempt::Refused:
            // A Tolm that started here before, just as unable to lock, keeps
            // the folder's one window.
            if (askHolder(std::chrono::milliseconds(remainingMs(deadline))))
                return Outcome::HandedOver;
            listen();
            return Outcome::Unlockable;
        case Attempt::Held:
            if (askHolder(std::chrono::milliseconds(remainingMs(deadline))))
                return Outcome::HandedOver;
            if (deadline.hasExpired())
                return Outcome::NoAnswer;
            // The holder may have locked but not be listening yet.
            QThread::msleep(50);
            break;
        }
    }
}

InstanceLock::Outcome InstanceLock::handOver(std::chrono::milliseconds answerTimeout) const
{
    const QDeadlineTimer deadline(answerTimeout);
    for (;;) {
        if (askHolder(std::chrono::milliseconds(remainingMs(deadline))))
            return Outcome::HandedOver;
        if (deadline.hasExpired())
            return Outcome::NoAnswer;
        QThread::msleep(50);
    }
}

bool InstanceLock::oldLockHeldHere() const
{
    const QByteArray path = QFile::encodeName(m_oldLockPath);
    struct stat named { };
    // A folder of that name is not ours to remove, and locks nothing now.
    if (::lstat(path.constData(), &named) != 0 || S_ISDIR(named.st_mode))
        return false;
    if (!S_ISREG(named.st_mode)) {
        ::unlink(path.constData());
        return false;
    }
    // A file that cannot be read is another user's, and left alone.
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat opened { };
    if (::fstat(fd, &opened) != 0 || !sameFile(named, opened)) {
        ::close(fd);
        return false;
    }
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        // Held: by a Tolm of this host when its third line says so; a lock
        // held over a network file system from another machine is no
        // concern of this one.
        char head[512] = {};
        const auto got = ::pread(fd, head, sizeof head - 1, 0);
        const QByteArray host = got > 0 ? QByteArray(head, got).split('\n').value(2) : QByteArray();
        if (host == QSysInfo::machineHostName().toUtf8()) {
            ::close(fd);
            return true;
        }
    }
    // Stale, or copied from another machine: removed, while it is still the
    // file looked at.
    if (::lstat(path.constData(), &named) == 0 && sameFile(named, opened))
        ::unlink(path.constData());
    ::close(fd);
    return false;
}

InstanceLock::Attempt InstanceLock::tryLock()
{
    const QByteArray path = QFile::encodeName(m_lockPath);
    struct stat named { };
    if (::lstat(path.constData(), &named) == 0 && !S_ISREG(named.st_mode)) {
        if (S_ISDIR(named.st_mode))
            return refuse(Obstacle::NotAFile, EISDIR);
        // A link, a pipe, a socket or a device under our own hidden name is
        // no one's lock, and opening it could block or reach elsewhere.
        if (::unlink(path.constData()) != 0)
            return refuse(Obstacle::CannotCreate, errno);
        return Attempt::Cleared;
    }
    int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    const int openError = errno;
    m_writable = fd >= 0;
    // Replaced by something else since it was looked at: look again.
    if (fd < 0 && (openError == ELOOP || openError == ENXIO || openError == EISDIR))
        return Attempt::Cleared;
    // A lock file that may not be written (a read-only one, or one in a
    // folder that may not be written) can still be locked: flock() needs
    // no write access.
    if (fd < 0)
        fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return refuse(Obstacle::CannotCreate, openError);
    struct stat opened { };
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return Attempt::Cleared;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int lockError = errno;
        ::close(fd);
        return lockError == EWOULDBLOCK ? Attempt::Held : refuse(Obstacle::CannotCreate, lockError);
    }
    // A holder removes the file before it lets go of it, so a lock on a file
    // that no longer bears the name locks nothing; the name is tried again.
    if (::lstat(path.constData(), &named) != 0 || !sameFile(named, opened)) {
        ::close(fd);
        return Attempt::Cleared;
    }
    m_fd = fd;
    writeHolder();
    return Attempt::Locked;
}

InstanceLock::Attempt InstanceLock::refuse(Obstacle obstacle, int errorNumber)
{
    m_obstacle = obstacle;
    m_errorNumber = errorNumber;
    return Attempt::Refused;
}

void InstanceLock::writeHolder() const
{
    if (!m_writable)
        return;
    // QLockFile's lines, so that an older Tolm reads a live holder here. The
    // lock holds without them (on a full disk); they only name the holder.
    const QByteArray info = QByteArray::number(QCoreApplication::applicationPid()) + '\n'
        + QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() + '\n'
        + QSysInfo::machineHostName().toUtf8() + '\n';
    if (::ftruncate(m_fd, 0) == 0) {
        [[maybe_unused]] const auto written = ::pwrite(m_fd, info.constData(), size_t(info.size()), 0);
    }
}

qint64 InstanceLock::holderPid() const
{
    const int fd = ::open(QFile::encodeName(m_oldHolder ? m_oldLockPath : m_lockPath).constData(),
        O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char head[32] = {};
    const auto got = ::read(fd, head, sizeof head - 1);
    ::close(fd);
    return got > 0 ? QByteArray(head, got).split('\n').value(0).toLongLong() : 0;
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
    // A socket file left by a holder that was killed; holding the lock (or,
    // where there can be none, having asked) means no live Tolm of this user
    // serves this folder, so it is no one's.
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
    if (m_fd >= 0) {
        // Removed while still locked: a start that opened the file meanwhile
        // finds, once it has the lock, that the name is no longer this file.
        const QByteArray path = QFile::encodeName(m_lockPath);
        struct stat named {
        }, held {};
        if (::lstat(path.constData(), &named) == 0 && ::fstat(m_fd, &held) == 0 && sameFile(named, held))
            ::unlink(path.constData());
        ::close(m_fd);
        m_fd = -1;
    }
}

} // namespace tolm::app
