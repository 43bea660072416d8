#include "components/heifcontainer.h"

#include "components/heiflibrary.h"
#include "components/imageerror.h"

#include <QtEndian>

namespace orvello {

bool looksLikeHeif(const QByteArray& bytes)
{
    // Every HEIF file starts with its file-type box: other files do not load the library.
    if (bytes.size() < 12 || bytes.mid(4, 4) != "ftyp") return false;
    const HeifLibrary* heif = heifLibrary();
    // Without the library, opening the file says why.
    if (!heif) return true;
    const heif_filetype_result r =
        heif->check_filetype(reinterpret_cast<const uint8_t*>(bytes.constData()),
                             int(std::min<qsizetype>(bytes.size(), 1 << 20)));
    return r == heif_filetype_yes_supported || r == heif_filetype_yes_unsupported;
}

HeifFile openHeif(const QByteArray& bytes, int sideLimit)
{
    HeifFile file;
    const HeifLibrary* heif = heifLibrary();
    if (!heif) {
        file.error = heifLibraryError();
        file.noLibrary = true;
        return file;
    }
    const HeifLibrary& lib = *heif;
    file.context.reset(lib.context_alloc(), lib.context_free);
    if (!file.context) {
        file.error = QStringLiteral("libheif cannot start");
        return file;
    }
    lib.context_set_maximum_image_size_limit(file.context.get(), sideLimit);
    heif_error err = lib.context_read_from_memory_without_copy(
        file.context.get(), bytes.constData(), size_t(bytes.size()), nullptr);
    if (err.code == heif_error_Ok) {
        heif_image_handle* handle = nullptr;
        err = lib.context_get_primary_image_handle(file.context.get(), &handle);
        if (err.code == heif_error_Ok) file.primary.reset(handle, lib.image_handle_release);
    }
    if (err.code != heif_error_Ok) {
        file.error = heifErrorText(err.message);
        file.overLimit = err.subcode == heif_suberror_Security_limit_exceeded;
    }
    return file;
}

QString heifErrorText(const char* message)
{
    const QString text = QString::fromUtf8(message).trimmed();
    return text.isEmpty() ? QStringLiteral("unknown error") : text;
}

QByteArray heifExifTiff(const HeifFile& file, qsizetype fileBytes)
{
    if (!file.ok())
        throw ImageError(QStringLiteral("The HEIF file cannot be read (%1).").arg(file.error));
    const HeifLibrary& lib = *heifLibrary();
    const heif_image_handle* handle = file.primary.get();
    heif_item_id id = 0;
    if (lib.image_handle_get_list_of_metadata_block_IDs(handle, "Exif", &id, 1) < 1) return {};
    const size_t size = lib.image_handle_get_metadata_size(handle, id);
    if (size < 4) throw ImageError(QStringLiteral("The EXIF block is too short."));
    if (size > size_t(fileBytes))
        throw ImageError(QStringLiteral("The EXIF block is larger than the file."));
    QByteArray block(qsizetype(size), Qt::Uninitialized);
    const heif_error err = lib.image_handle_get_metadata(handle, id, block.data());
    if (err.code != heif_error_Ok)
        throw ImageError(
            QStringLiteral("The EXIF block cannot be read (%1).").arg(heifErrorText(err.message)));
    const quint32 skip = qFromBigEndian<quint32>(block.constData());
    if (skip > quint64(block.size()) - 4)
        throw ImageError(
            QStringLiteral("The EXIF block's header points outside it (%1 of %2 bytes).")
                .arg(skip)
                .arg(block.size() - 4));
    QByteArray tiff = block.sliced(4 + qsizetype(skip));
    // Some writers leave the JPEG segment's "Exif\0\0" before the TIFF header and count from it.
    if (tiff.startsWith(QByteArrayView("Exif\0\0", 6))) tiff.remove(0, 6);
    return tiff;
}

QByteArray heifXmpPacket(const HeifFile& file, qsizetype fileBytes)
{
    if (!file.ok()) return {};
    const HeifLibrary& lib = *heifLibrary();
    const heif_image_handle* handle = file.primary.get();
    heif_item_id ids[16];
    const int n = lib.image_handle_get_list_of_metadata_block_IDs(handle, "mime", ids, 16);
    for (int i = 0; i < n; ++i) {
        const char* type = lib.image_handle_get_metadata_content_type(handle, ids[i]);
        const size_t size = lib.image_handle_get_metadata_size(handle, ids[i]);
        if (!type || qstrcmp(type, "application/rdf+xml") != 0 || size > size_t(fileBytes))
            continue;
        QByteArray packet(qsizetype(size), Qt::Uninitialized);
        if (lib.image_handle_get_metadata(handle, ids[i], packet.data()).code == heif_error_Ok)
            return packet;
    }
    return {};
}

}  // namespace orvello
