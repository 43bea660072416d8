#include "cli/stampcommand.h"

#include "app/settings.h"
#include "app/startup.h"
#include "batch/stampbatch.h"
#include "cli/terminaltext.h"
#include "imaging/rotation.h"
#include "photo/folderlist.h"

#include <QElapsedTimer>
#include <QString>
#include <cstdio>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace orvello {

namespace {

struct StampOptions {
    StampRecipe recipe;
    QByteArray outDir;  // empty: each photo's own folder
    QList<QByteArray> photos;
    bool titleGiven = false;  // a title given turns the title on for the run
    bool overwrite = false;
    bool quiet = false;
    int jobs = 0;  // 0: one per core
};

std::optional<StampOptions> parseStamp(const QList<QByteArray>& args)
{
    StampOptions o;
    o.recipe.text1 = QStringLiteral("标题文字");
    for (int i = 0; i < args.size(); ++i) {
        const QByteArray& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--title" && hasValue) {
            o.recipe.text1 = QString::fromLocal8Bit(args[++i]);
            o.titleGiven = true;
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
        } else if (a == "--lossless") {
            o.recipe.lossless = true;
        } else if (a == "--overwrite") {
            o.overwrite = true;
        } else if (a == "--quiet") {
            o.quiet = true;
        } else if (a.startsWith("--")) {
            return std::nullopt;
        } else {
            o.photos << a;
        }
    }
    if (o.photos.isEmpty()) return std::nullopt;
    return o;
}

bool isFolder(const QByteArray& path)
{
    struct stat info {};
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
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

// The photos the arguments name: a folder stands for its photos, by the photo list's rule.
QList<QByteArray> expandFolders(const QList<QByteArray>& args)
{
    QList<QByteArray> photos;
    for (const QByteArray& arg : args) {
        if (!isFolder(arg)) {
            photos << arg;
            continue;
        }
        const QByteArray folder = arg.endsWith('/') ? arg : arg + '/';
        const FolderList list = listPhotoFolder(folder, QString());
        if (list.nativeNames.isEmpty())
            writeText(stderr,
                      QStringLiteral("文件夹中没有 .jpg 或 .tif 照片：%1").arg(shownPath(arg)));
        for (const QByteArray& name : list.nativeNames) photos << folder + name;
    }
    return photos;
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
        QString line = QStringLiteral("%1/%2 张").arg(done).arg(total_);
        if (done > 0 && rate > 0)
            line += QStringLiteral("，%1 张/秒，约剩 %2 秒")
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

}  // namespace

int stampCommand(const QList<QByteArray>& args)
{
    auto options = parseStamp(args);
    if (!options) return -1;
    if (!loadDateFonts(appDirectory())) {
        writeText(stderr, QStringLiteral("未发现所需要的字体文件，请重新安装本软件！"));
        return 3;
    }
    StampRecipe& recipe = options->recipe;
    SettingsStore().readAll(recipe.settings);
    if (options->titleGiven) recipe.settings.addTXB = true;

    const QList<QByteArray> photos = expandFolders(options->photos);
    if (photos.isEmpty()) return 2;
    const QList<StampItem> items =
        planStampBatch(photos, options->outDir,
                       options->overwrite ? ExistingCopies::Overwrite : ExistingCopies::Refuse);

    // Results come in as workers finish; they are reported in the order of the arguments.
    QList<std::optional<StampOutcome>> outcomes(items.size());
    int reported = 0, finished = 0, status = 0;
    ProgressLine progress(int(items.size()), !options->quiet && ::isatty(STDERR_FILENO));
    progress.update(0);
    const StampDone onDone = [&](int index, const StampOutcome& outcome) {
        outcomes[index] = outcome;
        ++finished;
        progress.clear();
        for (; reported < items.size() && outcomes[reported]; ++reported) {
            const StampOutcome& o = *outcomes[reported];
            if (o.status == StampOutcome::Status::Written) {
                writeLine(stdout, items[reported].source + " -> " + items[reported].target);
                if (!o.message.isEmpty()) writeText(stderr, o.message);
            } else {
                writeText(stderr, o.message);
                status = 2;
            }
            outcomes[reported].reset();
        }
        progress.update(finished);
    };
    runStampBatch(items, recipe, options->jobs > 0 ? options->jobs : defaultStampJobs(), onDone);
    progress.clear();
    return status;
}

}  // namespace orvello
