#include "photo/exiflisting.h"

#include "app/messages.h"
#include "components/imageerror.h"

#include <QCoreApplication>

namespace orvello {

namespace {

const QString lineBreak = QStringLiteral("\r\n");
const QString joiner = QStringLiteral(", ");

// A hostile file can point hundreds of entries at one large value: each value shows its first
// bytes, and the listing stops growing at a few megabytes (the capture date is still listed).
constexpr quint32 kShownValueBytes = 256;
constexpr qsizetype kMaxListingChars = 4 << 20;

QString cutNote(qint64 bytes)
{
    return QStringLiteral("… (%1 bytes)").arg(bytes);
}

}  // namespace

QString itemValueText(const PropertyItem& item)
{
    const quint32 type = item.ItemType();
    const quint32 count = item.ValueCount();
    // Appended in place: a strip table can hold many thousand values.
    QString text;
    const auto join = [&text](quint32 i) {
        if (i > 1) text += joiner;
    };
    // The values that lie in the first bytes shown, and the note when some are left out (the
    // reader may hold no more than those bytes of a value many entries share).
    const auto shown = [count](quint32 width) { return std::min(count, kShownValueBytes / width); };
    const auto noteCut = [&](quint32 width) {
        if (shown(width) < count) text += QLatin1Char(' ') + cutNote(qint64(count) * width);
        return text;
    };
    switch (type) {
    case exiftype::Ascii:
        text = item.ParseString();
        if (count <= kShownValueBytes) return text;
        return text.left(kShownValueBytes) + QLatin1Char(' ') + cutNote(count);
    case exiftype::Short:
        for (quint32 i = 1; i <= shown(2); ++i) {
            join(i);
            text += QString::number(item.ParseShort(i));
        }
        return noteCut(2);
    case exiftype::Long:
        for (quint32 i = 1; i <= shown(4); ++i) {
            join(i);
            text += QString::number(item.ParseLong(i));
        }
        return noteCut(4);
    case exiftype::Rational:
    case exiftype::SRational:
        for (quint32 i = 1; i <= shown(8); ++i) {
            const auto [numerator, denominator] = item.ParseRational(i);
            join(i);
            text += QString::number(numerator) + QLatin1Char('/') + QString::number(denominator);
        }
        return noteCut(8);
    case exiftype::Undefined: {
        QByteArray bytes;
        item.GetData(bytes);
        const qsizetype n = std::min<qsizetype>({bytes.size(), count, kShownValueBytes});
        text = QString::fromLatin1(bytes.first(n).toHex(' ').toUpper());
        return noteCut(1);
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
        int left = 0;
        for (int index = 1; index <= count; ++index) {
            const PropertyItem item = image->Item(index);
            // Past the limit only the capture date is still listed.
            const bool full = text.size() > kMaxListingChars;
            if (full && item.Name() != QLatin1String("ExifDTOrig")) {
                ++left;
                continue;
            }
            const QString line = item.Name() + QLatin1Char(' ') + itemValueText(item);
            text += lineBreak;
            result.itemStarts << text.size();
            text += line;
        }
        if (left > 0) {
            text += lineBreak;
            result.itemStarts << text.size();
            text += QCoreApplication::translate("photo", "……（另有 %1 项未列出：信息超过 %2 MB）")
                        .arg(left)
                        .arg(kMaxListingChars >> 20);
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
