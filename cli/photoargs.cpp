#include "cli/photoargs.h"

#include "batch/stampoutput.h"
#include "photo/folderlist.h"

#include <QFile>
#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvello {

namespace {

bool isFolder(const QByteArray& path)
{
    struct stat info {};
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The visible sub-folders of folder, in the photo list's order. A link to a folder is not
// followed: it could lead back up and never end.
QList<QByteArray> subFolders(const QByteArray& folder)
{
    FolderList list;
    DIR* dir = ::opendir(folder.constData());
    if (!dir) return {};
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.startsWith('.')) continue;
        struct stat info {};
        if (::lstat((folder + name).constData(), &info) != 0 || !S_ISDIR(info.st_mode)) continue;
        list.names << shownFileName(name);
        list.nativeNames << name;
    }
    ::closedir(dir);
    sortLikeFileManager(list);
    return list.nativeNames;
}

void expandFolder(const QByteArray& folder, const QByteArray& subFolder, bool recursive,
                  QList<PhotoSource>& photos, const std::function<void(const QString&)>& report)
{
    const FolderList list = listPhotoFolder(folder, QString());
    const qsizetype before = photos.size();
    for (const QByteArray& name : list.nativeNames)
        if (!name.startsWith("PM_")) photos << PhotoSource{folder + name, subFolder};
    if (recursive)
        for (const QByteArray& sub : subFolders(folder))
            expandFolder(folder + sub + '/', subFolder + sub + '/', true, photos, report);
    if (photos.size() == before && !recursive)
        report(QStringLiteral("文件夹中没有照片（%1）：%2").arg(photoExtensionsText(), shownPath(folder)));
}

}  // namespace

QList<PhotoSource> expandPhotoArgs(const QList<QByteArray>& args, bool recursive,
                                   const std::function<void(const QString&)>& report)
{
    QList<PhotoSource> photos;
    for (const QByteArray& arg : args) {
        if (!isFolder(arg)) {
            photos << PhotoSource{arg, {}};
            continue;
        }
        const qsizetype before = photos.size();
        expandFolder(arg.endsWith('/') ? arg : arg + '/', {}, recursive, photos, report);
        if (recursive && photos.size() == before)
            report(QStringLiteral("文件夹及其子文件夹中没有照片：%1").arg(shownPath(arg)));
    }
    return photos;
}

std::optional<QList<QByteArray>> readPhotoList(const QByteArray& file, bool nul, QString* error)
{
    QFile in;
    const bool opened =
        file == "-" ? in.open(stdin, QIODevice::ReadOnly)
                    : (in.setFileName(QFile::decodeName(file)), in.open(QIODevice::ReadOnly));
    QByteArray bytes;
    if (opened) bytes = in.readAll();
    if (!opened || in.error() != QFileDevice::NoError) {
        *error =
            QStringLiteral("无法读取文件列表：%1（%2）")
                .arg(file == "-" ? QStringLiteral("标准输入") : shownPath(file), in.errorString());
        return std::nullopt;
    }
    QList<QByteArray> names;
    for (const QByteArray& name : bytes.split(nul ? '\0' : '\n'))
        if (!name.isEmpty()) names << name;
    return names;
}

QString prepareOutFolder(const QByteArray& outDir, const QByteArray& subFolder)
{
    if (subFolder.isEmpty()) return {};
    const QByteArray base = outDir.endsWith('/') ? outDir : outDir + '/';
    const QString shown = shownPath(base + subFolder);
    QByteArray path = base;
    for (const QByteArray& part : subFolder.split('/')) {
        if (part.isEmpty()) continue;
        if (part == "." || part == "..")
            return QStringLiteral("子文件夹名含有“..”，不会写到 --out 文件夹之外：%1").arg(shown);
        path += part + '/';
        if (::mkdir(path.constData(), 0777) != 0 && errno != EEXIST)
            return QStringLiteral("无法创建文件夹：%1（%2）")
                .arg(shownPath(path), QString::fromLocal8Bit(std::strerror(errno)));
    }
    // A link among the parts that leads out of outDir would put the copy somewhere else.
    const QByteArray root = resolvedPath(base), real = resolvedPath(path);
    const QByteArray inside = root.endsWith('/') ? root : root + '/';
    if (root.isEmpty() || real.isEmpty() || !(real + '/').startsWith(inside))
        return QStringLiteral("子文件夹通向 --out 文件夹之外，未写入：%1").arg(shown);
    return {};
}

}  // namespace orvello
