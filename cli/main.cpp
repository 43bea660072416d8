// orvello-stamp: the EXIF listing and the stamping of the window, without the window.
#include "app/appinfo.h"
#include "app/commandline.h"
#include "app/settings.h"
#include "app/startup.h"
#include "cli/stampoutput.h"
#include "cli/terminaltext.h"
#include "components/gdiplusruntime.h"
#include "components/jpegwriter.h"
#include "imaging/rotation.h"
#include "overlay/overlay.h"
#include "photo/exiflisting.h"
#include "photo/photoloader.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

namespace orvello {
namespace {

int usage()
{
    QTextStream(stderr) << "usage: orvello-stamp exif PHOTO...\n"
                           "       orvello-stamp stamp [--title TEXT] [--rotate left|right]... "
                           "[--out DIR] [--overwrite] PHOTO...\n"
                           "       orvello-stamp --help\n";
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
        out << terminalSafe(QString(info.text).replace(QLatin1String("\r\n"), QLatin1String("\n")) +
                                QStringLiteral("\ncaptureDate: ") + info.captureDateText,
                            stdout)
            << "\n\n";
        out.flush();
        if (info.errorDescription) {
            err << terminalSafe(listingErrorMessage(*info.errorDescription), stderr) << '\n';
            err.flush();
            status = 2;
        }
    }
    return status;
}

struct StampOptions {
    QString title = QStringLiteral("标题文字");
    QList<QImage (*)(const QImage&)> turns;
    QString outDir;  // empty: each photo's own folder
    QStringList photos;
    bool titleGiven = false;  // a title given turns the title on for the run
    bool overwrite = false;
};

std::optional<StampOptions> parseStamp(const QStringList& args)
{
    StampOptions o;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--title") && hasValue) {
            o.title = args[++i];
            o.titleGiven = true;
        } else if (a == QLatin1String("--rotate") && hasValue) {
            const QString way = args[++i];
            if (way == QLatin1String("left"))
                o.turns << Rotate90;
            else if (way == QLatin1String("right"))
                o.turns << Rotate90R;
            else
                return std::nullopt;
        } else if (a == QLatin1String("--out") && hasValue) {
            o.outDir = args[++i];
        } else if (a == QLatin1String("--overwrite")) {
            o.overwrite = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            return std::nullopt;
        } else {
            o.photos << a;
        }
    }
    if (o.photos.isEmpty()) return std::nullopt;
    return o;
}

// Stamps one photo; returns the written path, or an error text.
std::pair<QString, QString> stampOne(const QString& path, const StampOptions& o,
                                     const AppSettings& settings, StampOutputGuard& output)
{
    const QString target = stampTarget(path, o.outDir);
    if (QString refused = output.refusal(target); !refused.isEmpty()) return {{}, refused};
    LoadedPhoto loaded = loadPhoto(path);
    if (loaded.photo.isNull()) return {{}, cannotOpenMessage(path, loaded.error)};
    if (loaded.incomplete) return {{}, incompleteMessage(path)};
    QImage photo = std::move(loaded.photo);
    for (const auto turn : o.turns) photo = turn(photo);
    const bool portrait = photo.height() > photo.width();
    QImage canvas;
    DrawOverlay(canvas, photo,
                makeOverlayInput(settings, loaded.exif.captureDateText, o.title, portrait));
    if (QString failed = output.write(canvas, target); !failed.isEmpty()) return {{}, failed};
    return {target, {}};
}

int stampCommand(const QStringList& args)
{
    const auto options = parseStamp(args);
    if (!options) return usage();
    if (!loadDateFonts(appDirectory())) {
        QTextStream(stderr) << "未发现所需要的字体文件，请重新安装本软件！\n";
        return 3;
    }
    AppSettings settings;
    SettingsStore().readAll(settings);
    if (options->titleGiven) settings.addTXB = true;
    StampOutputGuard output(options->photos, options->overwrite);
    QTextStream out(stdout);
    QTextStream err(stderr);
    int status = 0;
    for (const QString& path : options->photos) {
        const auto [written, error] = stampOne(path, *options, settings, output);
        if (error.isEmpty()) {
            out << path << " -> " << written << '\n';
            out.flush();
        } else {
            err << error << '\n';
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
    else if (command == QLatin1String("stamp"))
        status = orvello::stampCommand(args);
    else
        status = orvello::usage();
    runtime.Shutdown();
    return status;
}
