#include "photo/photostamp.h"

#include "components/imageerror.h"
#include "components/imagefile.h"
#include "photo/titlefields.h"

#include <QFile>
#include <QFileInfo>

namespace orvello {

namespace {

constexpr quint16 kXmpPacketTag = 0x02BC;

}  // namespace

StampSource stampSourceOf(const QString& listedDate, const ImageFile* image, QByteArray xmp)
{
    StampSource source;
    source.listedDate = listedDate;
    try {
        const int count = image && image->isLoaded() ? image->PropertyCount() : 0;
        source.dates.items.reserve(count);
        for (int i = 1; i <= count; ++i) source.dates.items << image->Item(i);
    } catch (const ImageError&) {
        // The items read so far still count, as they do in the listing.
    }
    source.dates.xmp = std::move(xmp);
    // A TIFF keeps its packet among the items just listed.
    if (source.dates.xmp.isEmpty())
        for (const PropertyItem& item : std::as_const(source.dates.items))
            if (item.tag() == kXmpPacketTag && item.Name().startsWith(QLatin1String("Image")))
                item.GetData(source.dates.xmp);
    source.fields = photoFields(image, QString(), QString());
    return source;
}

void setStampFile(StampSource& source, const QByteArray& nativePath)
{
    const QFileInfo info(QFile::decodeName(nativePath));
    source.fields.fileName = info.fileName();
    if (info.exists()) source.dates.fileModified = info.lastModified();
}

DateFormat dateFormatOf(const AppSettings& settings)
{
    DateFormat format;
    if (checkDatePattern(settings.dateFormat).isEmpty()) format.pattern = settings.dateFormat;
    format.shiftSeconds = parseClockShift(settings.dateShift).value_or(0);
    return format;
}

StampTexts stampTexts(const StampSource& source, const AppSettings& settings, const QString& text1)
{
    StampTexts texts;
    QString recorded = source.listedDate;
    if (!recorded.isEmpty()) {
        texts.source = DateSource::ExifOriginal;
    } else if (const auto found =
                   findRecordedDate(source.dates, settings.dateFallback == DateFallback::File)) {
        recorded = found->text();
        texts.source = found->source;
    }
    const DateFormat format = dateFormatOf(settings);
    if (!recorded.isEmpty()) texts.date = stampDateText(recorded, format);
    PhotoFields fields = source.fields;
    fields.captureDateText = recorded;
    // Filled fields may be long (a file name); the drawn title keeps the title's cap.
    texts.title =
        trimTitle(fillTitleFields(trimTitle(text1), fields, format)).left(kMaxTitleLength);
    return texts;
}

OverlayInput stampOverlayInput(const StampSource& source, const AppSettings& settings,
                               const QString& text1, bool isPortrait)
{
    const StampTexts texts = stampTexts(source, settings, text1);
    // The texts are final: the default pattern leaves a date in that form as it is, and any other
    // text as written.
    return makeOverlayInput(settings, texts.date, texts.title, isPortrait);
}

}  // namespace orvello
