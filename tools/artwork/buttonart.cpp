#include "buttonart.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <cmath>
#include <cstring>
#include <functional>
#include <initializer_list>

namespace orvello::artwork {

namespace {

const QColor kInk(0x20, 0x2a, 0x3a);
const QColor kTitleBlue(0x1f, 0x5f, 0xd0);
const QColor kDateGreen(0x1e, 0x8c, 0x3a);
const QColor kOrange(0xf0, 0x8a, 0x10);

using Drawing = std::function<void(QPainter&)>;

QImage draw(const Drawing& paint, int size = 16, int scale = 1)
{
    QImage img(size * scale, size * scale, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.scale(scale, scale);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paint(p);
    return img;
}

// The title's mark: a small letter T.
void titleMark(QPainter& p, QPointF at)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRect(QRectF(at, QSizeF(6, 1.6)));
    p.drawRect(QRectF(at + QPointF(2.2, 1.6), QSizeF(1.6, 4.4)));
}

// The date's mark: a small calendar sheet with a red top.
void dateMark(QPainter& p, QPointF at)
{
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(at + QPointF(0.4, 0.4), QSizeF(5.4, 5.4)));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd0, 0x30, 0x30));
    p.drawRect(QRectF(at + QPointF(0.4, 0.4), QSizeF(5.4, 1.8)));
}

// The nudge and size buttons are 25 pixels square: their caption glyph (上, 下, 左, 右, 小, 大)
// stands over the right part of the picture, from its tenth column on. Their symbol keeps to the
// picture's left nine columns, level with the glyph (rows 3 to 14), and the rest stays
// transparent, so that symbol and glyph read together: "↑上". At that size each pixel is placed
// by hand, so the symbols stay crisp: '#' is the colour, anything else transparent.
using PixelRows = std::initializer_list<const char*>;

void pixels(QPainter& p, int top, PixelRows rows, const QColor& colour, bool mirrored = false,
            bool flipped = false)
{
    const int height = int(rows.size());
    int y = 0;
    for (const char* row : rows) {
        const int width = int(std::strlen(row));
        for (int x = 0; x < width; ++x)
            if (row[x] == '#')
                p.fillRect(mirrored ? width - 1 - x : x, top + (flipped ? height - 1 - y : y), 1, 1,
                           colour);
        ++y;
    }
}

const PixelRows kArrowUp = {
    "....#....", "...###...", "..#####..", ".#######.", "#########", "...###...",
    "...###...", "...###...", "...###...", "...###...", "...###...", "...###...",
};
const PixelRows kArrowLeft = {
    "....#....", "...##....", "..###....", ".########", "#########",
    ".########", "..###....", "...##....", "....#....",
};

Drawing nudge(int quarterTurns, bool title)
{
    return [=](QPainter& p) {
        const QColor colour = title ? kTitleBlue : kDateGreen;
        switch (quarterTurns) {
        case 0: pixels(p, 3, kArrowUp, colour); break;
        case 1: pixels(p, 4, kArrowLeft, colour, true); break;
        case 2: pixels(p, 3, kArrowUp, colour, false, true); break;
        default: pixels(p, 4, kArrowLeft, colour); break;
        }
    };
}

// The size buttons: a letter A under a triangle, small under a red one pointing down, large under
// a green one pointing up.
Drawing sizeSymbol(bool larger)
{
    return [=](QPainter& p) {
        const QColor red(0xc0, 0x30, 0x30), green(0x20, 0x90, 0x30);
        if (larger) {
            pixels(p, 0, {"....#....", "...###...", "..#####..", ".#######."}, green);
            pixels(p, 5,
                   {"...###...", "..##.##..", "..##.##..", ".##...##.", ".##...##.", "##.....##",
                    "#########", "##.....##", "##.....##", "##.....##"},
                   kInk);
        } else {
            pixels(p, 3, {".#######.", "..#####..", "...###...", "....#...."}, red);
            pixels(p, 8,
                   {"...###...", "..##.##..", "..##.##..", ".##...##.", ".#######.", ".##...##.",
                    ".##...##."},
                   kInk);
        }
    };
}

// A small landscape photo: sky, a hill and a sun.
void photo(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(QColor(0x9c, 0xd0, 0xf5));
    p.drawRect(r);
    QPainterPath hill;
    hill.moveTo(r.left(), r.bottom());
    hill.lineTo(r.left(), r.bottom() - r.height() * 0.35);
    hill.quadTo(r.center().x(), r.top() + r.height() * 0.3, r.right(),
                r.bottom() - r.height() * 0.2);
    hill.lineTo(r.right(), r.bottom());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3d, 0x9a, 0x40));
    p.drawPath(hill);
    p.setBrush(QColor(0xff, 0xd0, 0x30));
    p.drawEllipse(QPointF(r.right() - 2, r.top() + 2), 1.1, 1.1);
}

