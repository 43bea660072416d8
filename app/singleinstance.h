#pragma once
// One running instance per user, and what a start does when another one holds the lock.
#include <QString>
#include <memory>

class QLockFile;

namespace orvello {

class Host;

// Exit status of a start that cannot tell whether another instance runs: its lock cannot be
// written (the runtime folder is full, unwritable or missing).
inline constexpr int kExitNoLock = 4;

// One running instance per user: the lock lives in the per-user runtime folder.
class SingleInstance {
public:
    enum class Outcome {
        Acquired,       // this instance holds the lock until destroyed
        HeldElsewhere,  // another instance is running
        Failed,         // the lock file cannot be written: see failureReason()
    };
    explicit SingleInstance(QString lockPath = defaultLockPath());
    ~SingleInstance();
    Outcome acquire();
    QString lockPath() const { return path_; }
    // Why the lock file could not be written, in the interface's language.
    QString failureReason() const { return failure_; }
    static QString defaultLockPath();

private:
    QString path_;
    QString failure_;
    std::unique_ptr<QLockFile> lock_;
};

// What a start does after trying the lock.
struct StartDecision {
    enum Mode {
        MainWindow,  // the one instance: its window takes the photos of later starts
        OwnWindow,   // the running instance did not take the photo: it gets a window of its own
        End,         // nothing more to do, with exitStatus
    } mode = MainWindow;
    int exitStatus = 0;
};

// Goes on from instance's outcome of acquire(). When another instance holds the lock, photo (if
// any) is handed over to it; a start without photo then simply ends. When the lock cannot be
// written, the reason is shown through host and the start ends with kExitNoLock.
StartDecision decideStart(const SingleInstance& instance, SingleInstance::Outcome outcome,
                          const QString& photo, Host& host, const QString& socketPath, int waitMs);

}  // namespace orvello
