// Draws the window's artwork: the frame skin, the caption-button pictures, the program icon at
// every size the desktop asks for, and the command buttons' icons and pointer (buttonart.cpp).
// The skin, caption-button pictures and button icons are drawn a second time at twice the pixels
// ("name@2x.png"), for screens of two device pixels per pixel. The PNG files it writes are
// committed under resources/; run it again after changing a drawing:
//   orvello-make-artwork <source folder>/resources
#include "buttonart.h"
#include "ui/frame/frameregion.h"

#include <QDir>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <QTransform>

namespace {

// The skin's size and the rows its pieces are cut from (pixels; the window cuts the same pieces
// in twips at 15 per pixel).
constexpr int kSkinWidth = 271;
constexpr int kSkinHeight = 218;
constexpr int kTitleRows = 29;       // the coloured part of the 40-pixel title band
constexpr int kBottomBandRows = 30;  // the coloured part of the 40-pixel bottom band
// Where the window's minimise and close images lie over the skin's top-right corner.
constexpr QPoint kMinimiseGlyph(229, 5);
constexpr QPoint kCloseGlyph(250, 5);

const QColor kBorder(0x1b, 0x4f, 0x93);
const QColor kTitleTop(0x5b, 0x9d, 0xe6);
const QColor kTitleBottom(0x1f, 0x5c, 0xad);
const QColor kBandTop(0x5a, 0x8f, 0xd0);
const QColor kBandBottom(0x2c, 0x63, 0xab);
const QColor kStamp(255, 255, 128);  // the default colour of the date stamp

QLinearGradient vertical(qreal top, qreal bottom, const QColor& from, const QColor& to)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    return g;
}

// The minimise glyph: a bar on the lower half of a 16 × 16 cell.
void drawMinimiseGlyph(QPainter& p, QPoint at, const QColor& colour)
{
    p.fillRect(QRect(at + QPoint(4, 10), QSize(8, 2)), colour);
}

// The close glyph: a cross over the middle of a 16 × 16 cell.
void drawCloseGlyph(QPainter& p, QPoint at, const QColor& colour)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap));
    const QPointF o = at;
    p.drawLine(o + QPointF(4.5, 4.5), o + QPointF(11.5, 11.5));
    p.drawLine(o + QPointF(11.5, 4.5), o + QPointF(4.5, 11.5));
    p.restore();
}

