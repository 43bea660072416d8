// The raster layer under the button, pixel by pixel: GDI's line and rectangle ends, region
// building, raster operations with the monochrome conversions, text and the focus frame.
#include "xpbutton/raster/blit.h"
#include "xpbutton/raster/bufferdc.h"
#include "xpbutton/raster/devicelayer.h"
#include "xpbutton/raster/drawtext.h"
#include "xpbutton/raster/region.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QSet>
#include <QtTest>

using namespace orvello::raster;

namespace {

constexpr ColorRef kRed = 0x0000FF, kWhite = 0xFFFFFF, kBlack = 0;

// The pixels of dc that are not the background colour bg, as "x,y" texts.
QSet<QPoint> painted(const BufferDC& dc, ColorRef bg = kBlack)
{
    QSet<QPoint> out;
    for (int y = 0; y < dc.height(); ++y)
        for (int x = 0; x < dc.width(); ++x)
            if (dc.GetPixel(x, y) != bg) out.insert(QPoint(x, y));
    return out;
}

QSet<QPoint> pixelsOf(const Region& r)
{
    QSet<QPoint> out;
    for (const QRect& run : r.pixels())
        for (int y = run.top(); y <= run.bottom(); ++y)
            for (int x = run.left(); x <= run.right(); ++x) out.insert(QPoint(x, y));
    return out;
}

QSet<QPoint> points(std::initializer_list<QPoint> list)
{
    return QSet<QPoint>(list.begin(), list.end());
}

}  // namespace

