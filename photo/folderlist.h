#pragma once
// The photo list of a folder: the names of its ordinary files whose extension is a photo's (.jpg,
// .jpeg, .tif, .tiff, .heic, .heif, any letter case), sorted as the desktop's file manager sorts
// them. Names are read as the file
// system stores them; one that is not UTF-8 is shown decoded as GB18030 and opened and saved
// by its own bytes.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace orvello {

// True for a name whose extension, after its last dot, is one of photoExtensions().
bool isPhotoName(const QString& name);

// The photo extensions as file-dialog patterns: "*.jpg;*.jpeg;…".
QString photoNamePatterns();
// The photo extensions for a message: ".jpg、.jpeg、…".
QString photoExtensionsText();

struct FolderList {
    QStringList names;              // as shown
    QList<QByteArray> nativeNames;  // as stored, one for each shown name
    int chosenIndex = 0;            // the entry of the chosen name, else 0
};

// Lists folder (hidden files and sub-folders left out) and finds chosenName in it, compared
// exactly with the shown names.
FolderList listPhotoFolder(const QString& folder, const QString& chosenName);
// The same for a folder given as the file system's bytes.
FolderList listPhotoFolder(const QByteArray& nativeFolder, const QString& chosenName);

// The text shown for a name as stored.
QString shownFileName(const QByteArray& nativeName);

// The order of the list: locale-aware, letter case aside, numbers by their value.
void sortLikeFileManager(FolderList& list);

// Where a save goes: the path chosen in the save dialog, except that the proposed name, when
// kept, is written with the bytes proposed for it.
QByteArray nativeSavePath(const QString& chosen, const QString& proposedName,
                          const QByteArray& proposedNative);

// The folder part of a path, up to and including its last separator.
QString folderOfPath(const QString& path);

}  // namespace orvello
