#include "photo/folderlist.h"

#include "components/imageformat.h"
#include "components/localtext.h"

#include <QCollator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <numeric>

#include <dirent.h>
#include <sys/stat.h>

namespace orvello {

namespace {

struct DirHandle {
    DIR* dir = nullptr;
    ~DirHandle()
    {
        if (dir) ::closedir(dir);
    }
};

}  // namespace

bool isPhotoName(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot >= 0 && photoExtensions().contains(name.sliced(dot + 1).toLower());
}

QString photoNamePatterns()
{
    QStringList patterns;
    for (const QString& e : photoExtensions()) patterns << QStringLiteral("*.") + e;
    return patterns.join(u';');
}

QString photoExtensionsText()
{
    QStringList names;
    for (const QString& e : photoExtensions()) names << u'.' + e;
    return names.join(u'、');
}

QString shownFileName(const QByteArray& nativeName)
{
    return decodeLocalBytes(nativeName);
}

void sortLikeFileManager(FolderList& list)
{
    // The C locale has no collation (nor numeric mode): a machine set up without a language sorts
    // as the Chinese interface's users would, Chinese names by their reading.
    QLocale locale;
    if (locale.language() == QLocale::C) locale = QLocale(QLocale::Chinese, QLocale::China);
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    QList<int> order(list.names.size());
    std::iota(order.begin(), order.end(), 0);
    // Names the collator finds equal keep a fixed order: by their bytes.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int c = collator.compare(list.names[a], list.names[b]);
        return c != 0 ? c < 0 : list.nativeNames[a] < list.nativeNames[b];
    });
    FolderList sorted;
    sorted.chosenIndex = 0;
    for (int i : order) {
        if (i == list.chosenIndex) sorted.chosenIndex = int(sorted.names.size());
        sorted.names << list.names[i];
        sorted.nativeNames << list.nativeNames[i];
    }
    list = std::move(sorted);
}

FolderList listPhotoFolder(const QString& folder, const QString& chosenName)
{
    return listPhotoFolder(QFile::encodeName(folder), chosenName);
}

FolderList listPhotoFolder(const QByteArray& nativeFolder, const QString& chosenName)
{
    FolderList list;
    QByteArray path = nativeFolder;
    if (!path.endsWith('/')) path += '/';
    DirHandle handle;
    handle.dir = ::opendir(path.constData());
    int found = -1;
    while (handle.dir) {
        const dirent* entry = ::readdir(handle.dir);
        if (!entry) break;
        const QByteArray name(entry->d_name);
        if (name.startsWith('.')) continue;  // hidden, and the folder's own entries
        struct stat info {};
        // By the folder's descriptor: a name whose whole path is too long is still listed.
        if (::fstatat(::dirfd(handle.dir), entry->d_name, &info, 0) != 0 || !S_ISREG(info.st_mode))
            continue;
        const QString shown = shownFileName(name);
        if (!isPhotoName(shown)) continue;
        if (shown == chosenName && found < 0) found = int(list.names.size());
        list.names << shown;
        list.nativeNames << name;
    }
    list.chosenIndex = found < 0 ? -1 : found;
    sortLikeFileManager(list);
    if (found < 0) list.chosenIndex = 0;
    return list;
}

QByteArray nativeSavePath(const QString& chosen, const QString& proposedName,
                          const QByteArray& proposedNative)
{
    const QFileInfo info(chosen);
    if (info.fileName() != proposedName || proposedNative.isEmpty())
        return QFile::encodeName(chosen);
    QByteArray folder = QFile::encodeName(info.path());
    if (!folder.endsWith('/')) folder += '/';
    return folder + proposedNative;
}

QString folderOfPath(const QString& path)
{
    const qsizetype cut = path.lastIndexOf(u'/');
    return cut < 0 ? QString() : path.left(cut + 1);
}

}  // namespace orvello
