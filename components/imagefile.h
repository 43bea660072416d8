#pragma once
// A photo opened for its metadata items. Every failure raises ImageError.
#include "components/filereader.h"
#include "components/propertyitem.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>

namespace orvello {

class PhotoMetadata;

class ImageFile {
public:
    // Larger files are refused before they are read: the reader holds the whole file.
    static constexpr qint64 maxFileSize = kMaxPhotoFileBytes;

    ImageFile() = default;
    virtual ~ImageFile() = default;
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    // Reads the file once into memory; the path is never given to the metadata library.
    void LoadFromFile(const QString& path);
    void LoadFromNativeFile(const QByteArray& nativePath);  // the path's bytes as stored
    // The same for the bytes of a file already read. Bytes handed over (moved) are not copied
    // even where the reader must change them.
    void LoadFromData(QByteArray bytes);
    // The items of a photo whose metadata was read already; nothing is parsed again.
    void LoadFromMetadata(std::shared_ptr<const PhotoMetadata> metadata);

    // Virtual so that tests can stand in for a failing image.
    virtual int PropertyCount() const;
    // The item at index 1 … PropertyCount.
    virtual PropertyItem Item(int index) const;
    // Releases the items; the image then counts as not loaded.
    void Dispose();
    bool isLoaded() const { return loaded_; }
    // The photo's metadata the items were listed from; null when not loaded.
    const std::shared_ptr<const PhotoMetadata>& metadata() const { return metadata_; }

private:
    void requireLoaded() const;

    QList<PropertyItem> items_;
    std::shared_ptr<const PhotoMetadata> metadata_;
    bool loaded_ = false;
};

}  // namespace orvello
