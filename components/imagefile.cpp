#include "components/imagefile.h"

#include "components/exifreader.h"
#include "components/imageerror.h"

#include <QFile>
#include <QFileInfo>

namespace orvello {

void ImageFile::LoadFromFile(const QString& path)
{
    Dispose();
    const QFileInfo info(path);
    if (!info.exists()) throw ImageError(QStringLiteral("The file does not exist."));
    // Opening a pipe or a device could block or never end.
    if (!info.isFile()) throw ImageError(QStringLiteral("This is not an ordinary file."));
    if (info.size() > maxFileSize)
        throw ImageError(
            QStringLiteral("The file is too large (more than %1 MB).").arg(maxFileSize >> 20));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ImageError(QStringLiteral("The file cannot be opened: %1").arg(file.errorString()));
    // One byte more than allowed shows a file that grew after the check.
    const QByteArray bytes = file.read(maxFileSize + 1);
    if (file.error() != QFile::NoError)
        throw ImageError(QStringLiteral("The file cannot be read: %1").arg(file.errorString()));
    LoadFromData(bytes);
}

void ImageFile::LoadFromData(const QByteArray& bytes)
{
    Dispose();
    if (bytes.size() > maxFileSize)
        throw ImageError(
            QStringLiteral("The file is too large (more than %1 MB).").arg(maxFileSize >> 20));
    items_ = readPropertyItems(bytes);
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
    loaded_ = false;
}

void ImageFile::requireLoaded() const
{
    if (!loaded_) throw ImageError(QStringLiteral("No image is loaded."));
}

}  // namespace orvello
