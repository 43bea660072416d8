#pragma once
// HEIF files (HEIC photos from phones) as libheif reads them: recognising one, opening it from
// memory inside fixed limits, and finding the TIFF structure of its EXIF block.
#include <QByteArray>
#include <QString>
#include <memory>

struct heif_context;
struct heif_image_handle;

namespace orvello {

// True when the bytes start with a file-type box of a HEIF brand libheif knows.
bool looksLikeHeif(const QByteArray& bytes);

// No side of any picture in a file may reach this many pixels unless the caller says otherwise:
// libheif refuses such a file while parsing it, before any decoder is started or any picture
// allocated. It also holds for the output of grids, but not for what a coded stream announces.
inline constexpr int kMaxHeifSide = 65535;

// A HEIF file opened from bytes that must outlive it, with its primary image.
struct HeifFile {
    std::shared_ptr<heif_context> context;
    std::shared_ptr<const heif_image_handle> primary;
    QString error;           // libheif's own words when it could not be opened; empty when opened
    bool overLimit = false;  // refused for a picture side at or beyond the limit
    bool noLibrary = false;  // libheif could not be loaded: error says why

    bool ok() const { return error.isEmpty(); }
};

HeifFile openHeif(const QByteArray& bytes, int sideLimit = kMaxHeifSide);

// libheif's message, trimmed.
QString heifErrorText(const char* message);

// The TIFF structure of the primary image's EXIF block: its item starts with a 4-byte big-endian
// count of bytes to skip before the TIFF header. Empty when there is none. Throws ImageError when
// the file could not be opened or that count leads outside the block. fileBytes: the file's size,
// which no item can exceed.
QByteArray heifExifTiff(const HeifFile& file, qsizetype fileBytes);

// The primary image's XMP packet (its "application/rdf+xml" item); empty when there is none or the
// file could not be opened.
QByteArray heifXmpPacket(const HeifFile& file, qsizetype fileBytes);

}  // namespace orvello
