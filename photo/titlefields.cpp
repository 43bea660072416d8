#include "photo/titlefields.h"

#include "components/imageerror.h"

namespace orvello {

PhotoFields photoFields(const ImageFile* image, const QString& fileName,
                        const QString& captureDateText)
{
    PhotoFields f;
    f.fileName = fileName;
    f.captureDateText = captureDateText;
    const int count = image && image->isLoaded() ? image->PropertyCount() : 0;
    for (int i = 1; i <= count; ++i) {
        const PropertyItem item = image->Item(i);
        const quint32 type = item.ItemType();
        const bool text = type == exiftype::Ascii, ratio = type == exiftype::Rational;
        try {
            switch (item.tag()) {
            case 0x010F:
                if (text) f.make = item.ParseString().trimmed();
                break;
            case 0x0110:
                if (text) f.model = item.ParseString().trimmed();
                break;
            case 0xA434:
                if (text) f.lensModel = item.ParseString().trimmed();
                break;
            case 0x829A:
                if (ratio) f.exposureTime = item.ParseRational(1);
                break;
            case 0x829D:
                if (ratio) f.fNumber = item.ParseRational(1);
                break;
            case 0x920A:
                if (ratio) f.focalLength = item.ParseRational(1);
                break;
            case 0x8827:  // ISO speed (PhotographicSensitivity)
                if (type == exiftype::Short) f.iso = item.ParseShort(1);
                if (type == exiftype::Long) f.iso = item.ParseLong(1);
                break;
            default: break;
            }
        } catch (const ImageError&) {
            // An item whose value cannot be read leaves its field empty, as a missing one does.
        }
    }
    return f;
}

}  // namespace orvello
