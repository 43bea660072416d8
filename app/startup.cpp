#include "app/startup.h"

#include "app/messages.h"
#include "app/photohandover.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace orvello {

QString appDirectory()
{
    QString dir = QCoreApplication::applicationDirPath();
    while (dir.size() > 1 && (dir.endsWith(QLatin1Char('/')) || dir.endsWith(QLatin1Char('\\'))))
        dir.chop(1);
    return dir;
}

namespace {

QStringList fontFilesIn(const QString& folder)
{
    QStringList files;
    for (const char* name : {"DSEG7Classic-Regular.ttf", "DSEG7Classic-Bold.ttf",
                             "DSEG7Classic-Italic.ttf", "DSEG7Classic-BoldItalic.ttf"})
        files << folder + QLatin1Char('/') + QString::fromLatin1(name);
    return files;
}

bool holdsAll(const QStringList& files)
{
    return std::all_of(files.cbegin(), files.cend(),
                       [](const QString& f) { return QFileInfo(f).isFile(); });
}

}  // namespace

QString dateFontFolder(const QString& appDir)
{
    const QString beside = appDir + QStringLiteral("/fonts");
    const QString installed = QDir::cleanPath(appDir + QStringLiteral("/../share/orvello/fonts"));
    for (const QString& folder : {beside, installed})
        if (holdsAll(fontFilesIn(folder))) return folder;
    return beside;
}

QStringList dateFontFiles(const QString& appDir)
{
    return fontFilesIn(dateFontFolder(appDir));
}

bool loadDateFonts(const QString& appDir)
{
    QString family;
    for (const QString& file : dateFontFiles(appDir)) {
        if (!QFileInfo(file).isFile()) return false;
        const int id = QFontDatabase::addApplicationFont(file);
        if (id < 0) return false;
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (families.isEmpty()) return false;
        family = families.first();
    }
    QFont::insertSubstitution(QString::fromLatin1(kDateFaceName), family);
    return true;
}

QString photoArgument(const QStringList& arguments)
{
    // "--" ends the options, so that a photo whose name starts with "-" can be named.
    const qsizetype at = arguments.value(1) == QLatin1String("--") ? 2 : 1;
    const QString given = arguments.value(at);
    if (given.isEmpty()) return {};
    // A file manager may hand over a URL rather than a path.
    const QUrl url(given);
    const QString path = url.isLocalFile() ? url.toLocalFile() : given;
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

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
