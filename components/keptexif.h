#pragma once
// A photo's EXIF block kept byte for byte for its copy, when it carries a maker note. Vendors lay
// out their notes in formats of their own, and many count the offsets inside the note from the
// start of the block: moved to another place, the note reads as garbage. So the block stays as it
// is, and only what must change for the copy changes in place: the orientation, the pixel sizes,
// the link to the thumbnail (which shows the photo without its stamp), and the items that
// describe another file's storage or embed other blocks.
#include <QByteArray>
#include <QSize>
#include <optional>

namespace orvello {

// Primary-directory items that describe a TIFF file's own storage or embed other blocks (XMP,
// IPTC, Photoshop, ICC): wrong or unwanted in a JPEG copy's EXIF.
bool isStorageOrEmbeddedTag(quint16 tag);

class KeptExifBlock {
public:
    enum class Outcome {
        NoMakerNote,  // nothing to keep in place: the block may be rebuilt
        Kept,
        NotPossible,  // a maker note, in a block that cannot be edited in place safely
    };

    // tiff: the TIFF structure of an EXIF block. Reads only within it, whatever it claims.
    static Outcome keep(const QByteArray& tiff, std::optional<KeptExifBlock>* kept);

    // The block for a copy of size pixels that shows upright by the given orientation (1 … 8),
    // ready for an APP1 segment after "Exif\0\0".
    QByteArray forCopy(QSize size, int orientation = 1) const;

    // The most a JPEG segment holds after its "Exif\0\0" signature.
    static constexpr qsizetype maxSize = 65533 - 6;

private:
    QByteArray tiff_;
    qsizetype pixelX_ = -1, pixelY_ = -1;  // entries of the pixel sizes; -1 when absent
    qsizetype orientation_ = -1;           // the orientation's entry; -1 when absent
    qsizetype primary_ = -1;               // the primary directory
};

}  // namespace orvello