class RasterTest : public QObject {
    Q_OBJECT

private slots:
    void linesLeaveOutTheirLastPoint_data()
    {
        QTest::addColumn<QList<QPoint>>("line");
        QTest::addColumn<QSet<QPoint>>("expected");
        QTest::newRow("horizontal")
            << QList<QPoint>{{1, 1}, {4, 1}} << points({{1, 1}, {2, 1}, {3, 1}});
        QTest::newRow("vertical up")
            << QList<QPoint>{{2, 3}, {2, 0}} << points({{2, 3}, {2, 2}, {2, 1}});
        QTest::newRow("45 degrees")
            << QList<QPoint>{{0, 0}, {3, 3}} << points({{0, 0}, {1, 1}, {2, 2}});
        QTest::newRow("corner drawn once by the next segment")
            << QList<QPoint>{{0, 0}, {2, 0}, {2, 2}} << points({{0, 0}, {1, 0}, {2, 0}, {2, 1}});
        QTest::newRow("single point draws nothing")
            << QList<QPoint>{{1, 1}, {1, 1}} << QSet<QPoint>();
        QTest::newRow("clipped to the surface") << QList<QPoint>{{-3, 0}, {100000, 0}}
                                                << points({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}});
    }
    void linesLeaveOutTheirLastPoint()
    {
        QFETCH(QList<QPoint>, line);
        QFETCH(QSet<QPoint>, expected);
        BufferDC dc(5, 5);
        dc.pen = Pen{kRed, 1, PS_SOLID};
        dc.Polyline(line);
        QCOMPARE(painted(dc), expected);
    }

    void rectangleOutlineAndFill()
    {
        BufferDC dc(6, 5);
        dc.pen = Pen{kRed, 1, PS_SOLID};
        dc.brush = Brush{kWhite};
        dc.Rectangle(1, 1, 5, 4);  // pixels 1..4 by 1..3
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x) {
                const bool inside = x >= 1 && x <= 4 && y >= 1 && y <= 3;
                const bool edge = inside && (x == 1 || x == 4 || y == 1 || y == 3);
                const ColorRef want = !inside ? kBlack : edge ? kRed : kWhite;
                QVERIFY2(dc.GetPixel(x, y) == want,
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
    }

    void regions()
    {
        QCOMPARE(pixelsOf(Region::rect(0, 0, 3, 2)),
                 points({{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}}));
        // A polygon equal to a rectangle covers what the rectangle covers.
        QCOMPARE(Region::polygon({{0, 0}, {0, 4}, {5, 4}, {5, 0}}), Region::rect(0, 0, 5, 4));
        // A 45-degree left edge starts row y at x = y.
        const Region slant = Region::polygon({{0, 0}, {4, 4}, {6, 4}, {6, 0}});
        for (int y = 0; y < 4; ++y) {
            QVERIFY(!slant.contains(y - 1, y));
            QVERIFY(slant.contains(y, y));
            QVERIFY(slant.contains(5, y));
            QVERIFY(!slant.contains(6, y));
        }
        // Winding fill: a loop traced twice in the same direction is still filled once; the
        // overlap of two same-direction squares is inside.
        const Region twice =
            Region::polygon({{0, 0}, {0, 3}, {3, 3}, {3, 0}, {0, 0}, {0, 3}, {3, 3}, {3, 0}});
        QCOMPARE(twice, Region::rect(0, 0, 3, 3));
        const Region ell = Region::ellipse(0, 0, 11, 7);  // a 10 × 6 control
        QCOMPARE(ell.bounds(), QRect(0, 0, 10, 6));
        QVERIFY(!ell.contains(0, 0) && !ell.contains(9, 5));
        for (const QPoint& p : pixelsOf(ell)) QVERIFY(ell.contains(9 - p.x(), 5 - p.y()));
        const Region cut = Region::rect(0, 0, 4, 4).minus(Region::rect(0, 0, 1, 1));
        QCOMPARE(pixelsOf(cut).size(), 15);
        QVERIFY(!cut.contains(0, 0));
        QCOMPARE(
            Region::combine(Region::rect(0, 0, 2, 1), Region::rect(1, 0, 3, 1), CombineMode::And),
            Region::rect(1, 0, 2, 1));
    }

    void clipRegionLimitsDrawing()
    {
        BufferDC dc(4, 4);
        dc.selectClipRgn(Region::rect(1, 1, 3, 3));
        dc.pen = Pen{kRed, 1, PS_SOLID};
        dc.brush = Brush{kRed};
        dc.Rectangle(0, 0, 4, 4);
        QCOMPARE(painted(dc), points({{1, 1}, {2, 1}, {1, 2}, {2, 2}}));
    }

    void rasterOperations_data()
    {
        QTest::addColumn<quint32>("rop");
        QTest::addColumn<quint32>("pattern");
        QTest::addColumn<quint32>("source");
        QTest::addColumn<quint32>("dest");
        QTest::addColumn<quint32>("result");
        QTest::newRow("SRCCOPY") << quint32(SRCCOPY) << 0u << 0x123456u << 0xABCDEFu << 0x123456u;
        QTest::newRow("SRCAND") << quint32(SRCAND) << 0u << 0x0F0F0Fu << 0xFF00FFu << 0x0F000Fu;
        QTest::newRow("SRCPAINT") << quint32(SRCPAINT) << 0u << 0x0F0F0Fu << 0xF000F0u << 0xFF0FFFu;
        QTest::newRow("WHITENESS") << quint32(WHITENESS) << 0u << 0u << 0x123456u << 0xFFFFFFu;
        QTest::newRow("DSna") << ROP_DSna << 0u << 0xFFFF00u << 0x123456u << 0x000056u;
        QTest::newRow("PSDPxax where source white")
            << ROP_PSDPxax << 0x445566u << 0xFFFFFFu << 0x123456u << 0x123456u;
        QTest::newRow("PSDPxax where source black")
            << ROP_PSDPxax << 0x445566u << 0u << 0x123456u << 0x445566u;
    }
    void rasterOperations()
    {
        QFETCH(quint32, rop);
        QFETCH(quint32, pattern);
        QFETCH(quint32, source);
        QFETCH(quint32, dest);
        QFETCH(quint32, result);
        QCOMPARE(applyRop(rop, pattern, source, dest), result);
    }

    // The transparent copy's three steps: a monochrome mask keyed by the background colour,
    // the source blackened where transparent, then AND and OR onto the destination.
    void maskedCopyKeepsTheDestinationBehindTheKey()
    {
        const ColorRef magenta = 0xFF00FF, green = 0x00FF00, face = 0x808080;
        BufferDC src(2, 1);
        src.SetPixel(0, 0, magenta);
        src.SetPixel(1, 0, green);
        src.bkColor = magenta;
        BufferDC mask(2, 1, true);
        BitBlt(mask, 0, 0, 2, 1, &src, 0, 0, SRCCOPY);
        QCOMPARE(mask.GetPixel(0, 0), kWhite);
        QCOMPARE(mask.GetPixel(1, 0), kBlack);
        src.textColor = kBlack;
        src.bkColor = kWhite;
        BitBlt(src, 0, 0, 2, 1, &mask, 0, 0, ROP_DSna);
        QCOMPARE(src.GetPixel(0, 0), kBlack);
        BufferDC dst(2, 1);
        dst.brush = Brush{face};
        dst.PatBlt(0, 0, 2, 1, PATCOPY);
        BitBlt(dst, 0, 0, 2, 1, &mask, 0, 0, SRCAND);
        BitBlt(dst, 0, 0, 2, 1, &src, 0, 0, SRCPAINT);
        QCOMPARE(dst.GetPixel(0, 0), face);
        QCOMPARE(dst.GetPixel(1, 0), green);
    }

    void stretchTakesTheNearestPixel()
    {
        BufferDC src(2, 1);
        src.SetPixel(0, 0, kRed);
        src.SetPixel(1, 0, kWhite);
        BufferDC dst(4, 2);
        StretchBlt(dst, 0, 0, 4, 2, &src, 0, 0, 2, 1, SRCCOPY);
        for (int y = 0; y < 2; ++y) {
            QCOMPARE(dst.GetPixel(1, y), kRed);
            QCOMPARE(dst.GetPixel(2, y), kWhite);
        }
        QVERIFY(CopyImage(QImage(), IMAGE_BITMAP, 4, 4).isNull());
        QVERIFY(CopyImage(src.bitmap(), IMAGE_BITMAP, 0, 4).isNull());
        QCOMPARE(CopyImage(src.bitmap(), IMAGE_BITMAP, 4, 3).size(), QSize(4, 3));
    }

    // On a scaled screen each of the five edge pixels on every side (rings and focus mark) is
    // the same whole number of device pixels, never more than plain scaling gives.
    void enlargingKeepsEdgesEven_data()
    {
        QTest::addColumn<qreal>("scale");
        QTest::addColumn<int>("perPixel");
        QTest::newRow("1.25") << 1.25 << 1;
        QTest::newRow("1.5") << 1.5 << 1;
        QTest::newRow("2") << 2.0 << 2;
        QTest::newRow("2.5") << 2.5 << 2;
    }
    void enlargingKeepsEdgesEven()
    {
        QFETCH(qreal, scale);
        QFETCH(int, perPixel);
        QImage bitmap(25, 23, QImage::Format_RGB32);
        for (int y = 0; y < bitmap.height(); ++y)
            for (int x = 0; x < bitmap.width(); ++x) bitmap.setPixel(x, y, qRgb(x, y, 0));
        const QImage device = orvello::raster::enlargeKeepingEdges(bitmap, scale, 5);
        QCOMPARE(device.size(), QSize(qRound(25 * scale), qRound(23 * scale)));
        QCOMPARE(device.devicePixelRatio(), scale);
        QList<int> wide(25), high(23);
        for (int x = 0; x < device.width(); ++x) ++wide[qRed(device.pixel(x, 0))];
        for (int y = 0; y < device.height(); ++y) ++high[qGreen(device.pixel(0, y))];
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(wide[i], perPixel);
            QCOMPARE(wide[24 - i], perPixel);
            QCOMPARE(high[i], perPixel);
            QCOMPARE(high[22 - i], perPixel);
        }
        QVERIFY(!wide.contains(0) && !high.contains(0));  // nothing inside is lost
    }

    void focusRectIsDottedAndInverting()
    {
        BufferDC dc(6, 5);
        dc.DrawFocusRect(QRect(0, 0, 6, 5));
        const QSet<QPoint> first = painted(dc);
        QVERIFY(first.contains(QPoint(0, 0)) && !first.contains(QPoint(1, 0)) &&
                first.contains(QPoint(2, 0)) && first.contains(QPoint(4, 4)) &&
                first.contains(QPoint(0, 2)) && !first.contains(QPoint(0, 3)));
        QVERIFY(!first.contains(QPoint(2, 2)));  // the inside is untouched
        dc.DrawFocusRect(QRect(0, 0, 6, 5));
        QVERIFY(painted(dc).isEmpty());
    }

    void arcStaysInItsBoxAndIsSymmetric()
    {
        BufferDC dc(12, 8);
        dc.pen = Pen{kRed, 1, PS_SOLID};
        dc.Arc(0, 0, 11, 7, 0, 0, 0, 0);
        const QSet<QPoint> px = painted(dc);
        QVERIFY(!px.isEmpty());
        for (const QPoint& p : px) {
            QVERIFY(p.x() <= 10 && p.y() <= 6);
            QVERIFY(px.contains(QPoint(10 - p.x(), 6 - p.y())));
        }
        QVERIFY(!px.contains(QPoint(5, 3)));  // an outline, not a fill
    }

    void textLinesPrefixesAndNoAntialiasing()
    {
        BufferDC dc(200, 60);
        dc.font = QFont(QStringLiteral("DejaVu Sans"));
        dc.font.setPixelSize(12);
        dc.font.setStyleStrategy(QFont::NoAntialias);
        const QFontMetrics fm(dc.font);
        QRect r(0, 0, 200, 60);
        QCOMPARE(DrawTextA(dc, QStringLiteral("A\r\nB"), r, DT_CALCRECT | DT_WORDBREAK),
                 2 * fm.height());
        QRect amp(0, 0, 200, 60);
        DrawTextA(dc, QStringLiteral("a&&b"), amp, DT_CALCRECT);
        QCOMPARE(amp.width(), fm.horizontalAdvance(QStringLiteral("a&b")));
        QRect words(0, 0, fm.horizontalAdvance(QStringLiteral("word word")) - 1, 60);
        DrawTextA(dc, QStringLiteral("word word"), words, DT_CALCRECT | DT_WORDBREAK);
        QCOMPARE(words.height(), 2 * fm.height());
        QRect longWord(0, 0, 5, 60);
        DrawTextA(dc, QStringLiteral("unbreakable"), longWord, DT_CALCRECT | DT_WORDBREAK);
        QCOMPARE(longWord.width(), fm.horizontalAdvance(QStringLiteral("unbreakable")));

        dc.bkMode = TRANSPARENT;
        dc.textColor = kWhite;
        QRect box(10, 10, 180, 40);
        DrawTextA(dc, QStringLiteral("&File"), box, DT_LEFT);
        const QSet<QPoint> px = painted(dc);
        QVERIFY(!px.isEmpty());
        for (const QPoint& p : px) {
            QCOMPARE(dc.GetPixel(p.x(), p.y()), kWhite);  // two colours only
            QVERIFY(box.contains(p));
        }
        // The access key's underline is a row of pixels under the "F" below the baseline.
        const int fw = fm.horizontalAdvance(u'F');
        int underlined = 0;
        for (int y = 10 + fm.ascent() + 1; y < 10 + fm.height(); ++y) {
            int run = 0;
            for (int x = 10; x < 10 + fw; ++x) run += dc.GetPixel(x, y) == kWhite;
            underlined = std::max(underlined, run);
        }
        QVERIFY(underlined >= fw - 1);
    }

    // Smoothed text lies over what is under it: every pixel it touches is a mix of the text and
    // background colours, some of them neither; text on a monochrome bitmap stays two-coloured.
    void smoothedTextBlendsWithWhatLiesUnder()
    {
        BufferDC dc(120, 30);
        dc.brush = Brush{kRed};
        dc.pen = Pen{kRed, 1, PS_SOLID};
        dc.Rectangle(0, 0, 120, 30);
        dc.font = QFont(QStringLiteral("DejaVu Sans"));
        dc.font.setPixelSize(17);
        dc.font.setStyleStrategy(QFont::PreferAntialias);
        dc.bkMode = TRANSPARENT;
        dc.textColor = 0xFF0000;  // blue
        QRect box(4, 4, 116, 26);
        DrawTextA(dc, QStringLiteral("Ag wo"), box, DT_LEFT);
        int mixed = 0, full = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 120; ++x) {
                const ColorRef c = dc.GetPixel(x, y);
                QCOMPARE(c & 0x00FF00, 0u);                     // no green from anywhere
                QCOMPARE((c & 0xFF) + (c >> 16 & 0xFF), 255u);  // red + blue: one mix
                mixed += c != kRed && c != 0xFF0000;
                full += c == 0xFF0000;
            }
        QVERIFY(mixed > 0 && full > 0);

        BufferDC mono(60, 30, true);
        mono.brush = Brush{0xFFFFFF};
        mono.pen = Pen{0xFFFFFF, 1, PS_SOLID};
        mono.Rectangle(0, 0, 60, 30);
        mono.font = dc.font;
        mono.bkMode = TRANSPARENT;
        mono.textColor = 0;
        QRect monoBox(2, 2, 58, 28);
        DrawTextA(mono, QStringLiteral("Ag"), monoBox, DT_LEFT);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 60; ++x)
                QVERIFY(mono.GetPixel(x, y) == 0 || mono.GetPixel(x, y) == 0xFFFFFF);
    }

    void nothingHappensWithoutABitmap()
    {
        BufferDC dc(0, 0);
        dc.Rectangle(0, 0, 10, 10);
        dc.Polyline({{0, 0}, {5, 5}});
        dc.Arc(0, 0, 4, 4, 0, 0, 0, 0);
        QRect r(0, 0, 10, 10);
        DrawTextA(dc, QStringLiteral("x"), r, DT_LEFT);
        dc.DrawFocusRect(QRect(0, 0, 4, 4));
        QVERIFY(dc.bitmap().isNull());
    }
};

QTEST_MAIN(RasterTest)
#include "tst_xbraster.moc"
