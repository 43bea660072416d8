#include "batch/stampoutput.h"

#include "components/jpegwriter.h"
#include "components/nativefile.h"
#include "imaging/saveoutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
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

namespace {

// UTF-8 with every byte that is not part of a valid sequence shown as \xNN.
QString escapedUtf8(QByteArrayView bytes)
{
    QString out;
    for (qsizetype i = 0; i < bytes.size();) {
        const uchar lead = uchar(bytes[i]);
        const qsizetype length = lead < 0x80                    ? 1
                                 : lead >= 0xC2 && lead <= 0xDF ? 2
                                 : lead >= 0xE0 && lead <= 0xEF ? 3
                                 : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                                : 0;
        if (length > 0 && i + length <= bytes.size()) {
            QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString one = utf8.decode(bytes.sliced(i, length));
            if (!utf8.hasError()) {
                out += one;
                i += length;
                continue;
            }
        }
        out += QStringLiteral("\\x") + QString::number(lead, 16).toUpper().rightJustified(2, u'0');
        ++i;
    }
    return out;
}

QString shownPart(QByteArrayView part)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(part);
    if (!utf8.hasError()) return text;
    QStringDecoder gb18030("GB18030", QStringDecoder::Flag::Stateless);
    if (gb18030.isValid()) {
        text = gb18030.decode(part);
        if (!gb18030.hasError()) return text;
    }
    return escapedUtf8(part);
}

}  // namespace

QString shownPath(const QByteArray& nativePath)
{
    // Each part on its own: a folder named on one system may hold files named on another.
    QString shown;
    qsizetype from = 0;
    for (qsizetype slash; (slash = nativePath.indexOf('/', from)) >= 0; from = slash + 1)
        shown += shownPart(QByteArrayView(nativePath).sliced(from, slash - from)) + u'/';
    return shown + shownPart(QByteArrayView(nativePath).sliced(from));
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
        return QCoreApplication::translate("batch", "目标文件是要处理的照片，不会覆盖它：%1")
            .arg(shown);
    if (claimed_.contains(entry))
        return QCoreApplication::translate("batch", "本次已写入同名的目标文件，不会覆盖它：%1")
            .arg(shown);
    if (!exists(target)) return {};
    if (!link && !isRegularFile(target))
        return QCoreApplication::translate("batch", "目标已存在且不是文件：%1").arg(shown);
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
                            const KeptMetadata* metadata, QSize copySize, const QString& shownPhoto,
                            QString* warning, int orientation)
{
    JpegOptions o = copyJpegOptions(traits, turnedSideways, quality);
    warning->clear();
    const auto turnKept = [&] {
        // A copy stored turned shows upright only by its tag: it never goes without one.
        if (orientation == 1 || std::any_of(o.segments.cbegin(), o.segments.cend(), isExifSegment))
            return;
        const JpegSegment exif = orientationExifSegment(orientation, o.density);
        if (!exif.payload.isEmpty()) o.segments.prepend(exif);
    };
    if (!metadata) {
        turnKept();
        return o;
    }
    QString problem;
    o.segments = metadata->segmentsFor(copySize, &problem, orientation);
    turnKept();
    if (!problem.isEmpty())
        *warning =
            QCoreApplication::translate(
                "batch", "警告：照片“%1”的EXIF信息已损坏或无法安全写入，副本不含EXIF信息（%2）。")
                .arg(shownPhoto, problem);
    else if (metadata->leavesOutMakerNote())
        *warning = QCoreApplication::translate(
                       "batch",
                       "警告：照片“%1”的厂商注释（MakerNote）在副本中无法保持可读，"
                       "副本不含厂商注释，其余EXIF信息已保留。")
                       .arg(shownPhoto);
    return o;
}

QString existingCopyRefusal(const QByteArray& target)
{
    return QCoreApplication::translate("batch",
                                       "目标文件已存在，未写入：%1（加 --overwrite 可替换）")
        .arg(shownPath(target));
}

namespace {

QString writeFailure(const QByteArray& target, const QString& error, QSize pictureSize)
{
    // The system's own reason is exact for a full disk; a guess from the free space afterwards
    // would not be, since the failed copy's room is free again.
    const QString reason = error == diskFullText()
                               ? error
                               : saveFailureReason(QFile::decodeName(target), error, pictureSize);
    return QCoreApplication::translate("batch", "存储失败！%1：%2").arg(shownPath(target), reason);
}

}  // namespace

namespace {

// The folder the copy goes in, entered from its output folder; null when it has none, or when
// it cannot be entered (*refusal says why).
std::shared_ptr<const NativeFolder> copyFolder(const StampItem& item, QString* refusal)
{
    if (!item.outRoot) return nullptr;
    int failure = 0;
    std::shared_ptr<const NativeFolder> folder = item.outRoot->below(item.outBelow, &failure);
    if (folder) return folder;
    const QString shown = shownPath(folderPart(item.target));
    *refusal =
        failure == ELOOP || failure == EXDEV
            ? QCoreApplication::translate("batch", "子文件夹通向 --out 文件夹之外，未写入：%1")
                  .arg(shown)
            : QCoreApplication::translate("batch", "无法创建文件夹：%1（%2）")
                  .arg(shown, nativeErrorText(failure));
    return nullptr;
}

}  // namespace

QString writeStampedCopy(const QImage& canvas, const StampItem& item, bool replace,
                         const std::atomic<bool>* cancel, bool* cancelled, bool* existed,
                         const JpegOptions& options)
{
    if (cancelled) *cancelled = false;
    if (existed) *existed = false;
    QString refusal;
    const std::shared_ptr<const NativeFolder> folder = copyFolder(item, &refusal);
    if (!refusal.isEmpty()) return refusal;
    JpegWriter writer(options);
    writer.setCancelFlag(cancel);
    writer.setReplaceExisting(replace);
    // Always the native save file: it never follows a link at the target, spells every name, can
    // refuse a name taken meanwhile, and leaves no named temporary file where it can avoid one.
    const bool ok = folder ? writer.saveNative(canvas, *folder, namePart(item.target))
                           : writer.saveNative(canvas, item.target);
    if (cancelled) *cancelled = writer.wasCancelled() || (!ok && savesStopped());
    if (existed) *existed = writer.targetExisted();
    if (ok || writer.wasCancelled()) return ok ? QString() : writer.error();
    if (cancelled && *cancelled) return {};
    if (writer.targetExisted()) return existingCopyRefusal(item.target);
    return writeFailure(item.target, writer.error(), canvas.size());
}

QString writeStampedBytes(const QByteArray& jpeg, const StampItem& item, bool replace,
                          bool* existed, QSize pictureSize)
{
    if (existed) *existed = false;
    QString error;
    const std::shared_ptr<const NativeFolder> folder = copyFolder(item, &error);
    if (!error.isEmpty()) return error;
    // The same native save file as writeStampedCopy, for the same reasons.
    NativeSaveFile file;
    file.setReplaceExisting(replace);
    bool ok =
        folder ? file.open(*folder, namePart(item.target), &error) : file.open(item.target, &error);
    if (ok && !file.write(jpeg.constData(), jpeg.size())) {
        error = file.errorString();
        ok = false;
    }
    ok = ok && file.commit(&error);
    if (existed) *existed = file.targetExisted();
    if (ok) return {};
    file.cancel();
    if (file.targetExisted()) return existingCopyRefusal(item.target);
    return writeFailure(item.target, error, pictureSize);
}

}  // namespace orvello
