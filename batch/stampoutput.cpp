#include "batch/stampoutput.h"

#include "components/jpegwriter.h"
#include "components/localtext.h"
#include "components/nativefile.h"
#include "imaging/saveoutput.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <climits>
#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

namespace orvello {

namespace {

QByteArray absolute(const QByteArray& path)
{
    if (path.startsWith('/')) return path;
    char cwd[PATH_MAX];
    if (!::getcwd(cwd, sizeof cwd)) return path;
    return path == "." ? QByteArray(cwd) : QByteArray(cwd) + '/' + path;
}

// The path with every link and "." or ".." resolved, or empty when it does not lead anywhere.
QByteArray resolved(const QByteArray& path)
{
    char* real = ::realpath(path.constData(), nullptr);
    if (!real) return {};
    QByteArray out(real);
    std::free(real);
    return out;
}

QByteArray folderPart(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

QByteArray namePart(const QByteArray& path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

// The directory entry a path names: its folder resolved, its last part as written, so that a
// link and the file it points to stay apart.
QByteArray entryOf(const QByteArray& path)
{
    const QByteArray folder = folderPart(path);
    const QByteArray real = resolved(folder);
    return (real.isEmpty() ? absolute(folder) : real) + '/' + namePart(path);
}

bool isLink(const QByteArray& path)
{
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool isRegularFile(const QByteArray& path)
{
    struct stat info {};
    return ::stat(path.constData(), &info) == 0 && S_ISREG(info.st_mode);
}

// True when Qt's file classes spell the path with these very bytes.
bool qtCanSpell(const QByteArray& path)
{
    return QFile::encodeName(QFile::decodeName(path)) == path;
}

}  // namespace

QByteArray stampTarget(const QByteArray& photo, const QByteArray& outDir)
{
    QByteArray dir = outDir.isEmpty() ? absolute(folderPart(photo)) : outDir;
    if (!dir.endsWith('/')) dir += '/';
    return dir + stampedNativeName(namePart(photo));
}

QString shownPath(const QByteArray& nativePath)
{
    return decodeLocalBytes(nativePath);
}

StampOutputGuard::StampOutputGuard(const QList<QByteArray>& inputs)
{
    for (const QByteArray& input : inputs) {
        inputEntries_.insert(entryOf(input));
        const QByteArray real = resolved(input);
        if (!real.isEmpty()) inputFiles_.insert(real);
    }
}

bool StampOutputGuard::exists(const QByteArray& target)
{
    struct stat info {};
    return ::lstat(target.constData(), &info) == 0;
}

QString StampOutputGuard::refusal(const QByteArray& target, bool overwrite) const
{
    const QString shown = shownPath(target);
    const QByteArray entry = entryOf(target);
    const bool link = isLink(target);
    if (inputEntries_.contains(entry) || (!link && inputFiles_.contains(resolved(target))))
        return QStringLiteral("目标文件是要处理的照片，不会覆盖它：%1").arg(shown);
    if (claimed_.contains(entry))
        return QStringLiteral("本次已写入同名的目标文件，不会覆盖它：%1").arg(shown);
    if (!exists(target)) return {};
    if (!link && !isRegularFile(target))
        return QStringLiteral("目标已存在且不是文件：%1").arg(shown);
    if (!overwrite)
        return QStringLiteral("目标文件已存在，未写入：%1（加 --overwrite 可替换）").arg(shown);
    return {};
}

void StampOutputGuard::claim(const QByteArray& target)
{
    claimed_.insert(entryOf(target));
}

QString writeStampedCopy(const QImage& canvas, const QByteArray& target,
                         const std::atomic<bool>* cancel, bool* cancelled)
{
    JpegWriter writer;
    writer.setCancelFlag(cancel);
    // A save file would follow a link and replace what it points to, and Qt cannot spell every
    // name: both go through the native save file, whose rename replaces the link itself. Any
    // other path keeps Qt's save file, which keeps an existing file's permissions.
    const QString path = QFile::decodeName(target);
    const bool ok = !isLink(target) && qtCanSpell(target) ? writer.save(canvas, path)
                                                          : writer.saveNative(canvas, target);
    if (cancelled) *cancelled = writer.wasCancelled();
    if (ok || writer.wasCancelled()) return ok ? QString() : writer.error();
    return QStringLiteral("存储失败！%1：%2")
        .arg(shownPath(target), saveFailureReason(path, writer.error(), canvas.size()));
}

QString writeStampedBytes(const QByteArray& jpeg, const QByteArray& target, QSize pictureSize)
{
    const QString path = QFile::decodeName(target);
    QString error;
    bool ok = false;
    if (!isLink(target) && qtCanSpell(target)) {
        QSaveFile file(path);
        ok = file.open(QIODevice::WriteOnly) && file.write(jpeg) == jpeg.size() && file.commit();
        if (!ok) error = file.errorString();
    } else {
        ok = writeNativeFile(target, jpeg, &error);
    }
    if (ok) return {};
    return QStringLiteral("存储失败！%1：%2")
        .arg(shownPath(target), saveFailureReason(path, error, pictureSize));
}

}  // namespace orvello
