#include "xpbutton/raster/drawtext.h"

#include "xpbutton/raster/devicelayer.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <algorithm>

namespace orvello::raster {

namespace {

struct Line {
    QString text;
    qsizetype underline = -1;  // index of the access-key character in text, or -1
};

// Takes the "&" markers out of a paragraph: "&&" becomes "&", "&x" underlines x.
Line stripPrefixes(const QString& paragraph, bool prefixes)
{
    if (!prefixes) return {paragraph, -1};
    Line out;
    out.text.reserve(paragraph.size());
    for (qsizetype i = 0; i < paragraph.size(); ++i) {
        if (paragraph[i] == u'&' && i + 1 < paragraph.size()) {
            ++i;
            if (paragraph[i] != u'&') out.underline = out.text.size();
        } else if (paragraph[i] == u'&') {
            continue;  // a closing "&" shows nothing
        }
        out.text.append(paragraph[i]);
    }
    return out;
}

QString withoutTrailingSpaces(const QString& s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1].isSpace()) --n;
    return s.left(n);
}

// Breaks one paragraph into lines no wider than width where the line-break rules of its script
// allow; a piece that is wider by itself keeps a line of its own.
QList<Line> wrap(const Line& paragraph, const QFontMetrics& fm, qint64 width)
{
    QList<Line> lines;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, paragraph.text);
    qsizetype start = 0, lineStart = 0;
    const auto flush = [&](qsizetype end) {
        Line l{withoutTrailingSpaces(paragraph.text.mid(lineStart, end - lineStart)), -1};
        if (paragraph.underline >= lineStart && paragraph.underline < lineStart + l.text.size())
            l.underline = paragraph.underline - lineStart;
        lines.append(l);
        lineStart = end;
    };
    while (finder.toNextBoundary() != -1) {
        const qsizetype end = finder.position();
        // The line as it would stand with this piece, measured whole (kerning included).
        const QString candidate = paragraph.text.mid(lineStart, end - lineStart);
        if (lineStart < start && fm.horizontalAdvance(withoutTrailingSpaces(candidate)) > width)
            flush(start);
        start = end;
    }
    flush(paragraph.text.size());
    return lines;
}

QList<Line> layoutLines(const QString& text, const QFontMetrics& fm, const QRect& rect,
                        unsigned format)
{
    const bool prefixes = !(format & DT_NOPREFIX);
    QStringList paragraphs;
    if (format & DT_SINGLELINE)
        paragraphs << QString(text).replace(u'\r', u' ').replace(u'\n', u' ');
    else
        paragraphs = QString(text)
                         .replace(QLatin1String("\r\n"), QLatin1String("\n"))
                         .replace(u'\r', u'\n')
                         .split(u'\n');
    QList<Line> lines;
    for (const QString& p : paragraphs) {
        const Line stripped = stripPrefixes(p, prefixes);
        if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE))
            lines += wrap(stripped, fm, std::max(rect.width(), 0));
        else
            lines.append(stripped);
    }
    return lines;
}

// The text colour over the colour under it, by coverage 0..255.
ColorRef blend(ColorRef text, ColorRef under, quint32 coverage)
{
    ColorRef out = 0;
    for (int shift : {0, 8, 16}) {
        const quint32 t = text >> shift & 0xFF, u = under >> shift & 0xFF;
        out |= ((t * coverage + u * (255 - coverage) + 127) / 255) << shift;
    }
    return out;
}

