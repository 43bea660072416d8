#include "batch/stampoutput.h"

#include "components/jpegwriter.h"
#include "components/localtext.h"
#include "components/nativefile.h"
#include "imaging/saveoutput.h"

#include <QDir>
#include <QFile>
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
    const QByteArray real = resolvedPath(folder);
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

QByteArray resolvedPath(const QByteArray& path)
{
    char* real = ::realpath(path.constData(), nullptr);
    if (!real) return {};
    QByteArray out(real);
    std::free(real);
    return out;
}

StampOutputGuard::StampOutputGuard(const QList<QByteArray>& inputs)
{
    for (const QByteArray& input : inputs) {
        inputEntries_.insert(entryOf(input));
        const QByteArray real = resolvedPath(input);
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
    if (inputEntries_.contains(entry) || (!link && inputFiles_.contains(resolvedPath(target))))
        return QStringLiteral("目标文件是要处理的照片，不会覆盖它：%1").arg(shown);
    if (claimed_.contains(entry))
        return QStringLiteral("本次已写入同名的目标文件，不会覆盖它：%1").arg(shown);
    if (!exists(target)) return {};
    if (!link && !isRegularFile(target))
        return QStringLiteral("目标已存在且不是文件：%1").arg(shown);
    if (!overwrite) return existingCopyRefusal(target);
    return {};
}

void StampOutputGuard::claim(const QByteArray& target)
{
    claimed_.insert(entryOf(target));
}

JpegOptions copyJpegOptions(const SourceTraits& traits, bool turnedSideways, int quality)
{
    JpegOptions o;
    o.quality = quality;
    o.iccProfile = traits.iccProfile;
    o.density = turnedSideways ? traits.density.swapped() : traits.density;
    return o;
}

JpegOptions copyJpegOptions(const SourceTraits& traits, bool turnedSideways, int quality,
                            const KeptMetadata* metadata, QSize copySize,
                            const QString& shownPhoto, QString* warning)
{
    JpegOptions o = copyJpegOptions(traits, turnedSideways, quality);
    warning->clear();
    if (!metadata) return o;
    QString problem;
    o.segments = metadata->segmentsFor(copySize, &problem);
    if (!problem.isEmpty())
        *warning =
            QStringLiteral("警告：照片“%1”的EXIF信息已损坏或无法安全写入，副本不含EXIF信息（%2）。")
                .arg(shownPhoto, problem);
    else if (metadata->leavesOutMakerNote())
        *warning = QStringLiteral(
                       "警告：照片“%1”的厂商注释（MakerNote）在副本中无法保持可读，"
                       "副本不含厂商注释，其余EXIF信息已保留。")
                       .arg(shownPhoto);
    return o;
}

QString existingCopyRefusal(const QByteArray& target)
{
    return QStringLiteral("目标文件已存在，未写入：%1（加 --overwrite 可替换）")
        .arg(shownPath(target));
}

namespace {

QString writeFailure(const QByteArray& target, const QString& error, QSize pictureSize)
{
    // The system's own reason is exact for a full disk; a guess from the free space afterwards
    // would not be, since the failed copy's room is free again.
    const QString reason =
        error == diskFullText() ? error
                                : saveFailureReason(QFile::decodeName(target), error, pictureSize);
    return QStringLiteral("存储失败！%1：%2").arg(shownPath(target), reason);
}

}  // namespace

QString writeStampedCopy(const QImage& canvas, const QByteArray& target, bool replace,
                         const std::atomic<bool>* cancel, bool* cancelled, bool* existed,
                         const JpegOptions& options)
{
    JpegWriter writer(options);
    writer.setCancelFlag(cancel);
    writer.setReplaceExisting(replace);
    // Always the native save file: it never follows a link at the target, spells every name, can
    // refuse a name taken meanwhile, and leaves no named temporary file where it can avoid one.
    const bool ok = writer.saveNative(canvas, target);
    if (cancelled) *cancelled = writer.wasCancelled();
    if (existed) *existed = writer.targetExisted();
    if (ok || writer.wasCancelled()) return ok ? QString() : writer.error();
    if (writer.targetExisted()) return existingCopyRefusal(target);
    return writeFailure(target, writer.error(), canvas.size());
}

QString writeStampedBytes(const QByteArray& jpeg, const QByteArray& target, bool replace,
                          bool* existed, QSize pictureSize)
{
    // The same native save file as writeStampedCopy, for the same reasons.
    NativeSaveFile file;
    file.setReplaceExisting(replace);
    QString error;
    bool ok = file.open(target, &error);
    if (ok && !file.write(jpeg.constData(), jpeg.size())) {
        error = file.errorString();
        ok = false;
    }
    ok = ok && file.commit(&error);
    if (existed) *existed = file.targetExisted();
    if (ok) return {};
    file.cancel();
    if (file.targetExisted()) return existingCopyRefusal(target);
    return writeFailure(target, error, pictureSize);
}

}  // namespace orvello
