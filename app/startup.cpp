#include "app/startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QUrl>
#include <algorithm>

namespace orvello {

QString appDirectory()
{
    QString dir = QCoreApplication::applicationDirPath();
    while (dir.size() > 1 && (dir.endsWith(QLatin1Char('/')) || dir.endsWith(QLatin1Char('\\'))))
        dir.chop(1);
    return dir;
}

namespace {

QStringList fontFilesIn(const QString& folder)
{
    QStringList files;
    for (const char* name : {"DSEG7Classic-Regular.ttf", "DSEG7Classic-Bold.ttf",
                             "DSEG7Classic-Italic.ttf", "DSEG7Classic-BoldItalic.ttf"})
        files << folder + QLatin1Char('/') + QString::fromLatin1(name);
    return files;
}

bool holdsAll(const QStringList& files)
{
    return std::all_of(files.cbegin(), files.cend(),
                       [](const QString& f) { return QFileInfo(f).isFile(); });
}

}  // namespace

QString dateFontFolder(const QString& appDir)
{
    const QString beside = appDir + QStringLiteral("/fonts");
    const QString installed = QDir::cleanPath(appDir + QStringLiteral("/../share/orvello/fonts"));
    for (const QString& folder : {beside, installed})
        if (holdsAll(fontFilesIn(folder))) return folder;
    return beside;
}

QStringList dateFontFiles(const QString& appDir)
{
    return fontFilesIn(dateFontFolder(appDir));
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

QString photoArgument(const QStringList& arguments)
{
    // "--" ends the options, so that a photo whose name starts with "-" can be named.
    const qsizetype at = arguments.value(1) == QLatin1String("--") ? 2 : 1;
    const QString given = arguments.value(at);
    if (given.isEmpty()) return {};
    // A file manager may hand over a URL rather than a path.
    const QUrl url(given);
    const QString path = url.isLocalFile() ? url.toLocalFile() : given;
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

}  // namespace orvello
