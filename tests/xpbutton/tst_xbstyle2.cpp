// Look 2, the window's command buttons: its rings by state, its disabled look, its rounded
// corners and its round shapes.
#include "tests/xpbutton/xbpixels.h"

#include <QApplication>
#include <QtTest>
#include <cmath>

using namespace orvello;
using test::PixelButton;
using test::rgb;

namespace {

constexpr int W = 90, H = 26;
constexpr OleColor kOuter = rgb(0, 60, 115);

OleColor bp(OleColor c, int d)
{
    return ShiftColor(c, d, true);
}

// The shade of face row y: up to 25 levels darker at the bottom, rounded half to even.
OleColor row(OleColor face, int y)
{
    return bp(face, int(std::nearbyint(-25.0 * y / H)));
}

}  // namespace

class Style2Test : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setPalette(test::knownPalette()); }

    // Inner ring (left x = 2, top y = 2) and middle ring (left x = 1, bottom y = H - 2) by state.
    void ringsByState_data()
    {
        QTest::addColumn<int>("state");  // 0 normal, 1 hot, 2 pressed, 3 focused, 4 focus hidden
        QTest::addColumn<bool>("orange");
        QTest::newRow("normal") << 0 << false;
        QTest::newRow("hot") << 1 << true;
        QTest::newRow("pressed") << 2 << false;
        QTest::newRow("focused") << 3 << false;
        QTest::newRow("focus rectangle off") << 4 << false;
    }
    void ringsByState()
    {
        QFETCH(int, state);
        PixelButton p(W, H);
        const OleColor B = p.b->faceColor();
        if (state == 1) p.b->showState(4);
        if (state == 2) p.b->showState(6, true);
        if (state >= 3) p.b->setDisplayAsDefault(true);
        if (state == 4) p.b->setShowFocusRect(false);
        const OleColor innerLeft = p.at(2, H / 2), innerTop = p.at(W / 2, 2);
        const OleColor middleLeft = p.at(1, H / 2), middleBottom = p.at(W / 2, H - 2);
        switch (state) {
        case 0:
        case 4:
            QCOMPARE(innerLeft, bp(B, -10));
            QCOMPARE(innerTop, bp(B, 10));  // lighter than the face
            QCOMPARE(middleLeft, bp(B, -5));
            QCOMPARE(middleBottom, bp(B, -48));
            break;
        case 1:
            QCOMPARE(innerLeft, rgb(255, 203, 107));
            QCOMPARE(innerTop, rgb(255, 219, 140));
            QCOMPARE(middleBottom, rgb(231, 150, 0));
            break;
        case 2:
            QCOMPARE(innerLeft, bp(B, -22));
            QCOMPARE(innerTop, bp(B, -24));
            QCOMPARE(middleBottom, bp(B, 16));
            break;
        case 3:
            QCOMPARE(innerLeft, rgb(181, 209, 240));
            QCOMPARE(innerTop, rgb(189, 215, 247));
            QCOMPARE(middleBottom, rgb(107, 130, 239));
            break;
        }
        for (const QPoint& edge :
             {QPoint(0, H / 2), QPoint(W / 2, 0), QPoint(W - 1, H / 2), QPoint(W / 2, H - 1)})
            QCOMPARE(p.at(edge.x(), edge.y()), kOuter);
        // The rounded corners: the corner triangles are cut, one outer-ring pixel closes each.
        for (const QPoint& c :
             {QPoint(1, 1), QPoint(1, H - 2), QPoint(W - 2, 1), QPoint(W - 2, H - 2)})
            QCOMPARE(p.at(c.x(), c.y()), kOuter);
        QVERIFY(!p.b->shapeRegion().contains(0, 0));
    }

    void shadedFaceDarkensTowardsTheBottom()
    {
        PixelButton p(W, H);
        const OleColor F = p.b->faceColor();
        for (int y : {4, H / 2, H - 4}) QCOMPARE(p.at(W / 2, y), row(F, y));
        p.b->showState(6, true);
        QCOMPARE(p.at(W / 2, H / 2), row(p.b->pressedFaceColor(), H / 2));
    }

    void disabledHasOnlyTheOuterRingAndOneCaption()
    {
        PixelButton p(W, H, 2, 0, QStringLiteral("Off"));
        p.b->setEnabled(false);
        const OleColor B = p.b->faceColor(), F = bp(B, -24);
        QCOMPARE(p.at(0, H / 2), bp(B, -84));
        QCOMPARE(p.at(1, 1), bp(B, -84));
        QCOMPARE(p.at(2, H / 2), F);  // a flat face, no inner ring
        const QSet<OleColor> caption = p.colours(p.b->captionRect());
        QVERIFY(caption.contains(bp(F, -104)));
        QVERIFY(!caption.contains(0x808080) && !caption.contains(0xFFFFFF));
    }

    void checkedButtonsUseTheCheckedFace()
    {
        PixelButton p(W, H);
        p.b->setMode(1);
        p.b->setValue(true);
        const OleColor C = p.b->checkedFaceColor();
        QCOMPARE(p.at(2, H / 2), bp(C, -22));  // the sunken rings of a pressed button
        QCOMPARE(p.at(W / 2, 4), row(C, 4));
    }

    void roundShapesShowARingOnlyOnTheDefaultButton()
    {
        for (int shape : {4, 5, 6}) {
            PixelButton p(W, H, 2, shape);
            p.b->showState(4);
            QVERIFY(p.boxOf(rgb(231, 150, 0)).isEmpty());
            QVERIFY(p.boxOf(rgb(107, 130, 239)).isEmpty());
            p.b->setDisplayAsDefault(true);
            QVERIFY(!p.boxOf(rgb(231, 150, 0)).isEmpty());
            p.b->showState(0);
            QVERIFY(!p.boxOf(rgb(107, 130, 239)).isEmpty());
            QVERIFY(p.boxOf(rgb(231, 150, 0)).isEmpty());
        }
    }
};

QTEST_MAIN(Style2Test)
#include "tst_xbstyle2.moc"
