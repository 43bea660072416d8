#include "batch/stampbatch.h"

#include "batch/losslesscopy.h"
#include "overlay/overlay.h"
#include "overlay/overlayfonts.h"
#include "photo/photoloader.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <mutex>
#include <thread>
#include <vector>

namespace orvello {

QList<StampItem> planStampBatch(const QList<QByteArray>& sources, const QByteArray& outDir,
                                ExistingCopies existing, const QList<QByteArray>& subFolders)
{
    // Made and held open before anything is checked in it, and every copy written from it.
    std::shared_ptr<const NativeFolder> root;
    QString rootRefusal;
    if (!outDir.isEmpty()) {
        int failure = 0;
        root = NativeFolder::open(outDir, true, &failure);
        if (!root)
            rootRefusal = QCoreApplication::translate("batch", "无法创建文件夹：%1（%2）")
                              .arg(shownPath(outDir), nativeErrorText(failure));
    }
    const QByteArray base = outDir.isEmpty() || outDir.endsWith('/') ? outDir : outDir + '/';
    StampOutputGuard guard(sources);
    QList<StampItem> items;
    items.reserve(sources.size());
    for (qsizetype i = 0; i < sources.size(); ++i) {
        const QByteArray& source = sources[i];
        const QByteArray below = outDir.isEmpty() ? QByteArray() : subFolders.value(i);
        StampItem item{source, stampTarget(source, base + below), {}, false, existing, root, below};
        if (!rootRefusal.isEmpty())
            item.refusal = rootRefusal;
        else if (existing == ExistingCopies::Skip && StampOutputGuard::exists(item.target) &&
                 guard.refusal(item.target, true).isEmpty())
            item.skip = true;
        else
            item.refusal = guard.refusal(item.target, existing != ExistingCopies::Refuse);
        if (item.refusal.isEmpty()) guard.claim(item.target);
        items << item;
    }
    return items;
}

int countExistingCopies(const QList<StampItem>& items)
{
    return int(std::count_if(items.begin(), items.end(), [](const StampItem& item) {
        return item.refusal.isEmpty() && !item.skip && StampOutputGuard::exists(item.target);
    }));
}

StampOutcome writtenOutcome(const StampItem& item, const QString& failed, bool cancelled,
                            bool existed, const QString& warning, const QString& notice)
{
    using Status = StampOutcome::Status;
    if (cancelled) return {Status::Cancelled, {}, {}, {}};
    if (existed && item.existing == ExistingCopies::Skip) return {Status::Skipped, {}, {}, {}};
    if (!failed.isEmpty()) return {Status::Failed, failed, {}, {}};
    return {Status::Written, {}, warning, notice};
}

QImage stampCanvas(QImage photo, const StampSource& source, const StampRecipe& recipe)
{
    for (const QuarterTurn turn : recipe.turns) photo = turn(photo);
    const OverlayInput input =
        stampOverlayInput(source, recipe.settings, recipe.text1, isPortraitCanvas(photo.size()));
    // The photo is not needed afterwards: draw into it rather than into a copy.
    drawOverlayItems(photo, input);
    return photo;
}

StampOutcome StampWorker::run(const StampItem& item)
{
    using Status = StampOutcome::Status;
    if (cancel_ && cancel_->load()) return {Status::Cancelled, {}, {}, {}};
    if (item.skip) return {Status::Skipped, {}, {}, {}};
    if (!item.refusal.isEmpty()) return {Status::Failed, item.refusal, {}, {}};
    const CopyOptions& copy = recipe_.copy;
    // A photo the lossless copy cannot make is made as any other, with a notice why.
    QString notice;
    if (copy.lossless)
        if (std::optional<StampOutcome> done = stampLosslessCopy(item, recipe_, cancel_, &notice))
            return *done;
    const QString shown = shownPath(item.source);
    LoadedPhoto loaded =
        loadPhoto(item.source, std::move(buffer_), {copy.autoOrient, copy.keepMetadata});
    if (loaded.photo.isNull())
        return {Status::Failed, cannotOpenMessage(shown, loaded.error), {}, {}};
    if (loaded.incomplete) return {Status::Failed, incompleteMessage(shown), {}, {}};
    QImage canvas = stampCanvas(std::move(loaded.photo), loaded.exif.stamp, recipe_);
    QString warning;
    const JpegOptions jpeg =
        copyJpegOptions(loaded.traits, recipe_.turns.size() % 2 == 1, copy.quality,
                        loaded.metadata.get(), canvas.size(), shown, &warning);
    loaded = LoadedPhoto();
    bool cancelled = false, existed = false;
    const QString failed =
        writeStampedCopy(canvas, item, item.existing == ExistingCopies::Overwrite, cancel_,
                         &cancelled, &existed, jpeg);
    buffer_ = std::move(canvas);
    return writtenOutcome(item, failed, cancelled, existed, warning, notice);
}

int defaultStampJobs()
{
    return std::max(1, QThread::idealThreadCount());
}

void runStampBatch(const QList<StampItem>& items, const StampRecipe& recipe, int jobs,
                   const StampDone& onDone, const std::atomic<bool>* cancel)
{
    // Font set-up touches shared tables: do it once here rather than in the first workers at once.
    ensureOverlayFaces();
    const int count = int(items.size());
    const int workers = std::clamp(jobs, 1, std::max(1, count));
    std::atomic<int> next{0};
    std::mutex reporting;
    const auto work = [&] {
        StampWorker worker(recipe, cancel);
        for (int i = next++; i < count; i = next++) {
            const StampOutcome outcome = worker.run(items[i]);
            const std::lock_guard lock(reporting);
            onDone(i, outcome);
        }
    };
    // Threads of the batch's own, ended with it: each keeps its worker's buffers for its whole
    // share of the photos, and nothing outlives the call.
    std::vector<std::thread> threads;
    for (int w = 0; w < workers; ++w) threads.emplace_back(work);
    for (std::thread& t : threads) t.join();
}

}  // namespace orvello
