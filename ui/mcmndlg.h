#pragma once
// mCmnDlg: the open and save dialogs with "|"-separated filters, as the rest of the program asks
// for them. The flag arithmetic and the filter conversion are plain functions.
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace orvello {

class Host;

namespace mCmnDlg {

inline constexpr qint32 OFN_READONLY = 0x1;
inline constexpr qint32 OFN_OVERWRITEPROMPT = 0x2;
inline constexpr qint32 OFN_HIDEREADONLY = 0x4;
inline constexpr qint32 OFN_ENABLEHOOK = 0x20;
inline constexpr qint32 OFN_ENABLETEMPLATE = 0x40;
inline constexpr qint32 OFN_ALLOWMULTISELECT = 0x200;
inline constexpr qint32 OFN_FILEMUSTEXIST = 0x1000;

inline constexpr int kFileBufferChars = 1024;
inline constexpr int kTitleBufferChars = 512;

qint32 openFlags(qint32 callerFlags, bool fileMustExist, bool multiSelect, bool readOnly,
                 bool hideReadOnly);
qint32 saveFlags(qint32 callerFlags, bool overwritePrompt);

// "|" and ":" become zero characters; two zero characters end the text.
QString convertFilter(const QString& filter);
// The index-th (1-based) description/pattern pair of a converted filter, as description, one
// zero character and pattern; empty when there is no such pair.
QString FilterEntry(const QString& convertedFilter, qint32 index);
// A converted filter as Qt's name filters ("Description (*.a *.b)").
QStringList nameFilters(const QString& convertedFilter);

// Both return true when the user confirmed a file. The owner is the host the dialog is shown
// through. Argument order and directions are those of the callers throughout the program.
bool ShowOpenDialog(QString& fileName, QString& fileTitle, bool fileMustExist, bool multiSelect,
                    bool& readOnly, bool hideReadOnly, QString& filter, qint32& filterIndex,
                    const QString& initialFolder, const QString& title,
                    const QString& defaultExtension, Host& owner, qint32& flags);

bool ShowSaveDialog(QString& fileName, QString& fileTitle, bool overwritePrompt, QString& filter,
                    qint32& filterIndex, const QString& initialFolder, const QString& title,
                    const QString& defaultExtension, Host& owner, qint32& flags);

}  // namespace mCmnDlg
}  // namespace orvello
