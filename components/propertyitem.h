#pragma once
// One metadata item of a photo, as the reader reports it.
#include <QByteArray>
#include <QString>
#include <utility>

namespace orvello {

// The EXIF/TIFF field type codes the program decodes.
namespace exiftype {
inline constexpr quint32 Byte = 1, Ascii = 2, Short = 3, Long = 4, Rational = 5, SByte = 6,
                         Undefined = 7, SShort = 8, SLong = 9, SRational = 10;
}

class PropertyItem {
public:
    PropertyItem() = default;
    // data holds the value bytes, with multi-byte values little-endian whatever the file's order.
    PropertyItem(quint16 tag, quint32 type, QString name, quint32 count, QByteArray data);

    quint16 tag() const { return tag_; }
    quint32 ItemType() const { return type_; }
    quint32 ItemSize() const { return quint32(data_.size()); }
    const QString& Name() const { return name_; }
    // Number of values; for ASCII and UNDEFINED items the number of bytes.
    quint32 ValueCount() const { return count_; }

    // The ASCII text up to its terminating zero byte, as UTF-8 when valid, else as GB18030.
    QString ParseString() const;
    // Value i, 1-based. SHORT and LONG are unsigned, SSHORT and SLONG signed.
    int ParseShort(quint32 i) const;
    qint64 ParseLong(quint32 i) const;
    // Numerator and denominator of value i, 1-based (RATIONAL or SRATIONAL).
    std::pair<qint64, qint64> ParseRational(quint32 i) const;
    // Replaces bytes with the item's value bytes.
    void GetData(QByteArray& bytes) const { bytes = data_; }

private:
    // Start of value i (1-based) of width bytes; throws ImageError when it is not there.
    const uchar* valueAt(quint32 i, int width, const char* what) const;

    quint16 tag_ = 0;
    quint32 type_ = 0;
    QString name_;
    quint32 count_ = 0;
    QByteArray data_;
};

}  // namespace orvello
