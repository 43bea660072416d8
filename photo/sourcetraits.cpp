#include "photo/sourcetraits.h"

#include "components/tagnames.h"

#include <QHash>
#include <cmath>
#include <optional>

namespace orvello {

namespace {

constexpr quint16 kOrientation = 0x0112, kXResolution = 0x011A, kYResolution = 0x011B,
                  kResolutionUnit = 0x0128, kIccProfile = 0x8773;

// The primary directory's items by tag: the thumbnail's own orientation and resolution do not
// count. The first of a tag stands.
void addPrimary(QHash<quint16, PropertyItem>& items, const PropertyItem& item)
{
    if (!items.contains(item.tag()) && item.Name() == shortTagName(Directory::Image, item.tag()))
        items.insert(item.tag(), item);
}

QHash<quint16, PropertyItem> primaryItems(const ImageFile& listing)
{
    QHash<quint16, PropertyItem> items;
    try {
        for (int i = 1; i <= listing.PropertyCount(); ++i) addPrimary(items, listing.Item(i));
    } catch (...) {
        // A listing that cannot be walked gives nothing to keep.
    }
    return items;
}

std::optional<int> firstNumber(const QHash<quint16, PropertyItem>& items, quint16 tag)
{
    const auto it = items.find(tag);
    if (it == items.end() || it->ValueCount() < 1) return std::nullopt;
    try {
        if (it->ItemType() == exiftype::Short) return it->ParseShort(1);
        if (it->ItemType() == exiftype::Long) return int(it->ParseLong(1));
    } catch (...) {
    }
    return std::nullopt;
}

// A JFIF density value from an EXIF resolution: 1 to 65535, or 0 when there is none.
int densityValue(const QHash<quint16, PropertyItem>& items, quint16 tag)
{
    const auto it = items.find(tag);
    if (it == items.end() || it->ItemType() != exiftype::Rational || it->ValueCount() < 1) return 0;
    try {
        const auto [num, den] = it->ParseRational(1);
        if (num <= 0 || den <= 0) return 0;
        const double v = std::round(double(num) / double(den));
        return v < 1 || v > 65535 ? 0 : int(v);
    } catch (...) {
        return 0;
    }
}

PixelDensity exifDensity(const QHash<quint16, PropertyItem>& items)
{
    // EXIF counts 1 as no unit, 2 inches (the default) and 3 centimetres; JFIF 0, 1 and 2.
    const int unit = firstNumber(items, kResolutionUnit).value_or(2);
    if (unit < 1 || unit > 3) return {};
    const PixelDensity d{unit - 1, densityValue(items, kXResolution),
                         densityValue(items, kYResolution)};
    return d.isSet() ? d : PixelDensity{};
}

SourceTraits traitsOf(const JpegHeaderFacts& jpegHeader, const QHash<quint16, PropertyItem>& items)
{
    SourceTraits traits;
    const int orientation = firstNumber(items, kOrientation).value_or(1);
    traits.orientation = orientation >= 1 && orientation <= 8 ? orientation : 1;
    traits.iccProfile = jpegHeader.iccProfile;
    traits.density = jpegHeader.density;
    // A TIFF keeps its profile as a tag of the primary directory.
    if (const auto icc = items.find(kIccProfile); traits.iccProfile.isEmpty() && icc != items.end())
        icc->GetData(traits.iccProfile);
    if (!traits.density.isSet()) traits.density = exifDensity(items);
    if (!isRgbProfile(traits.iccProfile)) traits.iccProfile.clear();
    return traits;
}

}  // namespace

SourceTraits readSourceTraits(const JpegHeaderFacts& jpegHeader, const ImageFile* listing)
{
    return traitsOf(jpegHeader, listing && listing->isLoaded() ? primaryItems(*listing)
                                                               : QHash<quint16, PropertyItem>());
}

SourceTraits readSourceTraits(const PhotoMetadata& photo)
{
    QHash<quint16, PropertyItem> items;
    for (const PropertyItem& item : photo.items()) addPrimary(items, item);
    const JpegFrame& frame = photo.jpegFrame();
    return traitsOf(JpegHeaderFacts{frame.iccProfile, frame.density}, items);
}

}  // namespace orvello
