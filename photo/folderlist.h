#pragma once
// The photo list of a folder: the names of its ordinary files that end in ".jpg" or ".tif" (any
// letter case), in the order the folder listing gives them.
#include <QString>
#include <QStringList>

namespace orvello {

// True for a name whose last four characters, lower-cased, are ".jpg" or ".tif".
bool isPhotoName(const QString& name);

struct FolderList {
    QStringList names;
    int chosenIndex = 0;  // the entry of the chosen name, else 0
};

// Lists folder (hidden and system files and sub-folders left out) and finds chosenName in it,
// compared exactly.
FolderList listPhotoFolder(const QString& folder, const QString& chosenName);

// The folder part of a path, up to and including its last separator.
QString folderOfPath(const QString& path);

}  // namespace orvello
