#include "cli/textoptions.h"

#include "app/settingsfile.h"
#include "overlay/stamptext.h"

#include <QCoreApplication>
#include <QFile>

namespace orvello {

OptionTaken takeTextOption(const QList<QByteArray>& args, int& i, TextOptions& options,
                           QString* error)
{
    const QByteArray& name = args[i];
    static const QList<QByteArray> known = {"--settings",     "--title",      "--date-format",
                                            "--date-shift",   "--date-style", "--title-style",
                                            "--date-fallback"};
    if (!known.contains(name)) return OptionTaken::No;
    const QString shown = QString::fromLatin1(name);
    if (i + 1 >= args.size()) {
        *error = QCoreApplication::translate("cli", "%1 缺少取值").arg(shown);
        return OptionTaken::Bad;
    }
    const QByteArray raw = args[++i];
    const QString value = QString::fromLocal8Bit(raw);
    const auto bad = [&](const QString& why) {
        *error =
            QCoreApplication::translate("cli", "%1 “%2”不可用：%3").arg(shown, value.left(60), why);
        return OptionTaken::Bad;
    };
    if (name == "--settings") {
        options.settingsFile = raw;
    } else if (name == "--title") {
        if (value.size() > kMaxTitleLength) {
            *error = titleTooLongMessage(value.size());
            return OptionTaken::Bad;
        }
        if (const QString why = checkTitleFields(value); !why.isEmpty()) return bad(why);
        options.title = value;
    } else if (name == "--date-format") {
        if (const QString why = checkDatePattern(value); !why.isEmpty()) return bad(why);
        // The settings take only a pattern that changes with the photo.
        if (!decodeDatePattern(value))
            return bad(QCoreApplication::translate(
                "cli", "格式中须至少有一个日期或时间字段，如 yyyy、MM、dd、HH"));
        options.dateFormat = value;
    } else if (name == "--date-shift") {
        QString why;
        if (!parseClockShift(value, &why) || !decodeDateShift(value))
            return bad(why.isEmpty()
                           ? QCoreApplication::translate(
                                 "cli", "写法为 [+|-][天 ]时:分[:秒]，如 +1:30 或 \"-1 2:00\"")
                           : why);
        options.dateShift = value.trimmed();
    } else if (name == "--date-fallback") {
        options.dateFallback = decodeDateFallback(value);
        if (!options.dateFallback)
            return bad(QCoreApplication::translate("cli", "可选 none 或 file"));
    } else {
        const std::optional<StampStyle> style = decodeStampStyle(value);
        if (!style)
            return bad(QCoreApplication::translate("cli", "可选 plain、outline、shadow 或 plate"));
        (name == "--date-style" ? options.dateStyle : options.titleStyle) = style;
    }
    return OptionTaken::Yes;
}

std::optional<AppSettings> runSettings(const TextOptions& options, QString* error, bool* autoOrient)
{
    SettingsStore store;
    if (!options.settingsFile.isEmpty()) {
        const QString path = QFile::decodeName(options.settingsFile);
        if (const QString problem = settingsFileProblem(path); !problem.isEmpty()) {
            *error = problem;
            return std::nullopt;
        }
        store = SettingsStore(path);
    }
    AppSettings settings;
    store.readAll(settings);
    if (options.title) settings.addTXB = true;
    if (options.dateFormat) settings.dateFormat = *options.dateFormat;
    if (options.dateShift) settings.dateShift = *options.dateShift;
    if (options.dateFallback) settings.dateFallback = *options.dateFallback;
    if (options.dateStyle) settings.dateStyle = *options.dateStyle;
    if (options.titleStyle) settings.titleStyle = *options.titleStyle;
    if (autoOrient) *autoOrient = store.readAutoOrient();
    return settings;
}

}  // namespace orvello
