#include "cli/stampoutput.h"

#include "components/jpegwriter.h"
#include "imaging/saveoutput.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace orvello {

namespace {

// The directory entry a path names: its folder resolved, its last part as written, so that a
// link and the file it points to stay apart.
QString entryOf(const QString& path)
{
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName();
}

#ifdef Q_OS_UNIX
// A new file gets the mode the user's umask gives, as the plain write would.
void giveDefaultMode(const QString& path)
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(path).constData(), 0666 & ~mask);
}
#else
void giveDefaultMode(const QString&) {}
#endif

}  // namespace

QString stampTarget(const QString& photo, const QString& outDir)
{
    const QFileInfo source(photo);
    const QString dir = outDir.isEmpty() ? source.absolutePath() : outDir;
    return QDir(dir).filePath(stampedFileName(source.fileName()));
}

StampOutputGuard::StampOutputGuard(const QStringList& inputs, bool overwrite)
    : overwrite_(overwrite)
{
    for (const QString& input : inputs) {
        inputEntries_.insert(entryOf(input));
        const QString resolved = QFileInfo(input).canonicalFilePath();
        if (!resolved.isEmpty()) inputFiles_.insert(resolved);
    }
}

QString StampOutputGuard::refusal(const QString& target) const
{
    const QFileInfo info(target);
    const QString entry = entryOf(target);
    if (inputEntries_.contains(entry) ||
        (!info.isSymLink() && inputFiles_.contains(info.canonicalFilePath())))
        return QStringLiteral("目标文件是要处理的照片，不会覆盖它：%1").arg(target);
    if (written_.contains(entry))
        return QStringLiteral("本次已写入同名的目标文件，不会覆盖它：%1").arg(target);
    if (!info.exists() && !info.isSymLink()) return {};
    if (!info.isSymLink() && !info.isFile())
        return QStringLiteral("目标已存在且不是文件：%1").arg(target);
    if (!overwrite_)
        return QStringLiteral("目标文件已存在，未写入：%1（加 --overwrite 可替换）").arg(target);
    return {};
}

QString StampOutputGuard::write(const QImage& canvas, const QString& target)
{
    JpegWriter writer;
    const auto failed = [&](const QString& detail) {
        return QStringLiteral("存储失败！%1：%2")
            .arg(target, saveFailureReason(target, detail, canvas.size()));
    };
    if (!QFileInfo(target).isSymLink()) {
        if (!writer.save(canvas, target)) return failed(writer.error());
    } else {
        // A save file would follow the link and replace what it points to: write beside it,
        // then rename the new file over the link itself.
        QTemporaryFile temp(target + QStringLiteral(".XXXXXX"));
        if (!temp.open()) return failed(temp.errorString());
        temp.close();
        if (!writer.save(canvas, temp.fileName())) return failed(writer.error());
        std::error_code ec;
        std::filesystem::rename(QFile::encodeName(temp.fileName()).toStdString(),
                                QFile::encodeName(target).toStdString(), ec);
        if (ec) return failed(QString::fromLocal8Bit(ec.message().c_str()));
        temp.setAutoRemove(false);
        giveDefaultMode(target);
    }
    written_.insert(entryOf(target));
    return {};
}

}  // namespace orvello
