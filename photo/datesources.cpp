#include "photo/datesources.h"

#include "components/exivguard.h"
#include "components/photometadata.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <exiv2/exiv2.hpp>

namespace orvello {

namespace {

constexpr quint16 kDateTimeOriginal = 0x9003, kDateTimeDigitized = 0x9004;

std::optional<RecordedDate> dated(QDate date, QTime time, DateSource source)
{
    if (!date.isValid() || !time.isValid()) return std::nullopt;
    return RecordedDate{date, time, source};
}

// EXIF's "YYYY:MM:DD HH:MM:SS"; some writers put hyphens in the date. A camera whose clock was
// never set writes zeros or blanks, which are no date.
std::optional<RecordedDate> exifDate(const QString& value, DateSource source)
{
    static const QRegularExpression form(QStringLiteral(
        R"(^\s*(\d{4})[:-](\d{2})[:-](\d{2})[ T](\d{2}):(\d{2}):(\d{2})(?:\.\d+)?\s*$)"));
    const QRegularExpressionMatch m = form.match(value);
    if (!m.hasMatch()) return std::nullopt;
    const auto n = [&m](int i) { return m.captured(i).toInt(); };
    return dated(QDate(n(1), n(2), n(3)), QTime(n(4), n(5), n(6)), source);
}

// XMP's ISO 8601 dates: a day, with or without a time of minutes or seconds (and a fraction), and
// an offset from UTC, which is left aside: the wall-clock time is the one recorded.
std::optional<RecordedDate> xmpDate(const QString& value, DateSource source)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^\s*(\d{4})-(\d{2})-(\d{2})(?:T(\d{2}):(\d{2})(?::(\d{2})(?:\.\d+)?)?)?)"
                       R"((?:Z|[+-]\d{2}:?\d{2})?\s*$)"));
    const QRegularExpressionMatch m = form.match(value);
    if (!m.hasMatch()) return std::nullopt;
    const auto n = [&m](int i) { return m.captured(i).toInt(); };
    return dated(QDate(n(1), n(2), n(3)), QTime(n(4), n(5), n(6)), source);
}

std::optional<RecordedDate> itemDate(const QList<PropertyItem>& items, quint16 tag,
                                     DateSource source)
{
    for (const PropertyItem& item : items)
        if (item.tag() == tag && item.Name().startsWith(QLatin1String("Exif")) &&
            item.ItemType() == exiftype::Ascii)
            return exifDate(item.ParseString(), source);
    return std::nullopt;
}

// The two XMP dates, as the metadata library reads the packet.
std::pair<QString, QString> xmpDates(const QByteArray& packet)
{
    if (packet.isEmpty()) return {};
    const ExivLock lock;
    try {
        Exiv2::XmpData xmp;
        if (Exiv2::XmpParser::decode(xmp, packet.toStdString()) != 0) return {};
        const auto text = [&xmp](const char* key) {
            const auto it = xmp.findKey(Exiv2::XmpKey(key));
            return it == xmp.end() ? QString() : QString::fromStdString(it->toString());
        };
        return {text("Xmp.exif.DateTimeOriginal"), text("Xmp.photoshop.DateCreated")};
    } catch (...) {
        return {};
    }
}

}  // namespace

QString RecordedDate::text() const
{
    return QDateTime(date, time).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

DateEvidence readDateEvidence(const QByteArray& photo, const QByteArray& nativePath)
{
    DateEvidence evidence;
    const std::shared_ptr<const PhotoMetadata> metadata = PhotoMetadata::read(photo);
    evidence.items = metadata->items();
    evidence.xmp = metadata->xmp();
    if (!nativePath.isEmpty()) {
        const QFileInfo info(QFile::decodeName(nativePath));
        if (info.exists()) evidence.fileModified = info.lastModified();
    }
    return evidence;
}

std::optional<RecordedDate> findRecordedDate(const DateEvidence& evidence, bool useFileTime)
{
    if (auto d = itemDate(evidence.items, kDateTimeOriginal, DateSource::ExifOriginal)) return d;
    const auto [original, created] = xmpDates(evidence.xmp);
    if (auto d = xmpDate(original, DateSource::XmpOriginal)) return d;
    if (auto d = xmpDate(created, DateSource::XmpCreated)) return d;
    if (auto d = itemDate(evidence.items, kDateTimeDigitized, DateSource::ExifDigitized)) return d;
    if (useFileTime && evidence.fileModified && evidence.fileModified->isValid()) {
        const QDateTime local = evidence.fileModified->toLocalTime();
        const QTime t = local.time();
        return dated(local.date(), QTime(t.hour(), t.minute(), t.second()),
                     DateSource::FileModified);
    }
    return std::nullopt;
}

QString dateSourceLabel(DateSource source)
{
    switch (source) {
    case DateSource::ExifOriginal: return QCoreApplication::translate("photo", "日期来源：EXIF");
    case DateSource::XmpOriginal: return QCoreApplication::translate("photo", "日期来源：XMP");
    case DateSource::XmpCreated:
        return QCoreApplication::translate("photo", "日期来源：XMP创建日期");
    case DateSource::ExifDigitized:
        return QCoreApplication::translate("photo", "日期来源：EXIF数字化时间");
    case DateSource::FileModified:
        return QCoreApplication::translate("photo", "日期来源：文件修改时间");
    }
    return {};
}

}  // namespace orvello
