#pragma once
// Where orvello-stamp writes a stamped copy, and when it must not: a batch run is never weaker
// than the window's save dialog, which asks before replacing a file.
#include <QImage>
#include <QSet>
#include <QString>
#include <QStringList>

namespace orvello {

// The copy of photo: "PM_" + its name (".jpg" for a TIFF), in outDir or else beside the photo.
QString stampTarget(const QString& photo, const QString& outDir);

class StampOutputGuard {
public:
    StampOutputGuard(const QStringList& inputs, bool overwrite);

    // Why the copy may not be written to target, or empty when it may. Never an input photo,
    // never a target written earlier in this run, never anything but a file or a symbolic link,
    // and an existing one only with overwrite.
    QString refusal(const QString& target) const;
    // Writes canvas as JPEG to target. A symbolic link there is replaced by the new file, never
    // written through. Returns the failure message, or empty.
    QString write(const QImage& canvas, const QString& target);

private:
    QSet<QString> inputEntries_;  // each input's folder, resolved, and its own name
    QSet<QString> inputFiles_;    // each input's file, fully resolved
    QSet<QString> written_;
    bool overwrite_ = false;
};

}  // namespace orvello
