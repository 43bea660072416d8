// The incremental redraw must leave exactly the pixels of the full DrawOverlay + ShowPreview:
// random command sequences on photos of every shape, ink that must stay inside the rectangles the
// redraw restores, and partial preview reductions.
#include "app/startup.h"
#include "overlay/areascale.h"
#include "overlay/overlay.h"
#include "overlay/overlaycommands.h"
#include "overlay/overlayredraw.h"
#include "overlay/overlaytext.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QtTest>

using namespace orvello;

namespace {

// Noise, so that a pixel restored from the wrong place or left stale shows.
QImage noisePhoto(QSize size, quint32 seed, QImage::Format format = QImage::Format_RGB32)
{
    QRandomGenerator rng(seed);
    QImage image(size, format);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) line[x] = rng.generate() | 0xFF000000u;
    }
    return image;
}

const QStringList kFaces = {QStringLiteral("DigifaceWide"), QStringLiteral("宋体"),
                            QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("DejaVu Serif")};
const QStringList kTitles = {
    QStringLiteral("标题文字"),
    QStringLiteral("Ågjy|Wf ÉÇ"),
    QStringLiteral("   "),
    QString(),
    QStringLiteral("A"),
    QStringLiteral("一个很长的标题 with mixed 文字 and more text 1234567890")};

struct Session {
    QImage photo;
    AppSettings settings;
    QString title = QStringLiteral("标题文字");
    QString date = QStringLiteral("2007-12-10 14:30:00");
    OverlayInput input() const
    {
        return makeOverlayInput(settings, date, title, isPortraitCanvas(photo.size()));
    }
};

// One editing command picked at random; false when it is one the redraw may not do in part.
bool randomCommand(Session& s, QRandomGenerator& rng, QImage& canvas)
{
    const int pick = rng.bounded(100);
    AppSettings& st = s.settings;
    if (pick < 40) {  // the nudges, in runs so that items travel over edges and each other
        const auto command = static_cast<OverlayCommand>(rng.bounded(8));
        for (int n = 1 + rng.bounded(3); n > 0; --n) runOverlayCommand(command, st, true);
    } else if (pick < 48) {
        runOverlayCommand(rng.bounded(2) ? OverlayCommand::Enlarge : OverlayCommand::Shrink, st,
                          true);
    } else if (pick < 52) {
        st.addFontSize = float(0.5 + rng.bounded(12.0));  // small glyphs and outline-drawn ones
    } else if (pick < 58) {
        runOverlayCommand(OverlayCommand::ToggleBold, st, true);
    } else if (pick < 64) {
        runOverlayCommand(OverlayCommand::ToggleItalic, st, true);
    } else if (pick < 68) {
        st.addForeColor = qint32(rng.generate() & 0xFFFFFF);
    } else if (pick < 74) {
        (rng.bounded(2) ? st.addFont : st.addFont2) = kFaces[rng.bounded(kFaces.size())];
    } else if (pick < 80) {
        s.title = kTitles[rng.bounded(kTitles.size())];
    } else if (pick < 86) {
        (rng.bounded(2) ? st.addDTB : st.addTXB) ^= true;
    } else if (pick < 92) {  // an item jumps: onto the other one, or past an edge
        st.addCurrentX2 = rng.bounded(2) ? st.addCurrentX : float(rng.bounded(140.0) - 20);
        st.addCurrentY2 = rng.bounded(2) ? st.addCurrentY : float(rng.bounded(140.0) - 20);
    } else if (pick < 96) {  // a quarter turn: another photo of another shape
        s.photo = s.photo.transformed(QTransform().rotate(90));
        return false;
    } else {  // the canvas written by someone else
        clearCanvas(canvas, s.photo);
        return false;
    }
    return true;
}

// The bounding box of the pixels where the canvas differs from the photo.
QRect inkBox(const QImage& canvas, const QImage& photo)
{
    QRect ink;
    for (int y = 0; y < canvas.height(); ++y) {
        const auto* c = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        const auto* p = reinterpret_cast<const QRgb*>(photo.constScanLine(y));
        for (int x = 0; x < canvas.width(); ++x)
            if (c[x] != p[x]) ink |= QRect(x, y, 1, 1);
    }
    return ink;
}

}  // namespace

class OverlayRedrawTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(loadDateFonts(QStringLiteral(ORVELLO_BIN_DIR))); }

    void incrementalEqualsFullRedraw_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("format");
        QTest::addColumn<quint32>("seed");
        QTest::newRow("landscape") << QSize(1203, 801) << int(QImage::Format_RGB32) << 1u;
        QTest::newRow("portrait") << QSize(601, 907) << int(QImage::Format_RGB32) << 2u;
        QTest::newRow("square") << QSize(640, 640) << int(QImage::Format_RGB32) << 3u;
        QTest::newRow("odd narrow") << QSize(333, 1999) << int(QImage::Format_RGB32) << 4u;
        QTest::newRow("smaller than the preview")
            << QSize(37, 23) << int(QImage::Format_RGB32) << 5u;
        QTest::newRow("with alpha") << QSize(517, 389) << int(QImage::Format_ARGB32) << 6u;
        QTest::newRow("large glyphs") << QSize(3001, 2003) << int(QImage::Format_RGB32) << 7u;
    }

    void incrementalEqualsFullRedraw()
    {
        QFETCH(QSize, size);
        QFETCH(int, format);
        QFETCH(quint32, seed);
        QRandomGenerator rng(seed);
        Session s;
        s.photo = noisePhoto(size, seed, QImage::Format(format));
        s.settings.addTXB = true;

        OverlayRedraw redraw;
        QImage canvas, preview;
        redraw.drawOverlay(canvas, s.photo, s.input());
        redraw.showPreview(preview, canvas, s.input().isPortrait);
        int incremental = 0;
        for (int step = 0; step < 60; ++step) {
            const bool partial = randomCommand(s, rng, canvas);
            const OverlayInput in = s.input();
            redraw.redraw(canvas, preview, s.photo, in);
            QImage fullCanvas, fullPreview;
            DrawOverlay(fullCanvas, s.photo, in);
            ShowPreview(fullPreview, fullCanvas, in.isPortrait);
            const QByteArray where = QByteArray::number(step);
            QVERIFY2(canvas == fullCanvas, where);
            QVERIFY2(preview == fullPreview, where);
            // Whatever cannot be shown to match is drawn in full; the rest in part.
            QCOMPARE(redraw.lastWasIncremental(), partial);
            incremental += partial;
        }
        QVERIFY(incremental > 40);
    }

    // The rectangle an item reports must hold all its ink, or an old text would stay behind.
    void inkStaysInsideItsRectangle()
    {
        const QImage photo = noisePhoto(QSize(1, 1), 0).scaled(2400, 1600);
        const QList<float> sizes = {0.3f, 1.0f, 2.0f, 6.0f};
        const QStringList texts = {QStringLiteral("2007-12-10 14:30:00"),
                                   QStringLiteral("Ågjy|Wf ÉÇ fi"), QStringLiteral("标题文字")};
        for (const QString& face : kFaces) {
            for (int style = 0; style < 4; ++style) {
                for (float size : sizes) {
                    for (const QString& text : texts) {
                        AppSettings st;
                        st.addTXB = false;
                        st.addFont = face;
                        st.addFontBold = style & 1;
                        st.addFontItalic = style & 2;
                        st.addFontSize = size;
                        for (float x : {99.0f, 50.0f}) {  // past the right edge, and inside
                            st.addCurrentX = x;
                            const OverlayInput in = makeOverlayInput(st, text, {}, false);
                            QImage canvas;
                            DrawOverlay(canvas, photo, in);
                            const QRect rect = prepareOverlay(canvas, in).date.inkRect;
                            const QRect ink = inkBox(canvas, photo);
                            const QByteArray what = QStringLiteral("%1 style %2 size %3 x %4 %5")
                                                        .arg(face)
                                                        .arg(style)
                                                        .arg(size)
                                                        .arg(x)
                                                        .arg(text)
                                                        .toUtf8();
                            QVERIFY2(x > 90 || !ink.isEmpty(), what);
                            QVERIFY2(ink.isEmpty() || rect.contains(ink), what);
                        }
                    }
                }
            }
        }
    }

    // A pixel changed anywhere in the source reaches only preview pixels the footprint names,
    // and reducing just those gives the full reduction, shrinking or stretching.
    void partialReductionMatchesFull()
    {
        QRandomGenerator rng(11);
        const QList<QPair<QSize, QRect>> cases = {
            {{6000, 4000}, {0, 80, 482, 321}}, {{1999, 333}, {0, 200, 482, 80}},
            {{37, 23}, {0, 90, 482, 300}},     {{482, 482}, {0, 0, 482, 482}},
            {{977, 1303}, {60, 0, 361, 482}},  {{700, 500}, {-30, 50, 600, 400}}};
        for (const auto& [srcSize, destRect] : cases) {
            QImage src = noisePhoto(srcSize, rng.generate());
            QImage before(482, 482, QImage::Format_RGB32);
            before.fill(Qt::gray);
            areaScale(src, before, destRect);
            for (int round = 0; round < 8; ++round) {
                const QRect changed(rng.bounded(srcSize.width()), rng.bounded(srcSize.height()),
                                    1 + rng.bounded(srcSize.width() / 3 + 1),
                                    1 + rng.bounded(srcSize.height() / 3 + 1));
                const QImage patch = noisePhoto(changed.size(), rng.generate());
                {
                    QPainter p(&src);
                    p.drawImage(changed.topLeft(), patch);
                }
                QImage full = before;
                full.fill(Qt::gray);
                areaScale(src, full, destRect);
                areaScale(src, before, destRect,
                          areaScaleFootprint(srcSize, destRect, changed) & before.rect());
                QVERIFY2(before == full, qPrintable(QStringLiteral("%1x%2 round %3")
                                                        .arg(srcSize.width())
                                                        .arg(srcSize.height())
                                                        .arg(round)));
            }
        }
    }
};

QTEST_MAIN(OverlayRedrawTest)
#include "tst_overlayredraw.moc"
