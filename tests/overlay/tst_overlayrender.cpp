#include "app/startup.h"
#include "overlay/areascale.h"
#include "overlay/overlay.h"
#include "overlay/overlayfonts.h"
#include "overlay/overlaytext.h"

#include <QFontInfo>
#include <QGlyphRun>
#include <QPainter>
#include <QTextLayout>
#include <QtTest>
#include <cmath>
#include <limits>
#include <thread>

using namespace orvello;

Q_DECLARE_METATYPE(orvello::StampStyle)

namespace {

const QRgb kDarkGrey = qRgb(64, 64, 64);
const QString kDate = QStringLiteral("2007-12-10 14:30:00");
const QString kTitle = QStringLiteral("标题文字");

QImage photo(int w, int h, QRgb colour = kDarkGrey)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Bounding box of the pixels that differ from the photo, optionally within a region.
QRect inkBox(const QImage& canvas, const QImage& photo, QRect region = {})
{
    if (region.isNull()) region = canvas.rect();
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        const QRgb* c = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        const QRgb* p = reinterpret_cast<const QRgb*>(photo.constScanLine(y));
        for (int x = region.left(); x <= region.right(); ++x) {
            if ((c[x] & 0xFFFFFF) != (p[x] & 0xFFFFFF)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

int countColour(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

bool samePixels(const QImage& a, const QImage& b)
{
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

OverlayInput input(bool date, bool title, bool portrait = false)
{
    AppSettings s;
    s.addDTB = date;
    s.addTXB = title;
    return makeOverlayInput(s, kDate, kTitle, portrait);
}

QImage draw(const QImage& background, const OverlayInput& in)
{
    QImage canvas;
    DrawOverlay(canvas, background, in);
    return canvas;
}

}  // namespace

class OverlayRenderTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(loadDateFonts(QStringLiteral(ORVELLO_BIN_DIR))); }

    void landscapeDefaultsPlaceDateAndTitle()
    {
        const QImage bg = photo(3000, 2000);
        const OverlayLayout layout = computeOverlayLayout(bg.size(), input(true, true));
        QCOMPARE(layout.fontPoints, 60.0f);
        QCOMPARE(layout.fontPixels, 80);
        QCOMPARE(layout.dateTwips, QPointF(27000, 27300));
        QCOMPARE(layout.titleTwips, QPointF(2250, 2400));

        const QImage dateOnly = draw(bg, input(true, false));
        const QRect date = inkBox(dateOnly, bg);
        QVERIFY2(date.left() >= 1800 && date.left() <= 1800 + 20,
                 qPrintable(QString::number(date.left())));
        QVERIFY2(date.top() >= 1820 && date.top() <= 1820 + 40,
                 qPrintable(QString::number(date.top())));
        QVERIFY(date.width() > 400);  // nineteen characters of 80-pixel text
        QVERIFY(countColour(dateOnly, qRgb(255, 255, 128)) > 1000);

        const QImage both = draw(bg, input(true, true));
        const QRect title = inkBox(both, bg, QRect(0, 0, 1500, 1000));
        QVERIFY2(title.left() >= 150 && title.left() <= 150 + 20,
                 qPrintable(QString::number(title.left())));
        QVERIFY2(title.top() >= 160 && title.top() <= 160 + 40,
                 qPrintable(QString::number(title.top())));
        // The date is unchanged by the title.
        QCOMPARE(inkBox(both, bg, QRect(1500, 1000, 1500, 1000)), date);
    }

    // With the default settings the whole date-time stays on the photo, a margin of 1 % of the
    // width clear of every edge, on the usual landscape and portrait shapes and in every style;
    // and the blank between date and time shows as a gap of about a digit.
    void defaultDateFitsEveryShape_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        const QSize shapes[] = {{1800, 1200}, {1600, 1200}, {1920, 1080},
                                {1200, 1800}, {2000, 3000}, {1200, 1600}};
        for (const QSize& size : shapes)
            for (int style = 0; style < 4; ++style)
                QTest::addRow("%dx%d %s%s", size.width(), size.height(),
                              style & 1 ? "bold" : "regular", style & 2 ? " italic" : "")
                    << size << bool(style & 1) << bool(style & 2);
    }
    void defaultDateFitsEveryShape()
    {
        QFETCH(QSize, size);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        const QImage bg = photo(size.width(), size.height(), qRgb(0, 0, 0));
        AppSettings s;
        s.addFontBold = bold;
        s.addFontItalic = italic;
        // The widest date-time the capture date can give.
        const OverlayInput in =
            makeOverlayInput(s, QStringLiteral("2008-08-28 20:08:08"), {}, isPortraitCanvas(size));
        const QImage canvas = draw(bg, in);
        const QRect ink = inkBox(canvas, bg);
        QVERIFY(!ink.isNull());
        const int margin = (size.width() + 99) / 100;
        const QRect safe = bg.rect().adjusted(margin, margin, -margin, -margin);
        QVERIFY2(safe.contains(ink), qPrintable(QStringLiteral("ink %1,%2 %3x%4 outside %5x%6")
                                                    .arg(ink.x())
                                                    .arg(ink.y())
                                                    .arg(ink.width())
                                                    .arg(ink.height())
                                                    .arg(size.width())
                                                    .arg(size.height())));

        // The widest run of bare columns inside the ink is the blank, in the middle third.
        int widest = 0, widestAt = 0, run = 0;
        for (int x = ink.left(); x <= ink.right(); ++x) {
            bool bare = true;
            for (int y = ink.top(); y <= ink.bottom() && bare; ++y)
                bare = (canvas.pixel(x, y) & 0xFFFFFF) == 0;
            run = bare ? run + 1 : 0;
            if (run > widest) {
                widest = run;
                widestAt = x;
            }
        }
        const int em = computeOverlayLayout(size, in).fontPixels;
        QVERIFY2(widest >= em / 2,
                 qPrintable(QStringLiteral("gap %1 px, em %2").arg(widest).arg(em)));
        QVERIFY(widestAt > ink.left() + ink.width() / 3 &&
                widestAt < ink.right() - ink.width() / 3);
    }

    void portraitOffsetsApplyAtDrawingOnly()
    {
        const QImage bg = photo(2000, 3000);
        OverlayInput in = input(true, true, true);
        const OverlayLayout layout = computeOverlayLayout(bg.size(), in);
        QCOMPARE(layout.fontPoints, 60.0f);
        QCOMPARE(layout.dateTwips, QPointF(15300, 41850));
        QCOMPARE(layout.titleTwips, QPointF(1500, 2700));
        QCOMPARE(in.settings.addCurrentX, 60.0f);  // stored fields stay

        const QImage canvas = draw(bg, in);
        const QRect date = inkBox(canvas, bg, QRect(1000, 2000, 1000, 1000));
        QVERIFY(date.left() >= 1020 && date.left() <= 1040);
        QVERIFY(date.top() >= 2790 && date.top() <= 2830);
        const QRect title = inkBox(canvas, bg, QRect(0, 0, 1000, 1000));
        QVERIFY(title.left() >= 100 && title.left() <= 120);
        QVERIFY(title.top() >= 180 && title.top() <= 220);

        // A square canvas follows the landscape rules.
        const OverlayLayout square = computeOverlayLayout(QSize(2000, 2000), input(true, true));
        QCOMPARE(square.dateTwips, QPointF(18000, 27300));
    }

    void sizeScalesTextHeight()
    {
        const QImage bg = photo(3000, 2000);
        OverlayInput in = input(true, false);
        const int h2 = inkBox(draw(bg, in), bg).height();
        in.settings.addFontSize = 3.0f;
        QCOMPARE(computeOverlayLayout(bg.size(), in).fontPixels, 120);
        const int h3 = inkBox(draw(bg, in), bg).height();
        QVERIFY2(std::abs(double(h3) / h2 - 1.5) < 0.04,
                 qPrintable(QStringLiteral("%1 %2").arg(h2).arg(h3)));

        // Stored sizes outside the bounds draw clamped.
        QCOMPARE(drawnFontSize(0.0f), 0.1f);
        QCOMPARE(drawnFontSize(-7.0f), 0.1f);
        QCOMPARE(drawnFontSize(std::numeric_limits<float>::quiet_NaN()), 0.1f);
        QCOMPARE(drawnFontSize(1e30f), 100.0f);
        in.settings.addFontSize = -3.0f;
        QCOMPARE(computeOverlayLayout(bg.size(), in).fontPixels, 4);  // 0.1 % of 3000 px: 3 pt
    }

    void titleCutAtLeftEdge()
    {
        const QImage bg = photo(3000, 2000);
        OverlayInput in = input(false, true);
        const QRect full = inkBox(draw(bg, in), bg);
        in.settings.addCurrentX2 = -5.0f;
        const QRect cut = inkBox(draw(bg, in), bg);
        QCOMPARE(cut.left(), 0);
        QCOMPARE(cut.right(), full.right() - 300);
        QCOMPARE(cut.top(), full.top());
    }

    void styleTogglesAndColour()
    {
        const QImage bg = photo(1500, 1000);
        OverlayInput in = input(true, true);
        const QImage regular = draw(bg, in);
        in.settings.addFontBold = true;
        const QImage bold = draw(bg, in);
        in.settings.addFontBold = false;
        in.settings.addFontItalic = true;
        const QImage italic = draw(bg, in);
        QVERIFY(!samePixels(bold, regular));
        QVERIFY(!samePixels(italic, regular));
        QVERIFY(!samePixels(italic, bold));

        // Only the low 24 bits name the colour.
        in.settings.addFontItalic = false;
        in.settings.addForeColor = static_cast<qint32>(0x7F0000FF);
        const QImage red = draw(bg, in);
        QVERIFY(countColour(red, qRgb(255, 0, 0)) > 100);
        QCOMPARE(inkBox(red, bg), inkBox(regular, bg));
        in.settings.addForeColor = -1;
        QVERIFY(countColour(draw(bg, in), qRgb(255, 255, 255)) > 100);
    }

    void redrawLeavesNoTraceOfTheLastDrawing()
    {
        // One canvas through a sequence of redraws, as the window keeps it.
        const QImage wide = photo(1500, 1000);
        const QImage first = draw(wide, input(true, true));
        QImage canvas;
        DrawOverlay(canvas, wide, input(true, true));
        OverlayInput in = input(true, true);
        in.settings.addFontBold = true;
        DrawOverlay(canvas, wide, in);
        in.settings.addCurrentX += 3;
        DrawOverlay(canvas, wide, in);
        // A quarter turn and back: the portrait rules apply only while the canvas is tall.
        const QImage tall = wide.transformed(QTransform().rotate(90));
        DrawOverlay(canvas, tall, input(true, true, true));
        DrawOverlay(canvas, wide, input(true, true));
        QVERIFY(samePixels(canvas, first));
        // The photo itself is never drawn on.
        QCOMPARE(countColour(wide, kDarkGrey), 1500 * 1000);
        QCOMPARE(countColour(tall, kDarkGrey), 1500 * 1000);
    }

    void bothOffShowsBarePhoto()
    {
        const QImage bg = photo(3000, 2000, qRgb(10, 120, 200));
        QImage canvas;
        DrawOverlay(canvas, bg, input(true, true));
        QVERIFY(!samePixels(canvas, bg));
        DrawOverlay(canvas, bg, input(false, false));
        QVERIFY(samePixels(canvas, bg));
        // Items that are on but have nothing to show leave the photo bare too.
        AppSettings s;
        s.addTXB = true;
        DrawOverlay(canvas, bg, makeOverlayInput(s, QString(), QStringLiteral("    "), false));
        QVERIFY(samePixels(canvas, bg));

        const QImage preview = ShowPreview(canvas, false);
        QCOMPARE(preview.size(), QSize(482, 482));
        QCOMPARE(previewRectTwips(bg.size(), false, preview.size()), QRectF(0, 1205, 7230, 4820));
        const QRect r = previewRectPixels(bg.size(), false, preview.size());
        QCOMPARE(r, QRect(0, 80, 482, 322));
        for (int y : {0, 79, 402, 481}) QCOMPARE(preview.pixel(240, y), qRgb(0xE0, 0xE0, 0xE0));
        for (int y : {80, 240, 401})
            for (int x : {0, 481}) QCOMPARE(preview.pixel(x, y), qRgb(10, 120, 200));
    }

    void previewFitsPortraitAndSquare()
    {
        QCOMPARE(previewRectTwips(QSize(2000, 3000), true, QSize(482, 482)),
                 QRectF(1205, 0, 4820, 7230));
        const QImage portrait = ShowPreview(photo(2000, 3000, qRgb(0, 0, 255)), true);
        QCOMPARE(portrait.pixel(79, 240), qRgb(0xE0, 0xE0, 0xE0));
        QCOMPARE(portrait.pixel(81, 240), qRgb(0, 0, 255));
        QCOMPARE(portrait.pixel(240, 0), qRgb(0, 0, 255));
        const QImage square = ShowPreview(photo(700, 700, qRgb(0, 255, 0)), false);
        QCOMPARE(countColour(square, qRgb(0, 255, 0)), 482 * 482);
    }

    void previewIsAreaAverageOfCanvas()
    {
        // Thin lines a bilinear reduction would drop or double average out evenly.
        QImage lines = photo(4820, 1000, qRgb(0, 0, 0));
        for (int x = 0; x < lines.width(); x += 10)
            for (int y = 0; y < lines.height(); ++y) lines.setPixel(x, y, qRgb(250, 250, 250));
        const QImage preview = ShowPreview(lines, false);
        const QRect r = previewRectPixels(lines.size(), false, preview.size());
        for (int x = 0; x < 482; ++x) QCOMPARE(qRed(preview.pixel(x, r.center().y())), 25);

        // Three source pixels onto two: weights of two thirds and one third.
        QImage src(3, 1, QImage::Format_RGB32);
        src.setPixel(0, 0, qRgb(0, 0, 0));
        src.setPixel(1, 0, qRgb(90, 90, 90));
        src.setPixel(2, 0, qRgb(180, 180, 180));
        QImage dst(2, 1, QImage::Format_RGB32);
        areaScale(src, dst, dst.rect());
        QCOMPARE(dst.pixel(0, 0), qRgb(30, 30, 30));
        QCOMPARE(dst.pixel(1, 0), qRgb(150, 150, 150));

        // A rectangle reaching past the destination writes only its visible part.
        QImage small(10, 10, QImage::Format_RGB32);
        small.fill(qRgb(1, 2, 3));
        areaScale(photo(50, 50, qRgb(9, 9, 9)), small, QRect(-100, 5, 300, 300));
        QCOMPARE(small.pixel(0, 4), qRgb(1, 2, 3));
        QCOMPARE(small.pixel(9, 9), qRgb(9, 9, 9));
    }

    void emptyCanvasTakesTheTitle()
    {
        AppSettings s;
        s.addTXB = true;
        QImage canvas;
        DrawOverlay(canvas, QImage(),
                    makeOverlayInput(s, QString(), QStringLiteral("标题文字"), false));
        QCOMPARE(canvas.size(), QSize(49, 49));
        QVERIFY(inkBox(canvas, emptyCanvasPhoto()).isValid());
        const QImage preview = ShowPreview(canvas, false);
        QCOMPARE(countColour(preview, kPreviewBackColor), 0);  // the square fills the preview
        QVERIFY(countColour(preview, kEmptyCanvasColor) > 482 * 400);
    }

    void canvasKeepsDrawableFormats()
    {
        QImage argb(1500, 1000, QImage::Format_ARGB32);
        argb.fill(qRgb(64, 64, 64));
        QCOMPARE(draw(argb, input(true, false)).format(), QImage::Format_ARGB32);
        QImage rgb888(1500, 1000, QImage::Format_RGB888);
        rgb888.fill(qRgb(64, 64, 64));
        QCOMPARE(draw(rgb888, input(true, false)).format(), QImage::Format_RGB888);
        // Grey photos take coloured text, so they become colour.
        QImage grey(1500, 1000, QImage::Format_Grayscale8);
        grey.fill(64);
        const QImage canvas = draw(grey, input(true, false));
        QCOMPARE(canvas.format(), QImage::Format_RGB32);
        QVERIFY(countColour(canvas, qRgb(255, 255, 128)) > 0);
    }

    void facesResolve()
    {
        const struct {
            bool bold, italic;
            const char* style;
        } styles[] = {{false, false, "Regular"},
                      {true, false, "Bold"},
                      {false, true, "Italic"},
                      {true, true, "Bold Italic"}};
        for (const auto& st : styles) {
            const QFontInfo info(
                overlayFont(QStringLiteral("DigifaceWide"), 40, st.bold, st.italic));
            QCOMPARE(info.family(), QStringLiteral("DSEG7 Classic"));
            QCOMPARE(info.styleName(), QString::fromLatin1(st.style));
        }
        QVERIFY(QFontInfo(overlayFont(QStringLiteral("宋体"), 40, false, false))
                    .family()
                    .startsWith(QStringLiteral("AR PL UMing")));

        // Chinese in the seven-segment face comes from a CJK face, never from empty boxes.
        const QFont digits = overlayFont(QStringLiteral("DigifaceWide"), 40, false, false);
        QTextLayout layout(kTitle, digits);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        int glyphs = 0;
        for (const QGlyphRun& run : line.glyphRuns()) {
            for (quint32 g : run.glyphIndexes()) {
                QVERIFY(g != 0);
                ++glyphs;
            }
        }
        QCOMPARE(glyphs, 4);

        const QImage bg = photo(1500, 1000);
        AppSettings s;
        s.addDTB = false;
        s.addTXB = true;
        s.addFont2 = QStringLiteral("DigifaceWide");
        const QRect box = inkBox(draw(bg, makeOverlayInput(s, {}, kTitle, false)), bg);
        QVERIFY(box.width() > 4 * 20 && box.height() > 20);  // drawn condensed, like the digits
    }

    // Text above Qt's glyph-image size: the same pixels whatever the thread drew before (text at
    // other sizes and sub-pixel places), and the shapes Qt draws from a fresh start.
    void largeTextDependsOnlyOnItsInput()
    {
        const QImage bg = photo(1600, 700);
        AppSettings s;
        s.addTXB = s.addFontBold = s.addFontItalic = true;
        s.addFontSize = 6;  // 128 px
        const OverlayInput big = makeOverlayInput(s, kDate, QStringLiteral("夜景 Tokyo"), false);
        QImage qt = bg;
        std::thread([&] {
            const PreparedOverlay o = prepareOverlay(qt, big);
            QPainter painter(&qt);
            painter.setRenderHint(QPainter::TextAntialiasing);
            painter.setPen(o.color);
            for (const PreparedText* text : {&o.date, &o.title})
                for (const PreparedText::Run& run : text->runs)
                    painter.drawGlyphRun(run.origin, run.glyphs);
        }).join();
        const QImage first = draw(bg, big);
        QCOMPARE(inkBox(first, bg), inkBox(qt, bg));
        int worst = 0;
        for (int y = 0; y < bg.height(); ++y)
            for (int x = 0; x < bg.width(); ++x)
                worst =
                    std::max(worst, std::abs(qGreen(first.pixel(x, y)) - qGreen(qt.pixel(x, y))));
        QVERIFY2(worst < 40, qPrintable(QString::number(worst)));
        for (int size = 20; size <= 64; size += 3) {
            s.addFontSize = size / 20.0f;
            s.addCurrentX = s.addCurrentX2 = size / 7.0f;
            draw(photo(1601, 700), makeOverlayInput(s, kDate, QStringLiteral("夜景 Tokyo"), false));
            QVERIFY(samePixels(draw(bg, big), first));
        }
    }

    // Each style on a white and on a dark photo, with text drawn from outlines and from glyph
    // images: all it paints lies inside the item's ink rectangle (what a lossless copy encodes
    // again and a redraw restores), and on white the outline rings the text in dark pixels.
    void stylesStayInsideTheirInk_data()
    {
        QTest::addColumn<StampStyle>("style");
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<float>("size");
        for (StampStyle style :
             {StampStyle::Plain, StampStyle::Outline, StampStyle::Shadow, StampStyle::Plate}) {
            const QByteArray name = encodeStampStyle(style).toLatin1();
            QTest::newRow(name + " on white") << style << qRgb(255, 255, 255) << 5.0f;
            QTest::newRow(name + " on dark") << style << qRgb(10, 10, 30) << 1.5f;
        }
    }
    void stylesStayInsideTheirInk()
    {
        QFETCH(StampStyle, style);
        QFETCH(QRgb, colour);
        QFETCH(float, size);
        const QImage bg = photo(1600, 900, colour);
        AppSettings s;
        s.addTXB = true;
        s.addFontSize = size;
        OverlayInput in = makeOverlayInput(s, kDate, kTitle, false);
        const QImage plain = draw(bg, in);
        in.dateStyle = in.titleStyle = style;
        const QImage canvas = draw(bg, in);
        QCOMPARE(samePixels(canvas, plain), style == StampStyle::Plain);
        const PreparedOverlay o = prepareOverlay(canvas, in);
        QImage clipped = bg;
        paintOverlay(clipped, o, QRegion(o.date.inkRect) + o.title.inkRect);
        QVERIFY(samePixels(clipped, canvas));
        int dark = 0;
        const int text = countColour(canvas, qRgb(255, 255, 128));
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x) dark += qGray(canvas.pixel(x, y)) < 60;
        if (colour == qRgb(255, 255, 255))
            QVERIFY2((dark > text / 3) == (style == StampStyle::Outline),
                     qPrintable(QString::number(dark)));
    }

    void badInputStaysInsideAndEnds()
    {
        const QImage bg = photo(600, 400);
        AppSettings s;
        s.addTXB = true;
        auto render = [&](const QString& title) {
            QImage canvas;
            DrawOverlay(canvas, bg, makeOverlayInput(s, kDate, title, false));
            return canvas.size() == bg.size() ? canvas : QImage();
        };
        const QString longTitle = QStringLiteral("标题文字 Title ").repeated(2500);
        for (float size : {0.1f, 2.0f, 100.0f, 1e30f, -1e30f}) {
            s.addFontSize = size;
            QVERIFY(inkBox(render(longTitle), bg).isValid());
        }
        s.addFontSize = 2.0f;
        render(QString::fromUtf8("\xEE\x80\x80\xF4\x8F\xBF\xBD") + QChar(0xFFFF) + QChar(0xD800));
        s.addFont2 = QStringLiteral("No Such Face 123");
        QVERIFY(inkBox(render(QStringLiteral("Title")), bg).isValid());

        // Far outside, in any direction: nothing shows.
        const float far[] = {100.0f,
                             1e6f,
                             -1e6f,
                             1e30f,
                             -1e30f,
                             3.4e38f,
                             -3.4e38f,
                             std::numeric_limits<float>::infinity(),
                             std::numeric_limits<float>::quiet_NaN()};
        for (float p : far) {
            s.addCurrentX = s.addCurrentX2 = p;
            s.addCurrentY = s.addCurrentY2 = 50.0f;
            QVERIFY2(samePixels(render(longTitle), bg), qPrintable(QString::number(p)));
            s.addCurrentX = s.addCurrentX2 = 50.0f;
            s.addCurrentY = s.addCurrentY2 = p;
            if (p != 100.0f)
                QVERIFY2(samePixels(render(longTitle), bg), qPrintable(QString::number(p)));
        }
        // A long title far to the left still shows the part that reaches the canvas.
        s.addCurrentX2 = -200.0f;
        s.addCurrentY2 = 10.0f;
        QVERIFY(inkBox(render(longTitle), bg).isValid());
    }
};

QTEST_MAIN(OverlayRenderTest)
#include "tst_overlayrender.moc"
