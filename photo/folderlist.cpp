#include "photo/folderlist.h"

#include <QDir>

namespace orvello {

bool isPhotoName(const QString& name)
{
    const QString tail = name.right(4).toLower();
    return tail == QLatin1String(".jpg") || tail == QLatin1String(".tif");
}

FolderList listPhotoFolder(const QString& folder, const QString& chosenName)
{
    FolderList list;
    const QStringList entries = QDir(folder).entryList(QDir::Files, QDir::Unsorted);
    int found = -1;
    for (const QString& name : entries) {
        if (!isPhotoName(name)) continue;
        if (name == chosenName && found < 0) found = int(list.names.size());
        list.names << name;
    }
    list.chosenIndex = found < 0 ? 0 : found;
    return list;
}

QString folderOfPath(const QString& path)
{
    const qsizetype cut = path.lastIndexOf(u'/');
    return cut < 0 ? QString() : path.left(cut + 1);
}

}  // namespace orvello
