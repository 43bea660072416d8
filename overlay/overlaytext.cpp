#include "overlay/overlaytext.h"

#include "overlay/glyphoutlines.h"
#include "overlay/overlayfonts.h"
#include "overlay/stampstyle.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace orvello {

namespace {

// Text laid out in one go must stay well inside the fixed-point range of the text engine
// (about 3·10⁷ pixels); longer text is laid out in pieces of about this width.
constexpr double kPieceWidthPixels = 4.0e6;

// The glyphs of run whose origin lies within margin of the canvas columns; the rest could not
// show, and leaving them out keeps every coordinate handed to the painter small.
bool keepVisibleGlyphs(QGlyphRun& run, QPointF origin, double width, double margin)
{
    const QList<quint32> indexes = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    QList<quint32> keptIndexes;
    QList<QPointF> keptPositions;
    for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i) {
        const double x = origin.x() + positions[i].x();
        if (x > -margin && x < width + margin) {
            keptIndexes << indexes[i];
            keptPositions << positions[i];
        }
    }
    if (keptIndexes.isEmpty()) return false;
    run.setGlyphIndexes(keptIndexes);
    run.setPositions(keptPositions);
    return true;
}

// The outline boxes of the glyphs of run, placed at origin.
QRectF glyphBoxes(const QGlyphRun& run, QPointF origin)
{
    const QRawFont font = run.rawFont();
    const QList<quint32> indexes = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    QHash<quint32, QRectF> boxes;
    QRectF all;
    for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i) {
        auto box = boxes.constFind(indexes[i]);
        if (box == boxes.cend()) box = boxes.insert(indexes[i], font.boundingRect(indexes[i]));
        if (!box->isNull()) all |= box->translated(origin + positions[i]);
    }
    return all;
}

// End of the next piece of text: at most maxChars on, moved back to a character boundary so
// that no cluster is split.
qsizetype pieceEnd(QTextBoundaryFinder& finder, qsizetype size, qsizetype start, qsizetype maxChars)
{
    if (size - start <= maxChars) return size;
    finder.setPosition(start + maxChars);
    if (finder.isAtBoundary()) return start + maxChars;
    const qsizetype back = finder.toPreviousBoundary();
    if (back > start) return back;
    finder.setPosition(start + maxChars);
    const qsizetype forward = finder.toNextBoundary();
    return forward > start ? forward : size;
}

// The outlines of the runs as one path, for the styles that follow the glyphs' shapes.
QPainterPath textOutlines(const std::vector<PreparedText::Run>& runs, int stretch)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const PreparedText::Run& run : runs) {
        if (const std::optional<QPainterPath> ours =
                glyphRunOutlines(run.glyphs, run.origin, stretch)) {
            path.addPath(*ours);
            continue;
        }
        // A face FreeType cannot read from its tables: Qt's own outlines.
        const QRawFont raw = run.glyphs.rawFont();
        const QList<quint32> indexes = run.glyphs.glyphIndexes();
        const QList<QPointF> positions = run.glyphs.positions();
        for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i)
            path.addPath(raw.pathForGlyph(indexes[i]).translated(run.origin + positions[i]));
    }
    return path;
}

}  // namespace

