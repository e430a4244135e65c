#pragma once

#include <QObject>
#include <QString>
#include <chrono>

class QLocalServer;
class QLocalSocket;

namespace tolm::app {

// One Tolm per shelf folder. Two processes that both loaded the same shelf
// would each save it on quitting, and the later one would silently undo the
// other's changes; so the first start holds a lock file and listens on a
// local socket, and a later start asks it to come forward instead of loading
// anything.
//
// The lock file lies beside the socket in the user's runtime folder, named
// for the shelf folder: a file in the shelf folder would travel with it to
// another machine when a sync service keeps the folder, and name there a
// host and a process that mean nothing. Which folder that is depends on
// nothing a start may be given differently (XDG_RUNTIME_DIR, TMPDIR): two
// starts on one folder of one host always meet at the same lock. Only where
// neither runtime folder can be had does the lock lie in the shelf folder,
// under a name that carries the host's name, so that one copied from
// elsewhere never stops a start.
//
// The lock is flock() on the file, which the kernel drops when its holder
// dies: a lock file left behind by a killed Tolm, or one naming a process id
// that has since been reused, holds nothing. Older Tolms held ".tolm.lock"
// in the shelf folder (QLockFile takes the same flock()): one of this host
// that still holds it is asked to come forward like any holder; any other
// file of that name is removed.
class InstanceLock : public QObject {
    Q_OBJECT

public:
    enum class Outcome {
        Owner, // this process holds the folder and answers later starts
        HandedOver, // the holder was asked to come forward and said it did
        NoAnswer, // another process holds the folder but did not answer in time
        Unlockable, // no lock can be had here; obstacle() says why
    };
    enum class Obstacle {
        None,
        NotAFile, // something that is not ours to remove (a directory) has the lock's name
        CannotCreate, // the folder refuses the file; errorNumber() says why
    };

    // The lock file older Tolms kept in the shelf folder.
    static constexpr const char* kOldLockFileName = ".tolm.lock";

    explicit InstanceLock(const QString& folder, QObject* parent = nullptr);
    ~InstanceLock() override;

    // Takes the lock, or asks the process holding it to come forward and waits
    // at most `answerTimeout` for it to say so. Nothing at the lock's name
    // makes it wait longer. When the lock cannot be had at all, a Tolm that
    // runs here without it is asked too; if none answers, this one answers
    // later starts in its place.
    Outcome acquire(std::chrono::milliseconds answerTimeout);
    // Stops answering and gives the folder up; the destructor does it too.
    void release();

    Obstacle obstacle() const { return m_obstacle; }
    int errorNumber() const { return m_errorNumber; }
    // The process id the lock file names, or 0; for telling who holds it.
    qint64 holderPid() const;

    QString lockFilePath() const { return m_lockPath; }
    QString serverName() const { return m_serverName; }
    // The user's runtime folder, whatever the environment says: the login
    // manager's /run/user/UID, or else /tmp/tolm-UID, made for it; each only
    // when it is a real folder the user owns and no one else may enter.
    // Empty when neither is.
    static QString runtimeFolder();
    // The local socket name for a folder, from a hash of its canonical path:
    // a path can be longer than a socket address may be. It lies in the
    // runtime folder when that is a folder the user may write; the user id
    // keeps two users' names apart where they share the temporary folder.
    static QString serverNameFor(const QString& canonicalFolder, const QString& runtimeFolder);
    // The lock file for a folder: the socket's name with ".lock" in the same
    // runtime folder, or else ".tolm-HOST.lock" in the shelf folder itself.
    static QString lockFileFor(const QString& canonicalFolder, const QString& runtimeFolder);

signals:
    // A later start in the same folder asks for the main window.
    void activationRequested();

private:
    enum class Attempt { Locked, Held, Cleared, Refused };
    bool oldLockHeldHere() const;
    Outcome handOver(std::chrono::milliseconds answerTimeout) const;
    Attempt tryLock();
    Attempt refuse(Obstacle obstacle, int errorNumber);
    void writeHolder() const;
    bool askHolder(std::chrono::milliseconds timeout) const;
    void listen();
    void answer(QLocalSocket* socket);

    QString m_lockPath;
    QString m_oldLockPath;
    QString m_serverName;
    int m_fd { -1 };
    bool m_writable { false };
    bool m_oldHolder { false }; // an older Tolm holds the folder under the old name
    Obstacle m_obstacle { Obstacle::None };
    int m_errorNumber { 0 };
    QLocalServer* m_server { nullptr };
};

} // namespace tolm::app
