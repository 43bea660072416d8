#include "app/singleinstance.h"

#include "app/messages.h"
#include "app/photohandover.h"

#include <QCoreApplication>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace orvello {

namespace {

// The system's reason why the lock file could not be written, worded for the user.
QString lockFailureText(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT: return QCoreApplication::translate("app", "磁盘已满");
    case EACCES:
    case EPERM:
    case EROFS: return QCoreApplication::translate("app", "没有写入权限");
    case ENOENT:
    case ENOTDIR: return QCoreApplication::translate("app", "文件夹不存在");
    case 0: return QCoreApplication::translate("app", "原因不明");
    default: return QString::fromLocal8Bit(std::strerror(error));
    }
}

}  // namespace

SingleInstance::SingleInstance(QString lockPath)
    : path_(std::move(lockPath)), lock_(std::make_unique<QLockFile>(path_))
{
    lock_->setStaleLockTime(0);  // a lock whose process is gone is stale at once
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Outcome SingleInstance::acquire()
{
    for (int attempt = 0;; ++attempt) {
        errno = 0;
        if (lock_->tryLock(0)) return Outcome::Acquired;
        // QLockFile keeps only its own error kind; the system's reason is still in errno.
        const int error = errno;
        if (lock_->error() != QLockFile::LockFailedError) {
            failure_ = lockFailureText(error);
            return Outcome::Failed;
        }
        // A running instance has its process number in the lock. What stands there without
        // one (a folder, a file of someone else's) would be taken for an instance for ever;
        // an instance that has only just created the file gets a moment to fill it.
        qint64 pid = 0;
        QString host, app;
        if (lock_->getLockInfo(&pid, &host, &app)) return Outcome::HeldElsewhere;
        if (attempt == 1) {
            failure_ = QCoreApplication::translate("app", "那里已有别的文件或文件夹");
            return Outcome::Failed;
        }
        QThread::msleep(100);
    }
}

QString SingleInstance::defaultLockPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return dir + QStringLiteral("/orvello.lock");
}

StartDecision decideStart(const SingleInstance& instance, SingleInstance::Outcome outcome,
                          const QString& photo, Host& host, const QString& socketPath, int waitMs)
{
    switch (outcome) {
    case SingleInstance::Outcome::Acquired: return {};
    case SingleInstance::Outcome::Failed:
        showNotice(
            host,
            QCoreApplication::translate("app",
                                        "无法创建锁文件 %1：%2。\n\n无法确认 Orvello 是否已在运行，"
                                        "因此不能启动。请检查这个文件夹后再试。")
                .arg(QDir::toNativeSeparators(instance.lockPath()), instance.failureReason()),
            MsgIcon::Critical);
        return {StartDecision::End, kExitNoLock};
    case SingleInstance::Outcome::HeldElsewhere: break;
    }
    // The window is up already: it opens the photo, if one was named, and this start ends.
    if (photo.isEmpty() || PhotoHandover::send(photo, socketPath, waitMs))
        return {StartDecision::End, 0};
    // It could not listen, or it hangs: rather than drop the photo, this start shows it.
    std::fputs(QCoreApplication::translate(
                   "app", "orvello：正在运行的窗口没有接收照片，照片在新的窗口中打开。\n")
                   .toLocal8Bit()
                   .constData(),
               stderr);
    return {StartDecision::OwnWindow};
}

}  // namespace orvello
