// orvello-stamp: the EXIF listing and the stamping of the window, without the window.
#include "app/appinfo.h"
#include "app/commandline.h"
#include "cli/stampcommand.h"
#include "cli/terminaltext.h"
#include "cli/unstampcommand.h"
#include "components/gdiplusruntime.h"
#include "photo/exiflisting.h"
#include "photo/exifstep.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

#include <malloc.h>

namespace orvello {
namespace {

int usage()
{
    QTextStream(stderr) << "用法：orvello-stamp exif 照片...\n"
                           "      orvello-stamp stamp [--title 文字] [--rotate left|right]... "
                           "[--out 文件夹] [--overwrite|--skip-existing] [--settings 文件] "
                           "[--recursive] [--jobs N] [--quiet]\n"
                           "             [--quality N] [--keep-metadata] [--lossless|--reencode] "
                           "[--no-restore-data] "
                           "[--no-auto-orient] 照片|文件夹...\n"
                           "      orvello-stamp stamp [选项] --files-from 列表文件|- [--null]\n"
                           "      orvello-stamp unstamp [--out 文件夹] [--overwrite] 无损副本...\n"
                           "      orvello-stamp --help\n";
    return 1;
}

// The paths as given, byte for byte: a name need not be UTF-8.
int exifCommand(const QList<QByteArray>& photos)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    int status = 0;
    for (const QByteArray& path : photos) {
        const ExifInfo info = readExifInfo(path);
        out << terminalListing(info.text, info.itemStarts, stdout)
            << "\ncaptureDate: " << terminalSafe(info.captureDateText, stdout) << "\n\n";
        out.flush();
        if (info.errorDescription) {
            err << terminalSafe(listingErrorMessage(*info.errorDescription), stderr) << '\n';
            err.flush();
            status = 2;
        }
    }
    return status;
}

}  // namespace
}  // namespace orvello

int main(int argc, char** argv)
{
    // A photo's buffers (its file, its copy, the decoder's colour planes) serve the next photo:
    // kept by the allocator rather than handed back and faulted in afresh for every photo.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    // Standard error carries our own reports only, not Qt's remarks about the environment.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) QTextStream(stderr) << message << '\n';
    });
    if (const auto done =
            orvello::answerInfoOption(argc, argv, "orvello-stamp", orvello::stampHelpText()))
        return *done;
    // The tool draws text but shows nothing: it needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
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
    if (command == QLatin1String("exif") && !args.isEmpty())
        status = orvello::exifCommand(QList<QByteArray>(argv + 2, argv + argc));
    else if (command == QLatin1String("stamp")) {
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
