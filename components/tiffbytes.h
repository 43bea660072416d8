#pragma once
// Bounds-checked reads and writes of a TIFF structure (an EXIF block) in the byte order of its
// header: a read outside it gives nothing, a write outside it is dropped.
#include <QByteArray>
#include <QtEndian>
#include <optional>

namespace orvello {

class TiffBytes {
public:
    explicit TiffBytes(QByteArray& b) : b_(b), be_(b.startsWith("MM")) {}

    qint64 size() const { return b_.size(); }
    std::optional<quint32> u16(qint64 pos) const
    {
        if (pos < 0 || pos + 2 > b_.size()) return std::nullopt;
        const auto* p = reinterpret_cast<const uchar*>(b_.constData()) + pos;
        return be_ ? qFromBigEndian<quint16>(p) : qFromLittleEndian<quint16>(p);
    }
    std::optional<quint32> u32(qint64 pos) const
    {
        if (pos < 0 || pos + 4 > b_.size()) return std::nullopt;
        const auto* p = reinterpret_cast<const uchar*>(b_.constData()) + pos;
        return be_ ? qFromBigEndian<quint32>(p) : qFromLittleEndian<quint32>(p);
    }
    void put16(qint64 pos, quint16 v)
    {
        if (pos < 0 || pos + 2 > b_.size()) return;
        auto* p = reinterpret_cast<uchar*>(b_.data()) + pos;
        be_ ? qToBigEndian(v, p) : qToLittleEndian(v, p);
    }
    void put32(qint64 pos, quint32 v)
    {
        if (pos < 0 || pos + 4 > b_.size()) return;
        auto* p = reinterpret_cast<uchar*>(b_.data()) + pos;
        be_ ? qToBigEndian(v, p) : qToLittleEndian(v, p);
    }

protected:
    QByteArray& b_;
    bool be_;
};

}  // namespace orvello