PreparedText prepareText(const QImage& canvas, const QFont& font, const QString& text,
                         QPointF topLeftTwips, StampStyle style)
{
    PreparedText prepared{{}, {}, text, font, topLeftTwips, style, {}};
    if (text.isEmpty()) return prepared;
    // Text is placed on whole pixels, as the twips position converts.
    const double x = std::nearbyint(topLeftTwips.x() / kTwipsPerPixel);
    const double y = std::nearbyint(topLeftTwips.y() / kTwipsPerPixel);
    if (!std::isfinite(x) || !std::isfinite(y)) return prepared;
    const double width = canvas.width();
    const double height = canvas.height();
    const double em = font.pixelSize();
    // Ink may reach beyond a glyph's advance (italics, bearings, marks), never by two ems.
    const double margin = 2 * em + 2;
    const QFontMetricsF metrics(font, &canvas);
    if (x - margin >= width || y - margin >= height || y + metrics.height() + margin <= 0)
        return prepared;

    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(Qt::LeftToRight);
    const qsizetype maxChars =
        std::max<qsizetype>(16, static_cast<qsizetype>(kPieceWidthPixels / em));

    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    QRectF ink;
    double penX = x;
    for (qsizetype start = 0; start < text.size() && penX - margin < width;) {
        const qsizetype end = pieceEnd(finder, text.size(), start, maxChars);
        QTextLayout layout(text.mid(start, end - start), font, &canvas);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        start = end;
        if (!line.isValid()) continue;
        const double advance = line.horizontalAdvance();
        if (penX + advance + margin > 0) {
            for (QGlyphRun run : line.glyphRuns()) {
                const QPointF origin(penX, y);
                if (!keepVisibleGlyphs(run, origin, width, margin)) continue;
                ink |= glyphBoxes(run, origin);
                prepared.runs.push_back({run, origin});
            }
        }
        penX += advance;
    }
    if (prepared.runs.empty() || ink.isNull()) return prepared;
    const QRectF cell(x, y, penX - x, metrics.height());
    if (style != StampStyle::Plain)
        prepared.layer = makeStyleLayer(style, textOutlines(prepared.runs, font.stretch()), cell,
                                        em, canvas.rect());
    // Outline boxes leave out what the rasteriser adds: anti-aliasing and hinting (a pixel or
    // two), a made-up bold (about an em/24) and a made-up italic's slant (a fifth of the height
    // above or below the baseline). A third of an em holds all of them with room to spare.
    const double slack = em / 3 + 4;
    const QRectF grown = styleExtent(style, ink, cell, em).adjusted(-slack, -slack, slack, slack);
    const QRectF bounded = grown & QRectF(0, 0, width, height);
    if (bounded.isEmpty()) return prepared;
    prepared.inkRect =
        QRect(QPoint(int(std::floor(bounded.left())), int(std::floor(bounded.top()))),
              QPoint(int(std::ceil(bounded.right())) - 1, int(std::ceil(bounded.bottom())) - 1));
    return prepared;
}

PreparedOverlay prepareOverlay(const QImage& canvas, const OverlayInput& input)
{
    PreparedOverlay overlay;
    const AppSettings& s = input.settings;
    const QString title = trimTitle(input.titleText);
    const bool drawDate = s.addDTB && !input.captureDateText.isEmpty();
    const bool drawTitle = s.addTXB && !title.isEmpty();
    if (!drawDate && !drawTitle) return overlay;

    const OverlayLayout layout = computeOverlayLayout(canvas.size(), input);
    const quint32 bgr = static_cast<quint32>(s.addForeColor) & 0xFFFFFFu;
    overlay.color = QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
    if (drawDate)
        overlay.date = prepareText(
            canvas, overlayFont(s.addFont, layout.fontPixels, s.addFontBold, s.addFontItalic),
            input.captureDateText, layout.dateTwips, input.dateStyle);
    if (drawTitle)
        overlay.title = prepareText(
            canvas, overlayFont(s.addFont2, layout.fontPixels, s.addFontBold, s.addFontItalic),
            title, layout.titleTwips, input.titleStyle);
    return overlay;
}

bool sameDrawing(const PreparedText& a, QColor colorA, const PreparedText& b, QColor colorB)
{
    if (a.runs.empty() && b.runs.empty()) return true;
    return a.runs.size() == b.runs.size() && colorA == colorB && a.text == b.text &&
           a.font == b.font && a.style == b.style && a.topLeftTwips.x() == b.topLeftTwips.x() &&
           a.topLeftTwips.y() == b.topLeftTwips.y();
}

void paintOverlay(QImage& canvas, const PreparedOverlay& overlay, const QRegion& clip)
{
    if (overlay.empty()) return;
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setPen(overlay.color);
    if (!clip.isNull()) painter.setClipRegion(clip);
    for (const PreparedText* text : {&overlay.date, &overlay.title}) {
        // An item whose ink lies outside the clip would change nothing.
        if (!clip.isNull() && !clip.intersects(text->inkRect)) continue;
        paintStyleLayer(painter, text->layer);
        for (const PreparedText::Run& run : text->runs)
            drawStampGlyphRun(painter, run.glyphs, run.origin, text->font.stretch());
    }
}

}  // namespace orvello
