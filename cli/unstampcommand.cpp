#include "cli/unstampcommand.h"

#include "batch/stampoutput.h"
#include "cli/terminaltext.h"
#include "components/nativefile.h"
#include "imaging/losslessrestore.h"
#include "imaging/photodecoder.h"

#include <QCoreApplication>
#include <QString>
#include <cstdio>

namespace orvello {

namespace {

void say(std::FILE* stream, const QString& text)
{
    const QByteArray line = terminalSafe(text, stream).toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

// The copy's name without the prefix stamping gave it, in outDir or beside the copy.
QByteArray restoredPath(const QByteArray& copy, const QByteArray& outDir)
{
    const qsizetype slash = copy.lastIndexOf('/');
    QByteArray name = copy.mid(slash + 1);
    if (name.startsWith("PM_")) name = name.mid(3);
    if (outDir.isEmpty()) return copy.left(slash + 1) + name;
    return (outDir.endsWith('/') ? outDir : outDir + '/') + name;
}

// Empty when the photo was written; else what went wrong.
QString unstampOne(const QByteArray& copy, const QByteArray& outDir,
                   const std::shared_ptr<const NativeFolder>& outRoot, bool overwrite,
                   QByteArray* target)
{
    const FileBytes file = readPhotoFile(copy);
    if (!file.ok()) return file.error;
    const RestoreResult restored = restoreStamp(file.bytes);
    if (restored.status != RestoreResult::Status::Done) return restored.reason;
    *target = restoredPath(copy, outDir);
    if (*target == copy)
        return QCoreApplication::translate("cli",
                                           "恢复的照片会与副本同名：请用 --out 指定别的文件夹");
    StampItem item;
    item.source = copy;
    item.target = *target;
    item.outRoot = outRoot;
    bool existed = false;
    const QString failed = writeStampedBytes(restored.jpeg, item, overwrite, &existed, {});
    return failed.isEmpty() ? QString() : failed;
}

}  // namespace

int unstampCommand(const QList<QByteArray>& args)
{
    QByteArray outDir;
    bool overwrite = false;
    QList<QByteArray> copies;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size())
            outDir = args[++i];
        else if (args[i] == "--overwrite")
            overwrite = true;
        else if (args[i].startsWith("--"))
            return -1;
        else
            copies << args[i];
    }
    if (copies.isEmpty()) return -1;
    // Made with its parents, as stamp's --out is, and held open while the photos are written.
    std::shared_ptr<const NativeFolder> outRoot;
    if (!outDir.isEmpty()) {
        int failure = 0;
        outRoot = NativeFolder::open(outDir, true, &failure);
        if (!outRoot) {
            say(stderr, QCoreApplication::translate("batch", "无法创建文件夹：%1（%2）")
                            .arg(shownPath(outDir), nativeErrorText(failure)));
            return 2;
        }
    }
    int failures = 0;
    for (const QByteArray& copy : copies) {
        QByteArray target;
        const QString failed = unstampOne(copy, outDir, outRoot, overwrite, &target);
        if (failed.isEmpty()) {
            say(stdout, QStringLiteral("%1 -> %2").arg(shownPath(copy), shownPath(target)));
        } else {
            say(stderr, failed.startsWith(QCoreApplication::translate("cli", "存储失败"))
                            ? failed
                            : QCoreApplication::translate("cli", "无法恢复！%1：%2")
                                  .arg(shownPath(copy), failed));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 2;
}

}  // namespace orvello
