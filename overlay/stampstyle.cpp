#include "overlay/stampstyle.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>
#include <vector>

namespace orvello {

namespace {

// Measures in ems, chosen to read on any photo without hiding it.
constexpr double kHaloEm = 0.045;
constexpr double kShadowOffsetEm = 0.07;
constexpr double kShadowBlurEm = 0.05;
constexpr double kPlatePadXEm = 0.3;
constexpr double kPlatePadYEm = 0.08;
constexpr double kPlateRadiusEm = 0.25;
const QColor kHaloColor(0, 0, 0, 210);
const QColor kShadowColor(0, 0, 0, 190);
const QColor kPlateColor(0, 0, 0, 140);
// Three box blurs come close to a Gaussian; their reach is three radii.
constexpr int kBlurPasses = 3;

double halo(double em)
{
    return std::max(1.0, em * kHaloEm);
}
double shadowOffset(double em)
{
    return std::max(1.0, std::round(em * kShadowOffsetEm));
}
int blurRadius(double em)
{
    return std::max(1, int(std::lround(em * kShadowBlurEm)));
}

// One box blur of radius r along rows (step 1) or columns (step = width), in place.
void boxBlur(std::vector<int>& a, int width, int height, int r, bool rows)
{
    const int lines = rows ? height : width, length = rows ? width : height;
    const int step = rows ? 1 : width, next = rows ? width : 1;
    std::vector<int> line(size_t(length) + 1);
    for (int l = 0; l < lines; ++l) {
        int* p = a.data() + size_t(l) * size_t(next);
        // Running sums: each value is the mean of the 2r + 1 around it, zero beyond the ends.
        line[0] = 0;
        for (int i = 0; i < length; ++i) line[size_t(i) + 1] = line[size_t(i)] + p[i * step];
        for (int i = 0; i < length; ++i) {
            const int lo = std::max(0, i - r), hi = std::min(length, i + r + 1);
            p[i * step] = (line[size_t(hi)] - line[size_t(lo)]) / (2 * r + 1);
        }
    }
}

// The text's shape filled, blurred, in the shadow colour, with its top-left at *at; made only as
// far as it can reach into canvas.
QImage blurredShadow(const QPainterPath& textPath, double em, const QRect& canvas, QPoint* at)
{
    const int r = blurRadius(em);
    const int margin = kBlurPasses * r + 1;
    const int offset = int(shadowOffset(em));
    const QRect reached = canvas.adjusted(-margin - offset, -margin - offset, margin, margin);
    const QRect box =
        textPath.boundingRect().toAlignedRect().adjusted(-margin, -margin, margin, margin) &
        reached;
    if (box.isEmpty()) return {};
    QImage mask(box.size(), QImage::Format_ARGB32_Premultiplied);
    if (mask.isNull()) return {};
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(-box.topLeft());
        p.fillPath(textPath, Qt::black);
    }
    const int w = box.width(), h = box.height();
    std::vector<int> alpha(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < w; ++x) alpha[size_t(y) * size_t(w) + size_t(x)] = qAlpha(row[x]);
    }
    for (int pass = 0; pass < kBlurPasses; ++pass) {
        boxBlur(alpha, w, h, r, true);
        boxBlur(alpha, w, h, r, false);
    }
    const QRgb c = kShadowColor.rgba();
    for (int y = 0; y < h; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int a = alpha[size_t(y) * size_t(w) + size_t(x)] * qAlpha(c) / 255;
            row[x] = qRgba(qRed(c) * a / 255, qGreen(c) * a / 255, qBlue(c) * a / 255, a);
        }
    }
    *at = box.topLeft() + QPoint(offset, offset);
    return mask;
}

// The halo: the text's outlines stroked with round joins and caps, together with the glyphs
// themselves, filled once into an image of the area it covers, so that a lossless copy's pieces
// each draw a clipped image. Each contour is stroked and filled on its own: the rasterizer's
// cost grows with the square of the edges a row of pixels crosses, and one path of every
// contour's stroke took ten times as long as the text. Overlapping strokes add up as coverage
// does (source over), which for whole pixels is their union.
QImage haloImage(const QPainterPath& textPath, double em, const QRect& canvas, QPoint* at)
{
    const double width = halo(em);
    const int margin = int(std::ceil(width)) + 2;
    const QRect box =
        textPath.boundingRect().toAlignedRect().adjusted(-margin, -margin, margin, margin) & canvas;
    if (box.isEmpty()) return {};
    QImage mask(box.size(), QImage::Format_Alpha8);
    if (mask.isNull()) return {};
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(-box.topLeft());
        QPainterPathStroker stroker;
        stroker.setWidth(2 * width);
        stroker.setJoinStyle(Qt::RoundJoin);
        stroker.setCapStyle(Qt::RoundCap);
        const QRectF reach = QRectF(box).adjusted(-margin, -margin, margin, margin);
        QPainterPath contour;
        const auto strokeContour = [&] {
            if (!contour.isEmpty() && contour.controlPointRect().intersects(reach))
                p.fillPath(stroker.createStroke(contour), Qt::black);
            contour.clear();
        };
        for (int i = 0; i < textPath.elementCount(); ++i) {
            const QPainterPath::Element e = textPath.elementAt(i);
            switch (e.type) {
            case QPainterPath::MoveToElement:
                strokeContour();
                contour.moveTo(e);
                break;
            case QPainterPath::LineToElement: contour.lineTo(e); break;
            case QPainterPath::CurveToElement:
                if (i + 2 < textPath.elementCount()) {
                    contour.cubicTo(e, textPath.elementAt(i + 1), textPath.elementAt(i + 2));
                    i += 2;
                }
                break;
            case QPainterPath::CurveToDataElement: break;
            }
        }
        strokeContour();
        p.fillPath(textPath, Qt::black);
    }
    QImage image(box.size(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return {};
    const QRgb c = kHaloColor.rgba();
    for (int y = 0; y < image.height(); ++y) {
        const uchar* from = mask.constScanLine(y);
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int a = from[x] * qAlpha(c) / 255;
            row[x] = qRgba(qRed(c) * a / 255, qGreen(c) * a / 255, qBlue(c) * a / 255, a);
        }
    }
    *at = box.topLeft();
    return image;
}