// The rotate buttons carry the same caption: a bold arrow tells them apart, arching over a small
// photo and turning down on the left for the left turn. The right turn's picture is its mirror.
void leftTurn(QPainter& p)
{
    photo(p, QRectF(7.5, 10.5, 6, 4.5));
    const QPointF c(9.5, 7.5);
    const qreal r = 5;
    const QRectF circle(c.x() - r, c.y() - r, 2 * r, 2 * r);
    QPainterPath arc;
    arc.arcMoveTo(circle, 0);
    arc.arcTo(circle, 0, 180);
    const QColor colour = kOrange.darker(125);
    p.setPen(QPen(colour, 2.6, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    // The head at the arc's left end, pointing down.
    const QPointF end = c - QPointF(r, 0);
    QPolygonF head;
    head << end + QPointF(-3.5, 0) << end + QPointF(3.5, 0) << end + QPointF(0, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(head);
}

void letter(QPainter& p, const QString& text, const QRectF& r, const QColor& colour, int pixels,
            bool bold, bool italic, const char* family = "DejaVu Serif")
{
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(r, Qt::AlignCenter, text);
}

// Seven segments of a digit 8 in the box.
void sevenSegmentEight(QPainter& p, const QRectF& r, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const qreal t = 1.6, x = r.left(), y = r.top(), w = r.width(), h = r.height();
    const qreal m = y + h / 2 - t / 2;
    for (qreal row : {y, m, y + h - t}) p.drawRect(QRectF(x + t, row, w - 2 * t, t));
    for (qreal col : {x, x + w - t}) {
        p.drawRect(QRectF(col, y + t, t, m - y - t));
        p.drawRect(QRectF(col, m + t, t, y + h - t - m - t));
    }
}

struct Icon {
    const char* file;
    Drawing paint;
};

QList<Icon> icons()
{
    QList<Icon> list;
    list << Icon{"open", [](QPainter& p) {
                     p.setPen(QPen(QColor(0xa0, 0x70, 0x10), 0.8));
                     p.setBrush(QColor(0xf4, 0xc4, 0x4a));
                     QPolygonF back;
                     back << QPointF(0.5, 3.5) << QPointF(5.5, 3.5) << QPointF(7, 5)
                          << QPointF(15.5, 5) << QPointF(15.5, 14.5) << QPointF(0.5, 14.5);
                     p.drawPolygon(back);
                     photo(p, QRectF(4.5, 1.5, 9, 7));
                     p.setPen(QPen(QColor(0xa0, 0x70, 0x10), 0.8));
                     p.setBrush(QColor(0xfb, 0xd8, 0x6c));
                     QPolygonF front;
                     front << QPointF(0.5, 14.5) << QPointF(2.5, 8) << QPointF(15.5, 8)
                           << QPointF(15.5, 14.5);
                     p.drawPolygon(front);
                 }};
    list << Icon{"save", [](QPainter& p) {
                     QPolygonF disk;
                     disk << QPointF(1.5, 1.5) << QPointF(12.5, 1.5) << QPointF(14.5, 3.5)
                          << QPointF(14.5, 14.5) << QPointF(1.5, 14.5);
                     p.setPen(QPen(QColor(0x10, 0x2a, 0x60), 1));
                     p.setBrush(QColor(0x2d, 0x5c, 0xb8));
                     p.drawPolygon(disk);
                     p.setPen(Qt::NoPen);
                     p.setBrush(QColor(0xe8, 0xe8, 0xe8));
                     p.drawRect(QRectF(4, 2, 7, 4.5));
                     p.setBrush(QColor(0x2d, 0x5c, 0xb8));
                     p.drawRect(QRectF(8.5, 2.8, 1.6, 3));
                     p.setBrush(Qt::white);
                     p.drawRect(QRectF(3.5, 9, 9, 5));
                 }};
    list << Icon{"rotate-left", leftTurn} << Icon{"rotate-right", nullptr};
    // The nudges: XPButton5 up, 6 down, 7 left, 8 right (title); 9 to 12 likewise (date).
    list << Icon{"title-up", nudge(0, true)} << Icon{"title-down", nudge(2, true)}
         << Icon{"title-left", nudge(3, true)} << Icon{"title-right", nudge(1, true)}
         << Icon{"date-up", nudge(0, false)} << Icon{"date-down", nudge(2, false)}
         << Icon{"date-left", nudge(3, false)} << Icon{"date-right", nudge(1, false)};
    list << Icon{"title-font", [](QPainter& p) {
                     letter(p, QStringLiteral("A"), QRectF(0, -1, 12, 14), kTitleBlue, 13, true,
                            false);
                     titleMark(p, QPointF(10, 10));
                 }};
    list << Icon{"date-font", [](QPainter& p) {
                     p.setPen(Qt::NoPen);
                     p.setBrush(QColor(0x20, 0x20, 0x20));
                     p.drawRoundedRect(QRectF(0.5, 0.5, 11, 13), 1.5, 1.5);
                     sevenSegmentEight(p, QRectF(2.5, 2.5, 7, 9), QColor(0xff, 0xff, 0x80));
                     dateMark(p, QPointF(9.6, 9.6));
                 }};
    list << Icon{"smaller", sizeSymbol(false)} << Icon{"larger", sizeSymbol(true)};
    list << Icon{"bold", [](QPainter& p) {
                     letter(p, QStringLiteral("B"), QRectF(0, 0, 16, 16), kInk, 15, true, false,
                            "DejaVu Sans");
                 }};
    list << Icon{"italic", [](QPainter& p) {
                     letter(p, QStringLiteral("I"), QRectF(0, 0, 16, 16), kInk, 15, false, true);
                 }};
    list << Icon{"colour", [](QPainter& p) {
                     p.setPen(QPen(kInk, 0.6));
                     const QColor c[] = {QColor(0xe8, 0x30, 0x30, 220),
                                         QColor(0x30, 0xb0, 0x40, 220),
                                         QColor(0x30, 0x60, 0xe8, 220)};
                     const QPointF at[] = {{5.5, 5.5}, {10.5, 5.5}, {8, 10.5}};
                     for (int i = 0; i < 3; ++i) {
                         p.setBrush(c[i]);
                         p.drawEllipse(at[i], 4.6, 4.6);
                     }
                 }};
    list << Icon{"defaults", [](QPainter& p) {
                     // Three sliders back at their marks.
                     for (int i = 0; i < 3; ++i) {
                         const qreal y = 3.5 + i * 4.5;
                         p.setPen(QPen(kInk, 1.2));
                         p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
                         p.setPen(QPen(kInk, 0.8));
                         p.setBrush(QColor(0xe0, 0xe8, 0xf8));
                         const qreal x = i == 1 ? 10 : 5;
                         p.drawRect(QRectF(x - 1.8, y - 2.2, 3.6, 4.4));
                     }
                 }};
    list << Icon{"about", [](QPainter& p) {
                     p.setPen(QPen(QColor(0x10, 0x40, 0x90), 0.8));
                     p.setBrush(QColor(0x2f, 0x74, 0xd8));
                     p.drawEllipse(QPointF(8, 8), 7.2, 7.2);
                     p.setPen(Qt::NoPen);
                     p.setBrush(Qt::white);
                     p.drawEllipse(QPointF(8, 4.6), 1.3, 1.3);
                     p.drawRect(QRectF(7, 6.8, 2, 5.6));
                 }};
    list << Icon{"homepage", [](QPainter& p) {
                     p.setPen(QPen(QColor(0x10, 0x50, 0x80), 0.9));
                     p.setBrush(QColor(0x4c, 0xa8, 0xe0));
                     p.drawEllipse(QPointF(8, 8), 7, 7);
                     p.setPen(QPen(QColor(0xf0, 0xf8, 0xff), 0.8));
                     p.setBrush(Qt::NoBrush);
                     p.drawEllipse(QPointF(8, 8), 3, 7);
                     p.drawLine(QPointF(1, 8), QPointF(15, 8));
                     p.drawLine(QPointF(8, 1), QPointF(8, 15));
                     p.drawLine(QPointF(2.3, 4.5), QPointF(13.7, 4.5));
                     p.drawLine(QPointF(2.3, 11.5), QPointF(13.7, 11.5));
                 }};
    list << Icon{"print", [](QPainter& p) {
                     p.setPen(QPen(kInk, 0.8));
                     p.setBrush(Qt::white);
                     p.drawRect(QRectF(4.5, 0.5, 7, 6));
                     p.setBrush(QColor(0x90, 0x98, 0xa8));
                     p.drawRoundedRect(QRectF(0.5, 5.5, 15, 7), 1.5, 1.5);
                     p.setBrush(Qt::white);
                     p.drawRect(QRectF(3.5, 9.5, 9, 6));
                     p.setPen(QPen(kInk, 0.6));
                     p.drawLine(QPointF(5, 12), QPointF(11, 12));
                     p.drawLine(QPointF(5, 14), QPointF(11, 14));
                     p.setPen(Qt::NoPen);
                     p.setBrush(QColor(0x30, 0xc0, 0x40));
                     p.drawEllipse(QPointF(13, 7.5), 0.9, 0.9);
                 }};
    return list;
}

// The buttons' pointer: an orange arrow with a dark outline, its hot spot at the tip (1, 1).
QImage drawCursor()
{
    return draw(
        [](QPainter& p) {
            QPolygonF arrow;
            arrow << QPointF(1, 1) << QPointF(1, 18) << QPointF(5.2, 14) << QPointF(8.4, 21)
                  << QPointF(11, 19.8) << QPointF(7.8, 13) << QPointF(13.5, 13);
            p.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            p.setBrush(kOrange);
            p.drawPolygon(arrow);
        },
        32);
}

}  // namespace

QList<std::pair<QString, QImage>> buttonPictures(int scale)
{
    QList<std::pair<QString, QImage>> pictures;
    for (const Icon& icon : icons()) {
        // A picture without its own drawing is the mirror of the one before it.
        const QImage picture =
            icon.paint ? draw(icon.paint, 16, scale) : pictures.last().second.mirrored(true, false);
        pictures.append({QLatin1String(icon.file), picture});
    }
    if (scale == 1) pictures.append({QStringLiteral("pointer"), drawCursor()});
    return pictures;
}

}  // namespace orvello::artwork
