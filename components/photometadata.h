#pragma once
// A photo's metadata read once from its bytes. The listing, the date sources, the title's
// fields, the kept metadata, the copy's traits and the lossless copy's header all read this one
// value, so that a photo's container is sniffed, walked and opened once and its EXIF block goes
// through the metadata library once, however many of them need it. It does not change once read,
// so threads share it as a shared_ptr<const PhotoMetadata> (its library parse under the rules of
// exivguard.h).
#include "components/exiffence.h"
#include "components/jpegframe.h"
#include "components/propertyitem.h"

#include <QByteArray>
#include <QList>
#include <exception>
#include <memory>

namespace orvello {

enum class PhotoKind { Other, Jpeg, Tiff, Heif };

// What the first bytes say the photo is; HEIF as libheif recognises it.
PhotoKind sniffPhotoKind(const QByteArray& bytes);

// Where a JPEG segment's payload lies in the file.
struct SegmentSpan {
    int marker = 0;
    qsizetype offset = 0, size = 0;
};

// The complete segments before a JPEG's first scan, up to the first damaged one.
QList<SegmentSpan> jpegSegmentSpans(const QByteArray& jpeg);

class PhotoMetadata {
public:
    // Whether the metadata library's parse of the EXIF block stays for a copy that keeps the
    // photo's metadata (see KeptMetadata), or is let go once the items are listed: hundreds of
    // entries may share one large value, which the library holds once per entry.
    enum class ExifParse { ListOnly, Kept };

    // Throws only for want of memory: what cannot be read is kept as the failure its readers
    // report.
    static std::shared_ptr<const PhotoMetadata> read(QByteArray bytes,
                                                     ExifParse parse = ExifParse::ListOnly);
    // The same for bytes whose kind the caller has sniffed already.
    static std::shared_ptr<const PhotoMetadata> read(QByteArray bytes, ExifParse parse,
                                                     PhotoKind kind);
    ~PhotoMetadata();
    PhotoMetadata(const PhotoMetadata&) = delete;
    PhotoMetadata& operator=(const PhotoMetadata&) = delete;

    PhotoKind kind() const { return kind_; }
    qsizetype fileSize() const { return fileSize_; }

    // A JPEG's complete segments before its first scan, up to the first damaged one, where they
    // lie in the file; their bytes are kept, the picture's are not.
    const QList<SegmentSpan>& segments() const { return segments_; }
    QByteArray payload(const SegmentSpan& s) const { return header_.mid(s.offset, s.size); }

    // The TIFF structure of a JPEG's or HEIF's EXIF block as the file holds it; empty when there is
    // none (and for a TIFF, which is one itself).
    const QByteArray& exifBlock() const { return exifBlock_; }
    // The metadata library's parse of the block (of the file, for a TIFF), kept with
    // ExifParse::Kept; null otherwise, and when there is no block or it could not be read. Hold an
    // ExivLock while it is used.
    const FencedExif* exif() const { return exif_.get(); }
    // Throws what reading the EXIF block threw (the HEIF container included); nothing when it was
    // read or there is none.
    void rethrowExifFailure() const;

    // The items of the EXIF listing, in the file's order; empty when itemsFailure is set.
    const QList<PropertyItem>& items() const { return items_; }
    // Throws why the items could not be listed (not a photo, an unreadable block); nothing when
    // they were.
    void rethrowItemsFailure() const;

    // The XMP packet: a JPEG's XMP segment, a TIFF's XMLPacket item, a HEIF's XMP item; empty when
    // there is none.
    const QByteArray& xmp() const { return xmp_; }

    // A JPEG's headers as libjpeg reads them; an empty frame with an error for any other file.
    const JpegFrame& jpegFrame() const { return frame_; }

private:
    PhotoMetadata() = default;
    void readJpeg(const QByteArray& bytes);
    void readHeif(const QByteArray& bytes);
    void listItems(QByteArray tiff, ExifParse parse);

    PhotoKind kind_ = PhotoKind::Other;
    qsizetype fileSize_ = 0;
    QByteArray header_;  // a JPEG's bytes up to the end of its last segment before the scan
    QList<SegmentSpan> segments_;
    QByteArray exifBlock_;
    std::unique_ptr<FencedExif> exif_;
    std::exception_ptr exifFailure_;
    QList<PropertyItem> items_;
    std::exception_ptr itemsFailure_;
    QByteArray xmp_;
    JpegFrame frame_;
};

// How many photos' kinds sniffPhotoKind has told in this process (for the tests and benchmarks
// that count how often a photo is read).
quint64 photoKindsSniffed();

}  // namespace orvello