bool samePath(const QPainterPath& a, const QPainterPath& b)
{
    if (a.elementCount() != b.elementCount() || a.fillRule() != b.fillRule()) return false;
    for (int i = 0; i < a.elementCount(); ++i) {
        const QPainterPath::Element e = a.elementAt(i), f = b.elementAt(i);
        if (e.type != f.type || e.x != f.x || e.y != f.y) return false;
    }
    return true;
}

// The photos of a folder mostly share a size and a title, so each worker keeps the last two
// images it made for a style (a date's and a title's, most often) and hands one out again for
// the very same outlines.
using MakeImage = QImage (*)(const QPainterPath&, double, const QRect&, QPoint*);
QImage keptImage(StampStyle style, MakeImage make, const QPainterPath& textPath, double em,
                 const QRect& canvas, QPoint* at)
{
    struct Made {
        StampStyle style = StampStyle::Plain;
        QPainterPath path;
        double em = 0;
        QRect canvas;
        QImage image;
        QPoint at;
    };
    thread_local Made made[2];
    thread_local int next = 0;
    for (const Made& m : made)
        if (m.style == style && !m.image.isNull() && m.em == em && m.canvas == canvas &&
            samePath(m.path, textPath)) {
            *at = m.at;
            return m.image;
        }
    Made& m = made[next];
    next = 1 - next;
    m.image = make(textPath, em, canvas, &m.at);
    m.style = style;
    m.path = textPath;
    m.em = em;
    m.canvas = canvas;
    *at = m.at;
    return m.image;
}

QRectF plateRect(const QRectF& cell, double em)
{
    const double padX = em * kPlatePadXEm, padY = em * kPlatePadYEm;
    return cell.adjusted(-padX, -padY, padX, padY);
}

}  // namespace

double styleReach(StampStyle style, double em)
{
    switch (style) {
    case StampStyle::Plain: return 0;
    case StampStyle::Outline: return std::ceil(halo(em)) + 1;  // and its anti-aliased rim
    case StampStyle::Shadow: return shadowOffset(em) + kBlurPasses * blurRadius(em) + 1;
    case StampStyle::Plate: return std::ceil(em * kPlatePadXEm) + 1;
    }
    return 0;
}

QRectF styleExtent(StampStyle style, const QRectF& ink, const QRectF& cell, double em)
{
    const QRectF base = style == StampStyle::Plate ? ink | cell : ink;
    const double reach = styleReach(style, em);
    return base.adjusted(-reach, -reach, reach, reach);
}

StyleLayer makeStyleLayer(StampStyle style, const QPainterPath& textPath, const QRectF& cell,
                          double em, const QRect& canvas)
{
    StyleLayer layer;
    layer.style = style;
    switch (style) {
    case StampStyle::Plain: break;
    case StampStyle::Outline:
    case StampStyle::Shadow:
        layer.image = keptImage(style, style == StampStyle::Outline ? haloImage : blurredShadow,
                                textPath, em, canvas, &layer.imageAt);
        break;
    case StampStyle::Plate: {
        // Beyond the canvas the plate would not show; cut there, its coordinates stay small.
        const double radius = em * kPlateRadiusEm;
        const QRectF bounds =
            QRectF(canvas).adjusted(-2 * radius, -2 * radius, 2 * radius, 2 * radius);
        layer.shape.addRoundedRect(plateRect(cell, em) & bounds, radius, radius);
        break;
    }
    }
    return layer;
}

void paintStyleLayer(QPainter& painter, const StyleLayer& layer)
{
    if (layer.style == StampStyle::Plain) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (layer.style == StampStyle::Plate)
        painter.fillPath(layer.shape, kPlateColor);
    else if (!layer.image.isNull())
        painter.drawImage(layer.imageAt, layer.image);
    painter.restore();
}

}  // namespace orvello
