#pragma once
// Where a stamped copy is written, and when it must not be: a batch is never weaker than the
// window's save dialog, which asks before replacing a file. Paths are the file system's own bytes,
// so a name that is not UTF-8 is checked and written exactly as stored.
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSet>
#include <QString>
#include <atomic>

namespace orvello {

// The copy of photo: "PM_" + its name (".jpg" for a TIFF), in outDir or else beside the photo.
QByteArray stampTarget(const QByteArray& photo, const QByteArray& outDir);

// A path as shown in messages.
QString shownPath(const QByteArray& nativePath);

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

// Writes canvas as JPEG to target, streamed through a temporary file that replaces the target only
// once complete; a symbolic link there is replaced by the new file, never written through. When
// cancel is raised meanwhile, nothing is written and *cancelled is set. Returns the failure
// message, or empty.
QString writeStampedCopy(const QImage& canvas, const QByteArray& target,
                         const std::atomic<bool>* cancel = nullptr, bool* cancelled = nullptr);
// The same for a copy already encoded, of a picture of pictureSize pixels.
QString writeStampedBytes(const QByteArray& jpeg, const QByteArray& target, QSize pictureSize);

}  // namespace orvello
