#include "app/startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QLockFile>
#include <QStandardPaths>

namespace orvello {

QString appDirectory()
{
    QString dir = QCoreApplication::applicationDirPath();
    while (dir.size() > 1 && (dir.endsWith(QLatin1Char('/')) || dir.endsWith(QLatin1Char('\\'))))
        dir.chop(1);
    return dir;
}

QStringList dateFontFiles(const QString& appDir)
{
    QStringList files;
    for (const char* name : {"DSEG7Classic-Regular.ttf", "DSEG7Classic-Bold.ttf",
                             "DSEG7Classic-Italic.ttf", "DSEG7Classic-BoldItalic.ttf"})
        files << appDir + QStringLiteral("/fonts/") + QString::fromLatin1(name);
    return files;
}

bool loadDateFonts(const QString& appDir)
{
    QString family;
    for (const QString& file : dateFontFiles(appDir)) {
        if (!QFileInfo(file).isFile()) return false;
        const int id = QFontDatabase::addApplicationFont(file);
        if (id < 0) return false;
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (families.isEmpty()) return false;
        family = families.first();
    }
    QFont::insertSubstitution(QString::fromLatin1(kDateFaceName), family);
    return true;
}

SingleInstance::SingleInstance(QString lockPath) : lock_(std::make_unique<QLockFile>(lockPath))
{
    lock_->setStaleLockTime(0);  // a lock whose process is gone is stale at once
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire()
{
    return lock_->tryLock(0);
}

QString SingleInstance::defaultLockPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return dir + QStringLiteral("/orvello.lock");
}

}  // namespace orvello
