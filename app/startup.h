#pragma once
// Pieces of the start-up sequence that need no window.
#include <QString>
#include <QStringList>
#include <memory>

class QLockFile;

namespace orvello {

// Folder of the program file, without a trailing separator.
QString appDirectory();

// The four seven-segment font files shipped in the program's "fonts" folder.
QStringList dateFontFiles(const QString& appDir);

// Loads the date font files and makes the face "DigifaceWide" draw in them. False when a file is
// missing or cannot be loaded.
bool loadDateFonts(const QString& appDir);

inline const char kDateFaceName[] = "DigifaceWide";

// One running instance per user: the lock lives in the per-user runtime folder.
class SingleInstance {
public:
    explicit SingleInstance(QString lockPath = defaultLockPath());
    ~SingleInstance();
    // True when no other instance holds the lock; this instance then holds it until destroyed.
    bool acquire();
    static QString defaultLockPath();

private:
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace orvello
