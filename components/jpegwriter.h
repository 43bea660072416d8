#pragma once
// Writes an image as a JPEG file at full size, with only the metadata asked for (a colour
// profile, a density, prepared segments), through a temporary file that replaces the target only
// once it is complete, so a failed or cancelled write leaves any existing file as
// it was. The data is streamed into the file as it is encoded: no whole-file buffer in memory.
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <atomic>

namespace orvello {

class NativeFolder;

// Pixels per unit as a JFIF header holds them: unit 0 gives only the aspect ratio, 1 is per
// inch, 2 per centimetre. Unset (0 × 0) leaves the encoder's default, a square aspect.
struct PixelDensity {
    int unit = 0;
    int x = 0, y = 0;
    bool isSet() const { return x > 0 && y > 0; }
    PixelDensity swapped() const { return {unit, y, x}; }  // after a quarter turn
    bool operator==(const PixelDensity&) const = default;
};

// A marker segment written as it stands after the JFIF header (EXIF, XMP, IPTC).
struct JpegSegment {
    int marker = 0;  // 0xE1 for APP1 …
    QByteArray payload;
};

struct JpegOptions {
    int quality = 100;
    // 4:4:4: stamped coloured text keeps sharp edges, which 4:2:0 would smear.
    bool fullChroma = true;
    // Optimised Huffman tables: smaller files, slower saves.
    bool optimizeCoding = false;
    QByteArray iccProfile;  // embedded unchanged when not empty
    PixelDensity density;
    QList<JpegSegment> segments;
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
    // The same for the file name in a folder held open.
    bool saveNative(const QImage& image, const NativeFolder& folder, const QByteArray& name);
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
