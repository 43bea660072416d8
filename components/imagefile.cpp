#include "components/imagefile.h"

#include "components/exifreader.h"
#include "components/filereader.h"
#include "components/imageerror.h"
#include "components/photometadata.h"

#include <QFile>

namespace orvello {

namespace {
QString tooLarge()
{
    return QStringLiteral("The file is too large (more than %1 MB).")
        .arg(ImageFile::maxFileSize >> 20);
}
}  // namespace

void ImageFile::LoadFromFile(const QString& path)
{
    LoadFromNativeFile(QFile::encodeName(path));
}

void ImageFile::LoadFromNativeFile(const QByteArray& nativePath)
{
    Dispose();
    FileRead file = readWholeFile(nativePath);
    switch (file.failure) {
    case ReadFailure::None: break;
    case ReadFailure::Missing: throw ImageError(QStringLiteral("The file does not exist."));
    case ReadFailure::NotOrdinary:
        throw ImageError(QStringLiteral("This is not an ordinary file."));
    case ReadFailure::TooLarge: throw ImageError(tooLarge());
    case ReadFailure::CannotOpen:
        throw ImageError(QStringLiteral("The file cannot be opened: %1").arg(file.systemError));
    case ReadFailure::CannotRead:
        throw ImageError(QStringLiteral("The file cannot be read: %1").arg(file.systemError));
    case ReadFailure::NoMemory:
        throw ImageError(QStringLiteral("There is not enough memory to read the file."));
    }
    LoadFromData(std::move(file.bytes));
}

void ImageFile::LoadFromData(QByteArray bytes)
{
    Dispose();
    if (bytes.size() > maxFileSize) throw ImageError(tooLarge());
    LoadFromMetadata(PhotoMetadata::read(std::move(bytes)));
}

void ImageFile::LoadFromMetadata(std::shared_ptr<const PhotoMetadata> metadata)
{
    Dispose();
    if (metadata->fileSize() > maxFileSize) throw ImageError(tooLarge());
    items_ = propertyItemsOf(*metadata);
    metadata_ = std::move(metadata);
    loaded_ = true;
}

int ImageFile::PropertyCount() const
{
    requireLoaded();
    return int(items_.size());
}

PropertyItem ImageFile::Item(int index) const
{
    requireLoaded();
    if (index < 1 || index > items_.size())
        throw ImageError(QStringLiteral("There is no property item number %1.").arg(index));
    return items_[index - 1];
}

void ImageFile::Dispose()
{
    items_.clear();
    metadata_.reset();
    loaded_ = false;
}

void ImageFile::requireLoaded() const
{
    if (!loaded_) throw ImageError(QStringLiteral("No image is loaded."));
}

}  // namespace orvello
