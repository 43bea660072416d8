// The looks other than 2, ring by ring, in their normal, hot, pressed, checked, default and
// disabled states; and look 7's corner pixels and caption colour.
#include "tests/xpbutton/xbpixels.h"

#include <QApplication>
#include <QtTest>

using namespace orvello;
using test::PixelButton;
using test::rgb;

namespace {

constexpr int W = 90, H = 26;
constexpr qint64 kFace = -2;  // the ring is not drawn: the face shows
constexpr OleColor kW = 0xFFFFFF, kB = 0, kG = 0x808080;
constexpr OleColor kL = rgb(233, 233, 233), kLit = rgb(231, 232, 232), kD = rgb(102, 103, 103);

enum State { Normal, Hot, Pressed, Checked, Default, Disabled };

void putState(XPButton* b, int state)
{
    switch (state) {
    case Hot: b->showState(4); break;
    case Pressed: b->showState(6, true); break;
    case Checked:
        b->setMode(1);
        b->setValue(true);
        break;
    case Default: b->setDisplayAsDefault(true); break;
    case Disabled: b->setEnabled(false); break;
    default: break;
    }
}

}  // namespace

class LooksTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setPalette(test::knownPalette()); }

    // Left and right edge pixels of the inner (x = 2), middle (x = 1) and outer (x = 0) rings.
    void rings_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("state");
        QTest::addColumn<QList<qint64>>("ring");  // inner L, R; middle L, R; outer L, R
        const auto row = [](int style, int state, QList<qint64> ring) {
            QTest::addRow("look %d state %d", style, state) << style << state << ring;
        };
        for (int s : {Normal, Hot, Disabled}) row(0, s, {kFace, kFace, kL, kG, kW, kB});
        row(0, Pressed, {kFace, kFace, kFace, kG, kW, kB});
        row(0, Checked, {kFace, kFace, kFace, kL, kB, kW});
        row(0, Default, {kL, kG, kW, kB, kB, kB});
        for (int s : {Normal, Hot, Default, Disabled}) row(1, s, {kW, kG, kW, kG, kB, kB});
        for (int s : {Pressed, Checked}) row(1, s, {kG, kW, kG, kW, kB, kB});
        for (int s : {Normal, Hot, Default, Disabled})
            row(4, s, {kFace, kFace, kFace, kFace, kW, kG});
        for (int s : {Pressed, Checked}) row(4, s, {kFace, kFace, kFace, kFace, kG, kW});
        for (int s : {Normal, Default, Disabled})
            row(5, s, {kFace, kFace, kFace, kFace, kFace, kFace});
        row(5, Hot, {kFace, kFace, kFace, kFace, kW, kG});
        for (int s : {Pressed, Checked}) row(5, s, {kFace, kFace, kFace, kFace, kG, kW});
        for (int s : {Normal, Hot, Default, Disabled})
            row(6, s, {kFace, kFace, kLit, kG, kLit, kG});
        for (int s : {Pressed, Checked}) row(6, s, {kFace, kFace, kG, kLit, kG, kLit});
        for (int s : {Normal, Hot, Default}) row(3, s, {kFace, kFace, kW, kD, kD, kW});
        row(3, Pressed, {kFace, kFace, kFace, kD, kD, kW});
        row(3, Checked, {kFace, kFace, kFace, kD, kD, kW});
        row(3, Disabled, {kFace, kFace, kFace, kFace, kD, kD});
    }
    void rings()
    {
        QFETCH(int, style);
        QFETCH(int, state);
        QFETCH(QList<qint64>, ring);
        PixelButton p(W, H, style, 0);
        putState(p.b, state);
        const OleColor face = p.at(W / 2, H / 2);
        const int y = H / 2;
        const QList<OleColor> got = {p.at(2, y),     p.at(W - 3, y), p.at(1, y),
                                     p.at(W - 2, y), p.at(0, y),     p.at(W - 1, y)};
        for (int i = 0; i < 6; ++i) QCOMPARE(got[i], ring[i] == kFace ? face : OleColor(ring[i]));
        // Top and bottom edges take the left and right colours.
        QCOMPARE(p.at(W / 2, 0), ring[4] == kFace ? face : OleColor(ring[4]));
        QCOMPARE(p.at(W / 2, H - 1), ring[5] == kFace ? face : OleColor(ring[5]));
    }

    void style5ShowsADottedOutlineOnlyWhileDesigned()
    {
        PixelButton p(W, H, 5, 0);
        p.host.user = false;
        p.b->Refresh();
        const OleColor outline = ShiftColor(p.b->ambientBackColor(), -64);
        int on = 0;
        for (int x = 0; x < W; ++x) on += p.at(x, 0) == outline;
        QVERIFY(on > W / 3 && on < W - 2);  // dotted, not solid
    }

    void style7RingsCornersAndCaption()
    {
        PixelButton p(W, H, 7, 0, QStringLiteral("Seven"));
        const OleColor f = p.b->faceColor();
        const OleColor light = ShiftColor(f, 31, true), dark = ShiftColor(f, -64, true);
        QCOMPARE(p.at(2, 13), kW);
        QCOMPARE(p.at(W - 3, 13), f);
        QCOMPARE(p.at(1, 13), light);
        QCOMPARE(p.at(W - 2, 13), dark);
        QCOMPARE(p.at(0, 13), kB);
        QCOMPARE(p.at(3, 3), kW);
        QCOMPARE(p.at(2, 2), light);
        QCOMPARE(p.at(1, 1), kB);
        QCOMPARE(p.at(W - 3, H - 3), dark);
        QCOMPARE(p.at(W - 2, H - 2), kB);
        // Checked: the rings turn to grey shades and the caption takes the face colour, hot or
        // not, while HoverForeColor is left as it was.
        p.b->setMode(1);
        p.b->setValue(true);
        QCOMPARE(p.at(2, 13), ShiftColor(kG, -32));
        QCOMPARE(p.at(1, 13), ShiftColor(kG, -64));
        const QRect cap = p.b->captionRect();
        QVERIFY(p.colours(cap).contains(f));
        const OleColor hover = p.b->hoverForeColor();
        p.b->showState(4);
        QVERIFY(p.colours(cap).contains(f));
        QCOMPARE(p.b->hoverForeColor(), hover);
    }

    void style3CaptionStaysStillWhenPressed()
    {
        PixelButton p(W, H, 3, 0, QStringLiteral("Flat"));
        p.b->setForeColor(0x0000FF);
        const QRect before = p.boxOf(0x0000FF);
        p.b->showState(6, true);
        QCOMPARE(p.boxOf(0x0000FF), before);
        PixelButton q(W, H, 0, 0, QStringLiteral("Flat"));
        q.b->setForeColor(0x0000FF);
        const QRect raised = q.boxOf(0x0000FF);
        q.b->showState(6, true);
        QCOMPARE(q.boxOf(0x0000FF), raised.translated(1, 1));
    }
};

QTEST_MAIN(LooksTest)
#include "tst_xblooks.moc"
