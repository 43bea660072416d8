#include "photo/exiflisting.h"

#include "app/messages.h"
#include "components/imageerror.h"

namespace orvello {

namespace {

const QString lineBreak = QStringLiteral("\r\n");
const QString joiner = QStringLiteral(", ");

}  // namespace

QString itemValueText(const PropertyItem& item)
{
    const quint32 type = item.ItemType();
    // Appended in place: a strip table can hold many thousand values.
    QString text;
    const auto join = [&text](quint32 i) {
        if (i > 1) text += joiner;
    };
    switch (type) {
    case exiftype::Ascii: return item.ParseString();
    case exiftype::Short:
        for (quint32 i = 1; i <= item.ValueCount(); ++i) {
            join(i);
            text += QString::number(item.ParseShort(i));
        }
        return text;
    case exiftype::Long:
        for (quint32 i = 1; i <= item.ValueCount(); ++i) {
            join(i);
            text += QString::number(item.ParseLong(i));
        }
        return text;
    case exiftype::Rational:
    case exiftype::SRational:
        for (quint32 i = 1; i <= item.ValueCount(); ++i) {
            const auto [numerator, denominator] = item.ParseRational(i);
            join(i);
            text += QString::number(numerator) + QLatin1Char('/') + QString::number(denominator);
        }
        return text;
    case exiftype::Undefined: {
        QByteArray bytes;
        item.GetData(bytes);
        const qsizetype n = std::min<qsizetype>(bytes.size(), item.ValueCount());
        return QString::fromLatin1(bytes.first(n).toHex(' ').toUpper());
    }
    default: return QString::number(type) + QLatin1Char(' ') + QString::number(item.ItemSize());
    }
}

ExifListing listExif(QString text, std::unique_ptr<ImageFile> image,
                     const std::function<void(ImageFile&)>& load)
{
    ExifListing result;
    try {
        load(*image);
        const int count = image->PropertyCount();
        for (int index = 1; index <= count; ++index) {
            const PropertyItem item = image->Item(index);
            const QString line = item.Name() + QLatin1Char(' ') + itemValueText(item);
            text += lineBreak + line;
        }
        result.image = std::move(image);
    } catch (const ImageError& e) {
        result.errorDescription = e.description();
    } catch (const std::bad_alloc&) {
        result.errorDescription = QStringLiteral("Not enough memory.");
    } catch (const std::exception& e) {
        result.errorDescription = QString::fromLocal8Bit(e.what());
    }
    result.text = std::move(text);
    return result;
}

ExifListing listExifFile(QString text, const QString& path)
{
    return listExif(std::move(text), std::make_unique<ImageFile>(),
                    [&path](ImageFile& image) { image.LoadFromFile(path); });
}

ExifListing listExifData(QString text, QByteArray bytes)
{
    return listExif(std::move(text), std::make_unique<ImageFile>(),
                    [&bytes](ImageFile& image) { image.LoadFromData(std::move(bytes)); });
}

QString listingErrorMessage(const QString& description)
{
    return QStringLiteral("An error occurred trying to show the information for this file: ") +
           description;
}

void showListingError(Host& host, const QString& description)
{
    showNotice(host, listingErrorMessage(description), MsgIcon::Information);
}

}  // namespace orvello
