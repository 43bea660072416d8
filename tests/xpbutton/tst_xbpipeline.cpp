// The rendering pipeline: shape regions and their corners, the widening of slanted buttons, the
// content layout, the gradient table, delayed drawing, and hostile sizes and contents.
#include "tests/xpbutton/xbpixels.h"
#include "xpbutton/pipeline/gradient.h"
#include "xpbutton/raster/drawtext.h"

#include <QApplication>
#include <QPaintEvent>
#include <QtTest>

using namespace orvello;
using test::PixelButton;

namespace {

constexpr int W = 60, H = 20;

QSet<QPoint> pixelsOf(const QRegion& r)
{
    QSet<QPoint> out;
    for (const QRect& run : r)
        for (int y = run.top(); y <= run.bottom(); ++y)
            for (int x = run.left(); x <= run.right(); ++x) out.insert(QPoint(x, y));
    return out;
}

// The corner pixels each cut takes away from a W × H button.
const QSet<QPoint> kA = {{0, 0}, {0, H - 1}};
const QSet<QPoint> kB = {{W - 1, H - 1}, {W - 1, 0}};
const QSet<QPoint> kE = {{0, 0}, {1, 0}, {0, 1}, {0, H - 2}, {0, H - 1}, {1, H - 1}};
const QSet<QPoint> kC = {{W - 2, 0},     {W - 1, 0},     {W - 1, 1},
                         {W - 1, H - 2}, {W - 2, H - 1}, {W - 1, H - 1}};

}  // namespace

class PipelineTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setPalette(test::knownPalette()); }

    // What each look trims from each shape: the region of look 0, which is never trimmed, less
    // the region of the look.
    void cornerTrimming_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("shape");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QSet<QPoint>>("cut");
        QTest::newRow("1 rectangle") << 1 << 0 << true << (kA | kB);
        QTest::newRow("1 slanted left") << 1 << 1 << true << kB;
        QTest::newRow("1 slanted right") << 1 << 2 << true << kA;
        QTest::newRow("2 rectangle") << 2 << 0 << true << (kE | kC);
        QTest::newRow("2 slanted left") << 2 << 1 << true << kC;
        QTest::newRow("2 slanted right") << 2 << 2 << true << kE;
        QTest::newRow("7 rectangle") << 7 << 0 << true << (kE | kC);
        QTest::newRow("3 enabled") << 3 << 0 << true << QSet<QPoint>{{0, H - 1}, {W - 1, 0}};
        QTest::newRow("3 disabled") << 3 << 0 << false << QSet<QPoint>();
        QTest::newRow("3 enabled slanted right") << 3 << 2 << true << QSet<QPoint>{{0, H - 1}};
        for (int style : {1, 2, 3, 7})
            QTest::addRow("%d parallelogram", style) << style << 3 << true << QSet<QPoint>();
        for (int shape : {4, 5, 6})
            for (int style : {1, 2, 3, 7})
                QTest::addRow("%d round %d", style, shape)
                    << style << shape << true << QSet<QPoint>();
        for (int style : {4, 5, 6})
            QTest::addRow("%d rectangle", style) << style << 0 << true << QSet<QPoint>();
    }
    void cornerTrimming()
    {
        QFETCH(int, style);
        QFETCH(int, shape);
        QFETCH(bool, enabled);
        QFETCH(QSet<QPoint>, cut);
        PixelButton plain(W, H, 0, shape);
        PixelButton look(W, H, style, shape);
        look.b->setEnabled(enabled);
        QCOMPARE(
            pixelsOf(plain.b->shapeRegion().pixels().subtracted(look.b->shapeRegion().pixels())),
            cut);
        QCOMPARE(look.b->mask(), look.b->shapeRegion().pixels());
    }

    void shapeBoundsAndClip()
    {
        PixelButton rect(W, H, 0, 0);
        QCOMPARE(rect.b->shapeRegion().bounds(), QRect(0, 0, W + 1, H + 1));
        PixelButton slant(W, H, 0, 3);  // parallelogram: slant H + 1 on both sides
        QCOMPARE(slant.b->textLeft(), H + 1);
        QCOMPARE(slant.b->textRight(), W - (H + 1));
        for (int y = 0; y <= H; ++y) {
            QVERIFY(!slant.b->shapeRegion().contains(y - 1, y));
            QVERIFY(slant.b->shapeRegion().contains(y, y));
        }
        PixelButton round(W, H, 2, 4);
        QCOMPARE(round.b->shapeRegion().bounds(), QRect(0, 0, W, H));
        QCOMPARE(round.b->clipRegion()->bounds(), QRect(1, 1, W - 2, H - 2));
        PixelButton ring(W, H, 2, 6);
        QCOMPARE(ring.b->clipRegion()->bounds(), QRect(2, 2, W - 4, H - 4));
    }

    void narrowSlantedButtonsWidenInStepsOfFive_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("widened");
        // H = 20: the slant is 21 pixels, the button must be at least 26 wide.
        QTest::newRow("one short") << 25 << 30;
        QTest::newRow("just wide enough") << 26 << 26;
        QTest::newRow("two steps") << 20 << 30;
        QTest::newRow("zero wide") << 0 << 30;
    }
    void narrowSlantedButtonsWidenInStepsOfFive()
    {
        QFETCH(int, width);
        QFETCH(int, widened);
        for (int shape : {1, 2, 3}) {
            PixelButton p(width, H, 2, shape);
            QCOMPARE(p.b->width(), widened);
            QVERIFY(!p.b->drawingDelayed());
            QCOMPARE(p.b->bufferSize(), QSize(widened, H));
        }
    }

    // The caption and picture rectangles (left, top, exclusive right and bottom) for each
    // picture alignment, with the caption measured in the button's own font.
    void layout_data()
    {
        QTest::addColumn<int>("pictureAlign");
        QTest::addColumn<int>("captionAlign");
        QTest::addColumn<bool>("withCaption");
        QTest::addColumn<int>("pictureSize");
        for (int align = 0; align <= 5; ++align) {
            QTest::addRow("picture %d centred", align) << align << 2 << true << 0;
            QTest::addRow("picture %d alone", align) << align << 2 << false << 0;
        }
        QTest::newRow("picture left, caption left") << 0 << 0 << true << 0;
        QTest::newRow("picture right, caption right") << 2 << 1 << true << 0;
        QTest::newRow("40 reserves no room") << 0 << 2 << true << 3;
        QTest::newRow("48 reserves no room") << 4 << 2 << true << 4;
    }
    void layout()
    {
        QFETCH(int, pictureAlign);
        QFETCH(int, captionAlign);
        QFETCH(bool, withCaption);
        QFETCH(int, pictureSize);
        static constexpr int w = 120, h = 50;
        PixelButton p(w, h, 2, 0, withCaption ? QStringLiteral("Caption") : QString());
        p.b->setPicture(test::keyedBitmap(16, 16, Qt::red));
        p.b->setPictureSize(pictureSize);
        p.b->setPictureAlign(pictureAlign);
        p.b->setCaptionAlign(captionAlign);
        raster::BufferDC dc;
        dc.font = p.b->captionFont();
        QRect m(0, 0, 1000, 1000);
        raster::DrawTextA(dc, QStringLiteral("Caption"), m,
                          raster::DT_CALCRECT | raster::DT_WORDBREAK);
        const int tw = withCaption ? m.width() : 0, th = withCaption ? m.height() : -3;
        const int ps = (pictureSize + 2) * 8;
        const int room = ps <= 32 ? ps : 0;
        const int pl = pictureAlign <= 1 ? room : 0,
                  pr = pictureAlign == 2 || pictureAlign == 3 ? room : 0;
        const int pt = pictureAlign == 4 ? room : 0, pb = pictureAlign == 5 ? room : 0;
        int dx = (w - (pl + pr) - tw) / 2 + pl;
        if (captionAlign == 0) dx = pl + 6 + (pl ? 6 : 0);
        if (captionAlign == 1) dx = w - pr - 6 - tw - (pr ? 6 : 0);
        if (captionAlign == 2 && pl && pictureAlign == 1) dx = (w - (tw + pl + 6)) / 2 + pl + 6;
        if (captionAlign == 2 && pr && pictureAlign == 3) dx = (w - (tw + pr + 6)) / 2;
        int dy = (h - th) / 2, top = (h - ps) / 2, px = 0;
        switch (pictureAlign) {
        case 0: px = 6; break;
        case 1: px = withCaption ? dx - pl - 6 : 6; break;
        case 2: px = w - pr - 6; break;
        case 3: px = withCaption ? dx + tw + 6 : w - pr - 6; break;
        case 4:
            top = (h - (th + pt)) / 2;
            dy = top + pt + 2;
            px = (w - ps) / 2;
            break;
        case 5: {
            const int g = (h - (th + pb)) / 2;
            top = th + g + 3;
            dy = g + 1;
            px = (w - ps) / 2;
            break;
        }
        }
        const auto clamp = [](int l, int t, int r, int b) {
            return raster::gdiRect(qMax(l, 6), qMax(t, 6), qMin(r, w), qMin(b, h - 6));
        };
        if (withCaption) QCOMPARE(p.b->captionRect(), clamp(dx, dy, dx + tw, dy + th));
        QCOMPARE(p.b->pictureRect(), clamp(px, top, px + ps, top + ps));
    }

    void gradientColourTable()
    {
        // Green and blue start from 65280 / 255 = 256 and 16711680 / 65280 = 256.
        QCOMPARE(GradientTable(0xFFFFFF, 0x000000, 3), (QList<OleColor>{0xFFFFFF, 0x80807F, 0}));
        QCOMPARE(GradientTable(0x000000, 0x0000FF, 4), (QList<OleColor>{0, 85, 170, 255}));
        QCOMPARE(GradientTable(0xFFFFFF, 0xFFFFFF, 2), (QList<OleColor>{0xFFFFFF, 0xFFFFFF}));
        QCOMPARE(GradientTable(0x123456, 0, 1), QList<OleColor>{0x123456});
        QVERIFY(GradientTable(0x123456, 0, 0).isEmpty());
    }

    void delayedRedrawDrawsNothingUntilAPaintRequest()
    {
        PixelButton p(80, 24, 2, 0, QStringLiteral("A"));
        const QImage before = p.b->buffer();
        const int count = p.b->redrawCount();
        p.b->DelayDrawing(true);
        p.b->setCaption(QStringLiteral("Changed"));
        p.b->Refresh();
        QCOMPARE(p.b->buffer(), before);
        QCOMPARE(p.b->redrawCount(), count);
        QPaintEvent paint(p.b->rect());
        QApplication::sendEvent(p.b, &paint);
        QVERIFY(!p.b->drawingDelayed());
        QCOMPARE(p.b->redrawCount(), count + 1);
        QVERIFY(p.b->buffer() != before);
        QCOMPARE(p.b->surface(), p.b->buffer());
    }

    // Hostile sizes and contents draw without crashing, hanging or leaving the buffer.
    void hostileSizesAndContents_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("shape");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<int>("pictureSize");
        QTest::addColumn<QString>("font");
        const QString longCaption = QString(QStringLiteral("word ")).repeated(2000);
        const QString longWord = QString(10000, u'W');
        for (int shape : {0, 3, 4, 6}) {
            QTest::addRow("0 x 0, shape %d", shape)
                << QSize(0, 0) << shape << longCaption << QSize(16, 16) << 0 << QString();
            QTest::addRow("1 x 1, shape %d", shape)
                << QSize(1, 1) << shape << QStringLiteral("&A||B") << QSize(16, 16) << 4
                << QString();
            QTest::addRow("1 high, shape %d", shape)
                << QSize(200, 1) << shape << longWord << QSize(4000, 4000) << 3 << QString();
        }
        QTest::newRow("10,000 words")
            << QSize(120, 30) << 0 << longCaption << QSize(0, 0) << 0 << QString();
        QTest::newRow("10,000-letter word")
            << QSize(120, 30) << 0 << longWord << QSize(0, 0) << 0 << QString();
        QTest::newRow("4000 x 4000 fitted")
            << QSize(120, 60) << 0 << QStringLiteral("x") << QSize(4000, 4000) << 4 << QString();
        QTest::newRow("4000 x 4000 covering")
            << QSize(120, 60) << 0 << QStringLiteral("x") << QSize(4000, 4000) << 3 << QString();
        QTest::newRow("missing font") << QSize(120, 30) << 0 << QStringLiteral("&Open")
                                      << QSize(0, 0) << 0 << QStringLiteral("No Such Face 123");
    }
    void hostileSizesAndContents()
    {
        QFETCH(QSize, size);
        QFETCH(int, shape);
        QFETCH(QString, caption);
        QFETCH(QSize, picture);
        QFETCH(int, pictureSize);
        QFETCH(QString, font);
        PixelButton p(size.width(), size.height(), 2, shape, caption);
        if (!font.isEmpty()) p.b->setFont(QFont(font, 9));
        if (picture.width() > 0)
            p.b->setPicture(test::keyedBitmap(picture.width(), picture.height(), Qt::red));
        p.b->setPictureSize(pictureSize);
        p.b->setCaption(caption);
        p.b->setEnabled(false);
        p.b->setEnabled(true);
        const QSize s = p.b->size();
        QCOMPARE(p.b->bufferSize(), s.isEmpty() ? QSize(0, 0) : s);
        QCOMPARE(p.b->surface().size(), p.b->bufferSize());
    }
};

QTEST_MAIN(PipelineTest)
#include "tst_xbpipeline.moc"
