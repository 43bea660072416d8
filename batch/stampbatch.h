#pragma once
// Stamping many photos on every core: the one pipeline behind both orvello-stamp and the
// window's "全部保存…". Each photo is stamped exactly as the window stamps the open photo, with its
// own capture date, and written as the window's save writes it.
#include "app/settings.h"
#include "batch/stampoutput.h"

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

// The photos' copies and which of them may be written. An existing copy is refused, replaced
// (overwrite) or, with skipExisting, left alone; an input photo is never written over, and two
// photos of one copy name give one copy, the first.
enum class ExistingCopies { Refuse, Overwrite, Skip };

struct StampItem {
    QByteArray source;  // the photo, as the file system spells it
    QByteArray target;  // where its copy goes
    QString refusal;    // set: the copy is not written, and this is why
    bool skip = false;  // left alone on purpose (an existing copy kept): not a failure
    // What happens to a copy that appears at target while the photo is stamped (another run
    // into the same folder): only Overwrite replaces it; Skip counts it as skipped.
    ExistingCopies existing = ExistingCopies::Refuse;
};

struct StampOutcome {
    enum class Status { Written, Skipped, Failed, Cancelled };
    Status status = Status::Failed;
    QString message;  // why it failed, in the interface's language
    QString warning;  // written, but not all as asked (the metadata left out), and why
    QString notice;   // asked lossless, but written by the full re-encode, and why
};

QList<StampItem> planStampBatch(const QList<QByteArray>& sources, const QByteArray& outDir,
                                ExistingCopies existing);
// The same with a folder for each source's copy (empty: beside the photo).
QList<StampItem> planStampBatch(const QList<QByteArray>& sources, const QList<QByteArray>& outDirs,
                                ExistingCopies existing);
// How many of the planned copies would replace a file already there.
int countExistingCopies(const QList<StampItem>& items);

// What became of item, from what writing its copy reported (see writeStampedCopy).
StampOutcome writtenOutcome(const StampItem& item, const QString& failed, bool cancelled,
                            bool existed, const QString& warning = {}, const QString& notice = {});

// The stamped canvas of a loaded photo, drawn into the photo's own pixels: the result the window
// shows on its canvas for the same photo and settings.
QImage stampCanvas(QImage photo, const QString& captureDateText, const StampRecipe& recipe);

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
