#pragma once
// Stamping many photos on every core: the one pipeline behind both orvello-stamp and the
// window's "全部保存…". Each photo is stamped exactly as the window stamps the open photo, with its
// own capture date, and written as the window's save writes it.
#include "app/settings.h"
#include "batch/stampoutput.h"
#include "photo/photostamp.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <atomic>
#include <functional>

namespace orvello {

using QuarterTurn = QImage (*)(const QImage&);

// How every copy of a batch is made, beside what is drawn on it.
struct CopyOptions {
    bool autoOrient = true;     // each photo turned upright from its orientation tag first
    bool keepMetadata = false;  // the photo's EXIF, XMP and IPTC carried into its copy
    int quality = 100;          // JPEG quality, 1 to 100
    bool lossless = false;      // JPEG photos stamped without re-compressing the whole picture
    bool restoreData = true;    // lossless copies keep what their stamps replaced
};

// What is drawn on every photo of a batch.
struct StampRecipe {
    AppSettings settings;
    QString text1;             // the title as typed; trimmed when drawn
    QList<QuarterTurn> turns;  // applied to each photo in order, before drawing
    CopyOptions copy;
};

struct StampOutcome {
    enum class Status { Written, Skipped, Failed, Cancelled };
    Status status = Status::Failed;
    QString message;  // why it failed, in the interface's language
    QString warning;  // written, but not all as asked (the metadata left out), and why
    QString notice;   // asked lossless, but written by the full re-encode, and why
};

// The copies of sources in outDir (empty: beside each photo), created when missing, each in its
// own sub-folder of it when subFolders has one for it ("a/b/"), created when the copy is written.
QList<StampItem> planStampBatch(const QList<QByteArray>& sources, const QByteArray& outDir,
                                ExistingCopies existing, const QList<QByteArray>& subFolders = {});
// How many of the planned copies would replace a file already there.
int countExistingCopies(const QList<StampItem>& items);

// What became of item, from what writing its copy reported (see writeStampedCopy).
StampOutcome writtenOutcome(const StampItem& item, const QString& failed, bool cancelled,
                            bool existed, const QString& warning = {}, const QString& notice = {});

// The stamped canvas of a loaded photo, drawn into the photo's own pixels: the result the window
// shows on its canvas for the same photo and settings.
QImage stampCanvas(QImage photo, const StampSource& source, const StampRecipe& recipe);

// One worker: stamps photo after photo, decoding each into the buffer of the one before when
// their sizes agree, so that a batch does not allocate (and fault in) a new picture per photo.
class StampWorker {
public:
    StampWorker(const StampRecipe& recipe, const std::atomic<bool>* cancel = nullptr)
        : recipe_(recipe), cancel_(cancel)
    {
    }
    StampOutcome run(const StampItem& item);

private:
    const StampRecipe& recipe_;
    const std::atomic<bool>* cancel_;
    QImage buffer_;
};

// The number of workers when none is asked for: one per core.
int defaultStampJobs();

// Stamps every item on jobs workers (at most one per item). onDone is called once for every
// item as it finishes, from the workers' threads but never two at a time. Raising cancel stops the
// batch: items not yet finished end Cancelled and leave nothing behind. Returns when all are done.
using StampDone = std::function<void(int index, const StampOutcome& outcome)>;
void runStampBatch(const QList<StampItem>& items, const StampRecipe& recipe, int jobs,
                   const StampDone& onDone, const std::atomic<bool>* cancel = nullptr);

}  // namespace orvello
