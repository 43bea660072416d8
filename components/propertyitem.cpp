#include "components/propertyitem.h"

#include "components/imageerror.h"
#include "components/localtext.h"

#include <QtEndian>

namespace orvello {

namespace {

QString typeError(const QString& name, const char* wanted)
{
    return QStringLiteral("The item %1 is not of type %2.").arg(name, QLatin1String(wanted));
}

}  // namespace

PropertyItem::PropertyItem(quint16 tag, quint32 type, QString name, quint32 count, QByteArray data)
    : tag_(tag), type_(type), name_(std::move(name)), count_(count), data_(std::move(data))
{
}

QString PropertyItem::ParseString() const
{
    if (type_ != exiftype::Ascii) throw ImageError(typeError(name_, "ASCII"));
    // Everything after the first zero byte is padding.
    QByteArrayView bytes(data_);
    if (const qsizetype end = bytes.indexOf('\0'); end >= 0) bytes = bytes.first(end);
    // Cameras and tools sold in China write the local multi-byte encoding.
    return decodeLocalBytes(bytes);
}

const uchar* PropertyItem::valueAt(quint32 i, int width, const char* what) const
{
    if (i < 1 || i > count_ || qint64(i) * width > data_.size())
        throw ImageError(QStringLiteral("The item %1 has no %2 value number %3.")
                             .arg(name_, QLatin1String(what))
                             .arg(i));
    return reinterpret_cast<const uchar*>(data_.constData()) + qsizetype(i - 1) * width;
}

int PropertyItem::ParseShort(quint32 i) const
{
    if (type_ == exiftype::Short) return qFromLittleEndian<quint16>(valueAt(i, 2, "SHORT"));
    if (type_ == exiftype::SShort) return qFromLittleEndian<qint16>(valueAt(i, 2, "SSHORT"));
    throw ImageError(typeError(name_, "SHORT"));
}

qint64 PropertyItem::ParseLong(quint32 i) const
{
    if (type_ == exiftype::Long) return qFromLittleEndian<quint32>(valueAt(i, 4, "LONG"));
    if (type_ == exiftype::SLong) return qFromLittleEndian<qint32>(valueAt(i, 4, "SLONG"));
    throw ImageError(typeError(name_, "LONG"));
}

std::pair<qint64, qint64> PropertyItem::ParseRational(quint32 i) const
{
    if (type_ == exiftype::Rational) {
        const uchar* p = valueAt(i, 8, "RATIONAL");
        return {qFromLittleEndian<quint32>(p), qFromLittleEndian<quint32>(p + 4)};
    }
    if (type_ == exiftype::SRational) {
        const uchar* p = valueAt(i, 8, "SRATIONAL");
        return {qFromLittleEndian<qint32>(p), qFromLittleEndian<qint32>(p + 4)};
    }
    throw ImageError(typeError(name_, "RATIONAL"));
}

}  // namespace orvello
