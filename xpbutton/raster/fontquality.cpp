#include "xpbutton/raster/fontquality.h"

#include <QHash>
#include <QRawFont>
#include <QtEndian>
#include <cmath>

namespace orvello::raster {

namespace {

// The pixel heights of the strikes in an embedded bitmap location table ("EBLC", or Apple's
// "bloc"): a 4-byte version, a 32-bit count, then one 48-byte size record per strike whose
// byte 45 is its vertical pixels per em.
QList<int> strikeHeights(const QByteArray& table)
{
    QList<int> heights;
    if (table.size() < 8) return heights;
    const auto* data = reinterpret_cast<const uchar*>(table.constData());
    const quint32 count = qFromBigEndian<quint32>(data + 4);
    constexpr qsizetype kRecord = 48;
    for (qsizetype i = 0; i < qsizetype(count) && 8 + (i + 1) * kRecord <= table.size(); ++i)
        heights.append(data[8 + i * kRecord + 45]);
    return heights;
}

}  // namespace

bool hasBitmapStrike(const QFont& font, int pixelSize)
{
    if (pixelSize <= 0 || pixelSize > 255) return false;
    // Asked once per face and size by every button and control: the answer is kept.
    static QHash<QString, QList<int>> known;
    const QString key = font.key();
    auto it = known.find(key);
    if (it == known.end()) {
        const QRawFont raw = QRawFont::fromFont(font);
        QByteArray table = raw.fontTable("EBLC");
        if (table.isEmpty()) table = raw.fontTable("bloc");
        it = known.insert(key, strikeHeights(table));
    }
    return it->contains(pixelSize);
}

QFont withDefaultQuality(QFont font, qreal deviceScale)
{
    const qreal logical = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * 96.0 / 72.0;
    const int pixels = int(std::lround(logical * (deviceScale > 0 ? deviceScale : 1)));
    const bool strike = hasBitmapStrike(font, pixels);
    font.setStyleStrategy(
        strike ? QFont::NoAntialias
               : QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    return font;
}

}  // namespace orvello::raster
