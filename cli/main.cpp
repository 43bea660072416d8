// orvello-stamp: the EXIF listing and the stamping of the window, without the window.
#include "app/appinfo.h"
#include "app/commandline.h"
#include "app/language.h"
#include "cli/exifcommand.h"
#include "cli/photoheap.h"
#include "cli/stampcommand.h"
#include "cli/unstampcommand.h"
#include "components/gdiplusruntime.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

namespace orvello {
namespace {

int usage()
{
    QTextStream(stderr) << QCoreApplication::translate(
        "cli",
        "用法：orvello-stamp exif [--title 文字] [--settings 文件] [--date-format 格式] "
        "[--date-shift 偏移] [--date-fallback none|file] 照片...\n"
        "      orvello-stamp stamp [--title 文字] [--rotate left|right]... "
        "[--out 文件夹] [--overwrite|--skip-existing] [--settings 文件] "
        "[--recursive] [--jobs N] [--quiet]\n"
        "             [--date-format 格式] [--date-shift 偏移] "
        "[--date-fallback none|file] [--date-style 样式] [--title-style 样式]\n"
        "             [--quality N] [--keep-metadata] [--lossless|--reencode] "
        "[--no-restore-data] [--no-auto-orient] 照片|文件夹...\n"
        "      orvello-stamp stamp [选项] --files-from 列表文件|- [--null]\n"
        "      orvello-stamp unstamp [--out 文件夹] [--overwrite] 无损副本...\n"
        "      orvello-stamp --help\n");
    return 1;
}

}  // namespace
}  // namespace orvello

int main(int argc, char** argv)
{
    orvello::keepPhotoBuffers();
    // Standard error carries our own reports only, not Qt's remarks about the environment.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) QTextStream(stderr) << message << '\n';
    });
    // The tool draws text but shows nothing: it needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // Before the help: it is in the interface's language too.
    orvello::installInterfaceLanguage(orvello::interfaceLanguageFromEnvironment());
    if (const auto done =
            orvello::answerInfoOption(argc, argv, "orvello-stamp", orvello::stampHelpText()))
        return *done;
    QGuiApplication::setApplicationName(orvello::appinfo::applicationTitle());
    QGuiApplication::setOrganizationName(orvello::appinfo::applicationTitle());
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) return orvello::usage();
    const QString command = args.takeFirst();
    orvello::GdiPlusRuntime runtime;
    if (!runtime.Initialise()) {
        QTextStream(stderr) << "GDI+ Initialisation Failed.\n";
        return 3;
    }
    int status = 1;
    if (command == QLatin1String("exif")) {
        status = orvello::exifCommand(QList<QByteArray>(argv + 2, argv + argc));
        if (status < 0) status = orvello::usage();
    } else if (command == QLatin1String("stamp")) {
        status = orvello::stampCommand(QList<QByteArray>(argv + 2, argv + argc));
        if (status < 0) status = orvello::usage();
    } else if (command == QLatin1String("unstamp")) {
        status = orvello::unstampCommand(QList<QByteArray>(argv + 2, argv + argc));
        if (status < 0) status = orvello::usage();
    } else
        status = orvello::usage();
    runtime.Shutdown();
    return status;
}
