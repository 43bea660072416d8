#include "buttonart.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <cmath>
#include <functional>

namespace orvello::artwork {

namespace {

const QColor kInk(0x20, 0x2a, 0x3a);
const QColor kTitleBlue(0x1f, 0x5f, 0xd0);
const QColor kDateGreen(0x1e, 0x8c, 0x3a);
const QColor kOrange(0xf0, 0x8a, 0x10);

using Drawing = std::function<void(QPainter&)>;

QImage draw(const Drawing& paint, int size = 16)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paint(p);
    return img;
}

// A block arrow pointing up inside box, turned by quarter turns (0 up, 1 right, 2 down, 3 left).
void blockArrow(QPainter& p, const QRectF& box, int quarterTurns, const QColor& colour)
{
    const qreal w = box.width(), h = box.height();
    QPolygonF arrow;
    arrow << QPointF(w / 2, 0) << QPointF(w, h * 0.5) << QPointF(w * 0.68, h * 0.5)
          << QPointF(w * 0.68, h) << QPointF(w * 0.32, h) << QPointF(w * 0.32, h * 0.5)
          << QPointF(0, h * 0.5);
    QTransform t;
    t.translate(box.center().x(), box.center().y());
    t.rotate(90.0 * quarterTurns);
    t.translate(-w / 2, -h / 2);
    p.setPen(QPen(colour.darker(150), 1));
    p.setBrush(colour);
    p.drawPolygon(t.map(arrow));
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

// A nudge: the arrow of the direction, with the mark of the item it moves in a free corner.
Drawing nudge(int quarterTurns, bool title)
{
    return [=](QPainter& p) {
        blockArrow(p, QRectF(0.5, 0.5, 11, 11), quarterTurns, title ? kTitleBlue : kDateGreen);
        if (title)
            titleMark(p, QPointF(10, 10));
        else
            dateMark(p, QPointF(9.6, 9.6));
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

// A circular arrow around a photo: counter-clockwise for the left turn, clockwise for the right.
Drawing rotation(bool left)
{
    return [=](QPainter& p) {
        photo(p, QRectF(4.5, 5.5, 7, 5));
        const QPointF c(8, 8);
        const qreal r = 6.3;
        const qreal start = left ? 300 : 240, span = left ? 250 : -250;
        QPainterPath arc;
        arc.arcMoveTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), start);
        arc.arcTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), start, span);
        p.setPen(QPen(kOrange.darker(120), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(arc);
        const qreal a = (start + span) * M_PI / 180;
        const QPointF end = c + QPointF(std::cos(a), -std::sin(a)) * r;
        QPointF t(-std::sin(a), -std::cos(a));  // direction of travel counter-clockwise
        if (!left) t = -t;
        const QPointF n(-t.y(), t.x());
        QPolygonF head;
        head << end + t * 3.0 << end + n * 2.8 - t * 0.6 << end - n * 2.8 - t * 0.6;
        p.setPen(Qt::NoPen);
        p.setBrush(kOrange.darker(120));
        p.drawPolygon(head);
    };
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

void smallArrow(QPainter& p, bool up, const QColor& colour)
{
    QPolygonF tri;
    if (up)
        tri << QPointF(12.5, 1) << QPointF(16, 6) << QPointF(9, 6);
    else
        tri << QPointF(12.5, 6) << QPointF(16, 1) << QPointF(9, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(tri);
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
    list << Icon{"rotate-left", rotation(true)} << Icon{"rotate-right", rotation(false)};
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
    list << Icon{"smaller", [](QPainter& p) {
                     letter(p, QStringLiteral("A"), QRectF(0, 6, 10, 10), kInk, 9, true, false);
                     smallArrow(p, false, QColor(0xc0, 0x30, 0x30));
                 }};
    list << Icon{"larger", [](QPainter& p) {
                     letter(p, QStringLiteral("A"), QRectF(-1, 1, 13, 16), kInk, 15, true, false);
                     smallArrow(p, true, QColor(0x20, 0x90, 0x30));
                 }};
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

QList<std::pair<QString, QImage>> buttonPictures()
{
    QList<std::pair<QString, QImage>> pictures;
    for (const Icon& icon : icons()) pictures.append({QLatin1String(icon.file), draw(icon.paint)});
    pictures.append({QStringLiteral("pointer"), drawCursor()});
    return pictures;
}

}  // namespace orvello::artwork
