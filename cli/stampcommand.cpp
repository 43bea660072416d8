#include "cli/stampcommand.h"

#include "app/settings.h"
#include "app/startup.h"
#include "batch/stampbatch.h"
#include "batch/stampjobs.h"
#include "cli/photoargs.h"
#include "cli/photoheap.h"
#include "cli/stopsignals.h"
#include "cli/terminaltext.h"
#include "cli/textoptions.h"
#include "imaging/rotation.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <atomic>
#include <cstdio>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace orvello {

namespace {

struct StampOptions {
    StampRecipe recipe;
    TextOptions text;
    QByteArray outDir;  // empty: each photo's own folder
    QList<QByteArray> photos;
    bool overwrite = false;
    bool quiet = false;
    int jobs = 0;  // 0: one per core
    bool skipExisting = false;
    QByteArray filesFrom;  // a list of photos, "-" for standard input
    bool nulSeparated = false;
    bool recursive = false;
    bool noAutoOrient = false;  // else the setting "AutoOrient" decides
    // JPEG photos are stamped losslessly unless --reencode, or --quality without --lossless,
    // asks for the full encode.
    bool losslessGiven = false, reencodeGiven = false, qualityGiven = false;
};

// Nothing: the arguments are no command (the usage is shown). *error set: an option's value cannot
// be used, and why.
std::optional<StampOptions> parseStamp(const QList<QByteArray>& args, QString* error)
{
    StampOptions o;
    o.recipe.text1 = QCoreApplication::translate("cli", "标题文字");
    for (int i = 0; i < args.size(); ++i) {
        const QByteArray& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (const OptionTaken taken = takeTextOption(args, i, o.text, error);
            taken != OptionTaken::No) {
            if (taken == OptionTaken::Bad) return std::nullopt;
        } else if (a == "--rotate" && hasValue) {
            const QByteArray way = args[++i];
            if (way == "left")
                o.recipe.turns << Rotate90;
            else if (way == "right")
                o.recipe.turns << Rotate90R;
            else
                return std::nullopt;
        } else if (a == "--out" && hasValue) {
            o.outDir = args[++i];
        } else if (a == "--jobs" && hasValue) {
            bool ok = false;
            o.jobs = args[++i].toInt(&ok);
            if (!ok || o.jobs < 1) return std::nullopt;
        } else if (a == "--quality" && hasValue) {
            bool ok = false;
            o.recipe.copy.quality = args[++i].toInt(&ok);
            if (!ok || o.recipe.copy.quality < 1 || o.recipe.copy.quality > 100)
                return std::nullopt;
            o.qualityGiven = true;
        } else if (a == "--keep-metadata") {
            o.recipe.copy.keepMetadata = true;
        } else if (a == "--lossless") {
            o.losslessGiven = true;
        } else if (a == "--reencode") {
            o.reencodeGiven = true;
        } else if (a == "--no-restore-data") {
            o.recipe.copy.restoreData = false;
        } else if (a == "--no-auto-orient") {
            o.noAutoOrient = true;
        } else if (a == "--overwrite") {
            o.overwrite = true;
        } else if (a == "--quiet") {
            o.quiet = true;
        } else if (a == "--skip-existing") {
            o.skipExisting = true;
        } else if (a == "--files-from" && hasValue) {
            o.filesFrom = args[++i];
        } else if (a == "--null") {
            o.nulSeparated = true;
        } else if (a == "--recursive") {
            o.recursive = true;
        } else if (a.startsWith("--")) {
            return std::nullopt;
        } else {
            o.photos << a;
        }
    }
    if (o.text.title) o.recipe.text1 = *o.text.title;
    if ((o.photos.isEmpty() && o.filesFrom.isEmpty()) || (o.overwrite && o.skipExisting) ||
        (o.nulSeparated && o.filesFrom.isEmpty()) || (o.losslessGiven && o.reencodeGiven))
        return std::nullopt;
    o.recipe.copy.lossless = o.losslessGiven || !(o.reencodeGiven || o.qualityGiven);
    return o;
}

void writeLine(std::FILE* stream, const QByteArray& nativeText)
{
    // Names go out as stored, so that a script gets the very bytes; a terminal sees them decoded,
    // with control characters made visible.
    const QByteArray line = ::isatty(::fileno(stream))
                                ? terminalSafe(shownPath(nativeText), stream).toUtf8()
                                : nativeText;
    std::fwrite(line.constData(), 1, size_t(line.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

void writeText(std::FILE* stream, const QString& text)
{
    const QByteArray line = terminalSafe(text, stream).toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

// One line on a terminal: how far the batch is, how fast, and how long it still takes.
class ProgressLine {
public:
    ProgressLine(int total, bool shown) : total_(total), shown_(shown) { clock_.start(); }
    void update(int done)
    {
        if (!shown_) return;
        const double seconds = clock_.elapsed() / 1000.0;
        const double rate = seconds > 0 ? done / seconds : 0;
        QString line = QCoreApplication::translate("cli", "%1/%2 张").arg(done).arg(total_);
        if (done > 0 && rate > 0)
            line += QCoreApplication::translate("cli", "，%1 张/秒，约剩 %2 秒")
                        .arg(rate, 0, 'f', 2)
                        .arg(qRound((total_ - done) / rate));
        std::fprintf(stderr, "\r\033[K%s", line.toUtf8().constData());
        std::fflush(stderr);
    }
    void clear()
    {
        if (!shown_) return;
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
    }

private:
    int total_;
    bool shown_;
    QElapsedTimer clock_;
};

// The run's settings: the window's, or a file's that must be read whole before any photo.
bool readRecipe(StampOptions& options)
{
    StampRecipe& recipe = options.recipe;
    QString error;
    bool autoOrient = true;
    const std::optional<AppSettings> settings = runSettings(options.text, &error, &autoOrient);
    if (!settings) {
        writeText(stderr, error);
        return false;
    }
    recipe.settings = *settings;
    recipe.copy.autoOrient = !options.noAutoOrient && autoOrient;
    return true;
}

// The items of the run; with --recursive and --out, each copy in its photo's sub-folder there.
QList<StampItem> planItems(const StampOptions& options, const QList<PhotoSource>& photos)
{
    const ExistingCopies existing = options.overwrite      ? ExistingCopies::Overwrite
                                    : options.skipExisting ? ExistingCopies::Skip
                                                           : ExistingCopies::Refuse;
    QList<QByteArray> sources, subFolders;
    for (const PhotoSource& photo : photos) {
        sources << photo.path;
        subFolders << photo.subFolder;
    }
    QList<StampItem> items = planStampBatch(sources, options.outDir, existing, subFolders);
    for (qsizetype i = 0; i < items.size(); ++i)
        if (!photos[i].problem.isEmpty()) {
            items[i].refusal = photos[i].problem;
            items[i].skip = false;
        }
    return items;
}

int chooseJobs(const StampOptions& options, const QList<StampItem>& items)
{
    QList<QByteArray> sources;
    for (const StampItem& item : items)
        if (item.refusal.isEmpty() && !item.skip) sources << item.source;
    const StampJobs bound = boundStampJobs(options.jobs, sources);
    if (options.jobs > bound.jobs && !options.quiet)
        writeText(stderr, QCoreApplication::translate(
                              "cli",
                              "--jobs %1 超出本机所能：%2 个处理器核心，可用内存 %3 MB，"
                              "每张照片约需 %4 MB；改为同时处理 %5 张")
                              .arg(options.jobs)
                              .arg(bound.cores)
                              .arg(bound.availableBytes >> 20)
                              .arg(bound.bytesPerJob >> 20)
                              .arg(bound.jobs));
    reservePhotoHeap(bound.bytesPerJob * bound.jobs);
    return bound.jobs;
}

}  // namespace

int stampCommand(const QList<QByteArray>& args)
{
    QString error;
    auto options = parseStamp(args, &error);
    if (!error.isEmpty()) {
        writeText(stderr, error);
        return 1;
    }
    if (!options) return -1;
    // Before anything is written: a stop from now on leaves no temporary file behind.
    removeTemporariesOnStop();
    if (!readRecipe(*options)) return 1;
    QList<QByteArray> named = options->photos;
    if (!options->filesFrom.isEmpty()) {
        QString error;
        const auto listed = readPhotoList(options->filesFrom, options->nulSeparated, &error);
        if (!listed) {
            writeText(stderr, error);
            return 1;
        }
        named += *listed;
    }
    if (!loadDateFonts(appDirectory())) {
        writeText(stderr,
                  QCoreApplication::translate("cli", "未发现所需要的字体文件，请重新安装本软件！"));
        return 3;
    }
    const StampRecipe& recipe = options->recipe;

    const QList<PhotoSource> photos = expandPhotoArgs(
        named, options->recursive, [](const QString& text) { writeText(stderr, text); });
    if (photos.isEmpty()) return 2;
    const QList<StampItem> items = planItems(*options, photos);
    const int jobs = chooseJobs(*options, items);

    // Results come in as workers finish; they are reported in the order of the arguments. The
    // counts are kept as they finish, so that a stop can say what was done without waiting for
    // a report held up behind a slower photo.
    QList<std::optional<StampOutcome>> outcomes(items.size());
    int reported = 0;
    std::atomic<int> finished = 0, written = 0, skipped = 0, failed = 0;
    ProgressLine progress(int(items.size()), !options->quiet && ::isatty(STDERR_FILENO));
    const auto summarise = [&] {
        progress.clear();
        if (!options->quiet)
            writeText(stderr,
                      QCoreApplication::translate("cli", "已写 %1 张，跳过 %2 张，失败 %3 张")
                          .arg(written.load())
                          .arg(skipped.load())
                          .arg(failed.load()));
    };
    std::optional<StopReport> onStop(std::in_place, summarise);
    progress.update(0);
    const StampDone onDone = [&](int index, const StampOutcome& outcome) {
        using Status = StampOutcome::Status;
        // Cancelled: cut off by a stop, neither done nor failed.
        if (outcome.status != Status::Cancelled)
            ++(outcome.status == Status::Written   ? written
               : outcome.status == Status::Skipped ? skipped
                                                   : failed);
        outcomes[index] = outcome;
        progress.clear();
        for (; reported < items.size() && outcomes[reported]; ++reported) {
            const StampOutcome& o = *outcomes[reported];
            if (o.status == Status::Written) {
                if (!options->quiet)
                    writeLine(stdout, items[reported].source + " -> " + items[reported].target);
                if (!o.notice.isEmpty()) writeText(stderr, o.notice);
                if (!o.warning.isEmpty()) writeText(stderr, o.warning);
            } else if (o.status == Status::Failed) {
                writeText(stderr, o.message);
            }
            outcomes[reported].reset();
        }
        progress.update(++finished);
    };
    runStampBatch(items, recipe, jobs, onDone);
    onStop.reset();  // said once, here
    summarise();
    return failed > 0 ? 2 : 0;
}

}  // namespace orvello