// Draws one line's glyphs as the font's style strategy asks (from a bitmap strike, or smoothed):
// they are rendered into a scratch mask of the visible part only, and each covered pixel takes
// the text colour in proportion to its coverage. A monochrome bitmap takes whole pixels.
void drawLine(BufferDC& dc, const Line& line, const QFontMetrics& fm, qint64 x, qint64 y,
              const QRect& clip)
{
    const qint64 w = fm.horizontalAdvance(line.text);
    const QRect box = QRect(int(std::clamp<qint64>(x, INT_MIN / 4, INT_MAX / 4)),
                            int(std::clamp<qint64>(y, INT_MIN / 4, INT_MAX / 4)),
                            int(std::min<qint64>(w, INT_MAX / 4)), fm.height());
    const QRect visible = box.intersected(clip).intersected(QRect(0, 0, dc.width(), dc.height()));
    if (visible.isEmpty()) return;
    if (dc.bkMode == OPAQUE)
        for (int py = visible.top(); py <= visible.bottom(); ++py)
            for (int px = visible.left(); px <= visible.right(); ++px) dc.plot(px, py, dc.bkColor);
    if (dc.deferToDevice()) {
        DeviceItem item;
        item.text = line.text;
        item.font = dc.font;
        item.color = dc.textColor;
        item.baseline = QPointF(box.x(), box.y() + fm.ascent());
        item.clip = visible;
        if (line.underline >= 0) {
            const int ux = fm.horizontalAdvance(line.text.left(line.underline));
            const int uw = fm.horizontalAdvance(line.text.mid(line.underline, 1));
            const int thick = std::max(fm.lineWidth(), 1);
            const int uy =
                std::min(fm.ascent() + std::max(fm.underlinePos(), 1), fm.height() - thick);
            item.underline = QRect(box.x() + ux, box.y() + uy, uw, thick);
        }
        dc.deviceItems->append(item);
        return;
    }
    QImage mask(visible.size(), QImage::Format_ARGB32);
    mask.fill(0);
    {
        QPainter p(&mask);
        QFont font = dc.font;
        if (dc.monochrome())
            font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::NoAntialias));
        p.setFont(font);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::black);
        p.drawText(QPointF(box.x() - visible.x(), box.y() - visible.y() + fm.ascent()), line.text);
        if (line.underline >= 0) {
            const int ux = fm.horizontalAdvance(line.text.left(line.underline));
            const int uw = fm.horizontalAdvance(line.text.mid(line.underline, 1));
            // Under the baseline, but inside the line's cell, as the glyph cell holds it.
            const int thick = std::max(fm.lineWidth(), 1);
            const int uy =
                std::min(fm.ascent() + std::max(fm.underlinePos(), 1), fm.height() - thick);
            p.fillRect(box.x() - visible.x() + ux, box.y() - visible.y() + uy, uw, thick,
                       Qt::black);
        }
    }
    for (int py = 0; py < mask.height(); ++py) {
        const auto* row = reinterpret_cast<const quint32*>(mask.constScanLine(py));
        for (int px = 0; px < mask.width(); ++px) {
            const int x = visible.x() + px, y = visible.y() + py;
            const quint32 coverage = row[px] >> 24;
            if (coverage == 255 || (dc.monochrome() && coverage >= 128))
                dc.plot(x, y, dc.textColor);
            else if (coverage > 0 && dc.drawable(x, y))
                dc.plot(x, y, blend(dc.textColor, fromArgb(dc.rawPixel(x, y)), coverage));
        }
    }
}

}  // namespace

int DrawTextA(BufferDC& dc, const QString& text, QRect& rect, unsigned format)
{
    const QFontMetrics fm(dc.font);
    const QList<Line> lines = layoutLines(text, fm, rect, format);
    const qint64 lineHeight = fm.height();
    const qint64 height = lineHeight * lines.size();
    if (format & DT_CALCRECT) {
        qint64 widest = 0;
        for (const Line& l : lines) widest = std::max<qint64>(widest, fm.horizontalAdvance(l.text));
        rect.setWidth(int(std::min<qint64>(widest, INT_MAX / 4)));
        rect.setHeight(int(std::min<qint64>(height, INT_MAX / 4)));
        return int(std::min<qint64>(height, INT_MAX / 4));
    }
    const QRect clip = (format & DT_NOCLIP) ? QRect(0, 0, dc.width(), dc.height()) : rect;
    qint64 y = rect.y();
    for (const Line& l : lines) {
        if (y >= qint64(clip.y()) + clip.height() || y >= dc.height()) break;
        if (y + lineHeight > clip.y()) {
            const qint64 w = fm.horizontalAdvance(l.text);
            qint64 x = rect.x();
            if (format & DT_RIGHT)
                x = qint64(rect.x()) + rect.width() - w;
            else if (format & DT_CENTER)
                x = rect.x() + (qint64(rect.width()) - w) / 2;
            drawLine(dc, l, fm, x, y, clip);
        }
        y += lineHeight;
    }
    return int(std::min<qint64>(height, INT_MAX / 4));
}

}  // namespace orvello::raster
