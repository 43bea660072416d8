#include "cli/exifcommand.h"

#include "cli/terminaltext.h"
#include "cli/textoptions.h"
#include "photo/exiflisting.h"
#include "photo/exifstep.h"
#include "photo/photostamp.h"

#include <QTextStream>

namespace orvello {

int exifCommand(const QList<QByteArray>& args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    TextOptions options;
    QList<QByteArray> photos;
    for (int i = 0; i < args.size(); ++i) {
        QString error;
        const OptionTaken taken = takeTextOption(args, i, options, &error);
        if (taken == OptionTaken::Bad) {
            err << terminalSafe(error, stderr) << '\n';
            return 1;
        }
        if (taken == OptionTaken::Yes) continue;
        // The paths as given, byte for byte: a name need not be UTF-8. After "--" every argument
        // is a photo, whatever its name.
        if (args[i] == "--") {
            photos += args.mid(i + 1);
            break;
        }
        if (args[i].startsWith("--")) return -1;
        photos << args[i];
    }
    if (photos.isEmpty()) return -1;
    QString error;
    const std::optional<AppSettings> settings = runSettings(options, &error);
    if (!settings) {
        err << terminalSafe(error, stderr) << '\n';
        return 1;
    }

    int status = 0;
    for (const QByteArray& path : photos) {
        const ExifInfo info = readExifInfo(path);
        const StampTexts texts =
            stampTexts(info.stamp, *settings, options.title.value_or(QString()));
        out << terminalListing(info.text, info.itemStarts, stdout) << "\ncaptureDate: "
            << terminalSafe(info.captureDateText, stdout)
            // The date the stamp draws: none when the settings turn it off.
            << "\ndateText: " << terminalSafe(settings->addDTB ? texts.date : QString(), stdout);
        if (options.title) out << "\ntitleText: " << terminalSafe(texts.title, stdout);
        out << "\n\n";
        out.flush();
        if (info.errorDescription) {
            err << terminalSafe(listingErrorMessage(*info.errorDescription), stderr) << '\n';
            err.flush();
            status = 2;
        }
    }
    return status;
}

}  // namespace orvello