// The skin: a small picture of the whole frame. The window stretches its title and bottom band
// across, its edges down, and copies its corners as they are.
QImage drawSkin(int scale)
{
    QImage skin(kSkinWidth * scale, kSkinHeight * scale, QImage::Format_RGB32);
    skin.fill(Qt::white);
    QPainter p(&skin);
    p.scale(scale, scale);
    // Title band: a blue gradient with a light line under its top edge and a dark line below.
    p.fillRect(0, 0, kSkinWidth, kTitleRows - 1,
               vertical(0, kTitleRows - 1, kTitleTop, kTitleBottom));
    p.fillRect(0, 1, kSkinWidth, 1, QColor(0x9c, 0xc6, 0xf4));
    p.fillRect(0, kTitleRows - 1, kSkinWidth, 1, kBorder);
    // Bottom band: lighter and calmer than the title, faded in from the client area.
    const int bandTop = kSkinHeight - kBottomBandRows;
    p.fillRect(0, bandTop - 4, kSkinWidth, 4,
               vertical(bandTop - 4, bandTop, Qt::white, QColor(0xd6, 0xe5, 0xf6)));
    p.fillRect(0, bandTop, kSkinWidth, kBottomBandRows,
               vertical(bandTop, kSkinHeight, kBandTop, kBandBottom));
    p.fillRect(0, bandTop, kSkinWidth, 1, QColor(0x86, 0xb0, 0xe3));
    // The outline follows the window's own rounded outline at this size, one pixel wide.
    const QRegion outline = orvello::frameRegion(kSkinWidth * 15, kSkinHeight * 15);
    QRegion inner = outline;
    for (QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
        inner &= outline.translated(d);
    for (const QRect& r : outline.subtracted(inner)) p.fillRect(r, kBorder);
    // Outside the outline the window shows the desktop; paint it like the border so that a
    // stretched edge never carries a stray white pixel.
    for (const QRect& r : QRegion(0, 0, kSkinWidth, kSkinHeight).subtracted(outline))
        p.fillRect(r, kBorder);
    drawMinimiseGlyph(p, kMinimiseGlyph, Qt::white);
    drawCloseGlyph(p, kCloseGlyph, Qt::white);
    return skin;
}

// A caption-button picture: a rounded plate under the glyph. Its corners stay transparent, so the
// band shows through them.
QImage drawButtonPicture(bool close, const QColor& plate, int scale)
{
    QImage img(16 * scale, 16 * scale, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.scale(scale, scale);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(plate);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    if (close)
        drawCloseGlyph(p, QPoint(0, 0), Qt::white);
    else
        drawMinimiseGlyph(p, QPoint(0, 0), Qt::white);
    return img;
}

// The program icon at size × size: a white camera on a blue tile, with a flash in the colour of
// the date stamp. Drawn on a 16-unit grid so that the smallest size falls on whole pixels.
QImage drawIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Paths are built at the final size: their boolean operations flatten curves at the scale
    // they are given.
    const QTransform unit = QTransform::fromScale(size / 16.0, size / 16.0);
    const qreal pen = size >= 32 ? size / 64.0 : 0;
    p.setPen(pen > 0 ? QPen(kBorder, pen) : QPen(Qt::NoPen));
    p.setBrush(vertical(0, size, kTitleTop, kTitleBottom));
    const qreal radius = 3.5 * size / 16.0;
    p.drawRoundedRect(QRectF(pen / 2, pen / 2, size - pen, size - pen), radius, radius);

    QPainterPath body;
    body.addRoundedRect(QRectF(2, 5, 12, 8), 1.5, 1.5);
    QPainterPath bump;
    bump.addRoundedRect(QRectF(5, 3, 6, 3), 0.75, 0.75);
    QPainterPath lens;
    lens.addEllipse(QPointF(8, 9), 2.75, 2.75);
    QPainterPath pupil;
    pupil.addEllipse(QPointF(8, 9), 1.5, 1.5);
    QPainterPath flash;
    flash.addEllipse(QPointF(11.5, 6.75), 0.9, 0.9);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(unit.map(body).united(unit.map(bump)).subtracted(unit.map(lens)));
    p.setBrush(QColor(255, 255, 255, 210));
    p.drawPath(unit.map(pupil));
    p.setBrush(kStamp);
    p.drawPath(unit.map(flash));
    return img;
}

bool save(const QImage& image, const QString& path)
{
    if (image.save(path, "PNG")) return true;
    QTextStream(stderr) << "cannot write " << path << '\n';
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: orvello-make-artwork <resources folder>\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("skin")) || !out.mkpath(QStringLiteral("icons")) ||
        !out.mkpath(QStringLiteral("buttons"))) {
        QTextStream(stderr) << "cannot create the folders under " << out.path() << '\n';
        return 1;
    }
    bool ok = true;
    for (int scale : {1, 2}) {
        const QString suffix = scale == 1 ? QStringLiteral(".png") : QStringLiteral("@2x.png");
        const auto file = [&](const QString& name) { return out.filePath(name + suffix); };
        ok &= save(drawSkin(scale), file(QStringLiteral("skin/skin")));
        ok &= save(drawButtonPicture(false, QColor(255, 255, 255, 80), scale),
                   file(QStringLiteral("skin/minimise-hover")));
        ok &= save(drawButtonPicture(false, QColor(10, 40, 90, 140), scale),
                   file(QStringLiteral("skin/minimise-pressed")));
        ok &= save(drawButtonPicture(true, QColor(0xe0, 0x48, 0x3e), scale),
                   file(QStringLiteral("skin/close-hover")));
        ok &= save(drawButtonPicture(true, QColor(0xa8, 0x2a, 0x22), scale),
                   file(QStringLiteral("skin/close-pressed")));
        for (const auto& [name, picture] : orvello::artwork::buttonPictures(scale))
            ok &= save(picture, file(QStringLiteral("buttons/") + name));
    }
    for (int size : {16, 32, 48, 128, 256})
        ok &= save(drawIcon(size), out.filePath(QStringLiteral("icons/orvello-%1.png").arg(size)));
    return ok ? 0 : 1;
}
