#pragma once
// Writes an image as a JPEG file: full size, no metadata, through a temporary file that replaces
// the target only once it is complete, so a failed or cancelled write leaves any existing file as
// it was. The data is streamed into the file as it is encoded: no whole-file buffer in memory.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <atomic>

namespace orvello {

struct JpegOptions {
    int quality = 100;
    // 4:4:4: stamped coloured text keeps sharp edges, which 4:2:0 would smear.
    bool fullChroma = true;
    // Optimised Huffman tables: smaller files, slower saves.
    bool optimizeCoding = false;
};

// Encodes to memory; empty on failure (error set).
QByteArray encodeJpeg(const QImage& image, const JpegOptions& options, QString* error = nullptr);

class JpegWriter {
public:
    explicit JpegWriter(JpegOptions options = {}) : options_(options) {}
    // False on any failure, with the reason in error().
    bool save(const QImage& image, const QString& path);
    // The same for a path as the file system spells it, which need not be UTF-8.
    bool saveNative(const QImage& image, const QByteArray& nativePath);
    const QString& error() const { return error_; }

    // When set and raised during a save, the save stops, nothing is written and
    // wasCancelled() is true.
    void setCancelFlag(const std::atomic<bool>* cancel) { cancel_ = cancel; }
    bool wasCancelled() const { return cancelled_; }

    // Off: saveNative never replaces what stands at the path when it finishes, even a file that
    // appeared while it wrote; it fails with targetExisted() instead.
    void setReplaceExisting(bool replace) { replace_ = replace; }
    bool targetExisted() const { return targetExisted_; }

    // A hook for tests: called with each piece of data about to be written; returning false
    // makes the write fail as a full disk would.
    using WriteHook = bool (*)(const QByteArray&);
    void setWriteHook(WriteHook hook) { hook_ = hook; }

private:
    template <typename File>
    bool saveTo(const QImage& image, File& file);

    JpegOptions options_;
    QString error_;
    WriteHook hook_ = nullptr;
    const std::atomic<bool>* cancel_ = nullptr;
    bool cancelled_ = false;
    bool replace_ = true;
    bool targetExisted_ = false;
};

}  // namespace orvello
