#pragma once
// Where a stamped copy is written, and when it must not be: a batch is never weaker than the
// window's save dialog, which asks before replacing a file. Paths are the file system's own bytes,
// so a name that is not UTF-8 is checked and written exactly as stored.
#include "components/jpegwriter.h"
#include "components/keptmetadata.h"
#include "components/nativefile.h"
#include "photo/sourcetraits.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSet>
#include <QString>
#include <atomic>
#include <memory>

namespace orvello {

// The copy of photo: "PM_" + its name (".jpg" for a TIFF), in outDir or else beside the photo.
QByteArray stampTarget(const QByteArray& photo, const QByteArray& outDir);

// A path as shown in messages.
QString shownPath(const QByteArray& nativePath);

// The path with every link and "." or ".." resolved, or empty when it does not lead anywhere.
QByteArray resolvedPath(const QByteArray& path);

class StampOutputGuard {
public:
    explicit StampOutputGuard(const QList<QByteArray>& inputs);

    // Why the copy may not be written to target, or empty when it may. Never an input photo,
    // never a target claimed earlier in this run, never anything but a file or a symbolic link.
    // An existing target is refused unless overwrite is set.
    QString refusal(const QByteArray& target, bool overwrite) const;
    // True when something already stands at target (a link counts, even a dangling one).
    static bool exists(const QByteArray& target);
    // Keeps target for this run: a later photo of the same copy name is refused.
    void claim(const QByteArray& target);

private:
    QSet<QByteArray> inputEntries_;  // each input's folder, resolved, and its own name
    QSet<QByteArray> inputFiles_;    // each input's file, fully resolved
    QSet<QByteArray> claimed_;
};

// How a copy is encoded: at quality, with its photo's colour profile and density (swapped when
// the copy was turned a quarter from the photo as loaded).
JpegOptions copyJpegOptions(const SourceTraits& traits, bool turnedSideways, int quality = 100);

// The same, carrying metadata (null: not asked for) as segments for a copy of copySize pixels
// that shows upright by orientation (1 … 8). When it cannot be carried, the copy goes without it
// and *warning says so; an orientation other than 1 is carried even then, in an EXIF of its own.
JpegOptions copyJpegOptions(const SourceTraits& traits, bool turnedSideways, int quality,
                            const KeptMetadata* metadata, QSize copySize, const QString& shownPhoto,
                            QString* warning, int orientation = 1);

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
    // In an output folder: that folder, held open since the plan, and the sub-folders of it the
    // copy goes in ("a/b/" or empty), entered from it when the copy is written. Null: the folder
    // of target.
    std::shared_ptr<const NativeFolder> outRoot;
    QByteArray outBelow;
};

// Why an existing copy is not replaced.
QString existingCopyRefusal(const QByteArray& target);

// Writes canvas as JPEG to item's target, streamed through a temporary file that takes the target's
// name only once complete; with replace, a file or symbolic link there is replaced (a link itself,
// never written through); without it, whatever stands there by then, even a file another run
// wrote meanwhile, is kept and *existed set. When cancel is raised meanwhile, nothing is written
// and *cancelled is set. options: how it is encoded. Returns the failure message, or empty.
QString writeStampedCopy(const QImage& canvas, const StampItem& item, bool replace,
                         const std::atomic<bool>* cancel = nullptr, bool* cancelled = nullptr,
                         bool* existed = nullptr, const JpegOptions& options = {});
// The same for a copy already encoded, of a picture of pictureSize pixels.
QString writeStampedBytes(const QByteArray& jpeg, const StampItem& item, bool replace,
                          bool* existed, QSize pictureSize);

}  // namespace orvello
