#include "cli/photoargs.h"

#include "batch/stampoutput.h"
#include "photo/folderlist.h"

#include <QFile>
#include <climits>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QCoreApplication>

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
        // By the folder's descriptor: the sub-folder's own path may be too long to look up.
        struct stat info {};
        if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISDIR(info.st_mode))
            continue;
        list.names << shownFileName(name);
        list.nativeNames << name;
    }
    ::closedir(dir);
    sortLikeFileManager(list);
    return list.nativeNames;
}

QString tooLong(const QByteArray& path)
{
    return QCoreApplication::translate("cli", "路径太长（超过 %1 字节），无法读取：%2")
        .arg(PATH_MAX - 1)
        .arg(shownPath(path));
}

void expandFolder(const QByteArray& folder, const QByteArray& subFolder, bool recursive,
                  QList<PhotoSource>& photos, const std::function<void(const QString&)>& report)
{
    // Deeper than the system can name: said so, rather than taken for a folder without photos.
    if (folder.size() >= PATH_MAX) {
        photos << PhotoSource{folder, subFolder, tooLong(folder)};
        return;
    }
    const FolderList list = listPhotoFolder(folder, QString());
    const qsizetype before = photos.size();
    for (const QByteArray& name : list.nativeNames) {
        if (name.startsWith("PM_")) continue;
        const QByteArray path = folder + name;
        photos << PhotoSource{path, subFolder, path.size() >= PATH_MAX ? tooLong(path) : QString()};
    }
    if (recursive)
        for (const QByteArray& sub : subFolders(folder))
            expandFolder(folder + sub + '/', subFolder + sub + '/', true, photos, report);
    if (photos.size() == before && !recursive)
        report(QCoreApplication::translate("cli", "文件夹中没有照片（%1）：%2")
                   .arg(photoExtensionsText(), shownPath(folder)));
}

}  // namespace

QList<PhotoSource> expandPhotoArgs(const QList<QByteArray>& args, bool recursive,
                                   const std::function<void(const QString&)>& report)
{
    QList<PhotoSource> photos;
    for (const QByteArray& arg : args) {
        if (arg.size() >= PATH_MAX) {
            photos << PhotoSource{arg, {}, tooLong(arg)};
            continue;
        }
        if (!isFolder(arg)) {
            photos << PhotoSource{arg, {}, {}};
            continue;
        }
        const qsizetype before = photos.size();
        expandFolder(arg.endsWith('/') ? arg : arg + '/', {}, recursive, photos, report);
        if (recursive && photos.size() == before)
            report(QCoreApplication::translate("cli", "文件夹及其子文件夹中没有照片：%1")
                       .arg(shownPath(arg)));
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
            QCoreApplication::translate("cli", "无法读取文件列表：%1（%2）")
                .arg(file == "-" ? QCoreApplication::translate("cli", "标准输入") : shownPath(file),
                     in.errorString());
        return std::nullopt;
    }
    QList<QByteArray> names;
    for (const QByteArray& name : bytes.split(nul ? '\0' : '\n'))
        if (!name.isEmpty()) names << name;
    return names;
}

}  // namespace orvello
