// Picture and caption drawing: the picture sizes, the transparent key, the embossed disabled
// picture, line breaks and ampersands, caption colours and shades, and a picture that cannot be
// scaled.
#include "tests/xpbutton/xbpixels.h"
#include "xpbutton/raster/drawtext.h"

#include <QApplication>
#include <QFontMetrics>
#include <QtTest>

using namespace orvello;
using test::PixelButton;
using test::rgb;

namespace {

constexpr OleColor kRed = 0x0000FF, kMagenta = 0xFF00FF;

}  // namespace

class CaptionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setPalette(test::knownPalette()); }

    void fortyPixelPictureCoversTheButton()
    {
        PixelButton p(100, 30);
        p.b->setPicture(test::keyedBitmap(16, 16, Qt::red));
        p.b->setPictureSize(3);
        // Only the magenta key (scaled up from the top-left pixel) lets the face through.
        QCOMPARE(p.boxOf(kRed), QRect(0, 0, 100, 30));
        QCOMPARE(p.at(99, 29), kRed);
        p.b->showState(6, true);  // pressed: moved one pixel down and right
        QCOMPARE(p.boxOf(kRed), QRect(1, 1, 99, 29));
    }

    void fortyEightPixelPictureIsScaledToFit()
    {
        PixelButton p(120, 40);
        p.b->setPicture(test::keyedBitmap(100, 50, Qt::red));
        p.b->setPictureSize(4);
        // min((120 - 12) / 100, (40 - 12) / 50) = 0.56: 56 × 28, centred.
        QCOMPARE(p.boxOf(kRed), QRect(32, 6, 56, 28));
    }

    void magentaKeyShowsTheFace()
    {
        QImage img(16, 16, QImage::Format_RGB32);
        img.fill(QColor(255, 0, 255));
        for (int y = 4; y < 12; ++y)
            for (int x = 4; x < 12; ++x) img.setPixelColor(x, y, Qt::red);
        PixelButton p(80, 30);
        p.b->setPicture(XbPicture(img));
        QVERIFY(p.boxOf(kMagenta).isEmpty());
        const QRect pic = p.b->pictureRect();
        QCOMPARE(p.boxOf(kRed), QRect(pic.x() + 4, pic.y() + 4, 8, 8));
        QVERIFY(!p.colours(pic).contains(kMagenta));
    }

    void disabledPictureIsEmbossedInTwoShades()
    {
        PixelButton p(80, 30);
        p.b->setPicture(test::keyedBitmap(16, 16, Qt::red));
        p.b->setEnabled(false);
        const QRect pic = p.b->pictureRect();
        const OleColor light = ShiftColor(0xC0C0C0, 36), dark = ShiftColor(0xC0C0C0, -36);
        QVERIFY(p.boxOf(kRed).isEmpty());
        QCOMPARE(p.at(pic.x() + 8, pic.y() + 8), dark);
        QCOMPARE(p.at(pic.x() + 1, pic.y() - 1), light);  // the light copy shows above the dark one
    }

    void unscalablePictureIsSkippedAndTheCaptionStillDrawn()
    {
        // Fitted into 108 × 28, a 4000 × 1 picture is 108 wide and 0 high: no copy can be made.
        PixelButton p(120, 40, 0, 0, QStringLiteral("M"));
        p.b->setForeColor(kRed);
        p.b->setPicture(test::keyedBitmap(4000, 1, QColor(0, 255, 0)));
        p.b->setPictureSize(4);
        QVERIFY(p.boxOf(0x00FF00).isEmpty());
        QVERIFY(!p.boxOf(kRed).isEmpty());
    }

    void lineBreaksAndAmpersands()
    {
        PixelButton p(200, 60, 2, 0, QStringLiteral("AB||CD"));
        const QFontMetrics fm(p.b->captionFont());
        QCOMPARE(p.b->captionRect().height(), 2 * fm.height());
        p.b->setForeColor(kRed);
        const QRect cap = p.b->captionRect();
        const QRect ink = p.boxOf(kRed);
        QVERIFY(ink.top() < cap.top() + fm.height() && ink.bottom() >= cap.top() + fm.height());
        p.b->setCaption(QStringLiteral("A&&B"));
        QCOMPARE(p.b->captionRect().width(), fm.horizontalAdvance(QStringLiteral("A&B")));
        QCOMPARE(p.b->accessKeys(), QString());
    }

    void captionFontIsTheControlFontAtNinetySixDpi()
    {
        PixelButton p(80, 30);
        p.b->setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
        QCOMPARE(p.b->captionFont().pixelSize(), 12);
        p.b->setFontStyle(6);
        QVERIFY(p.b->captionFont().bold() && p.b->captionFont().italic());
    }

    // A caption is drawn from the face's bitmap strike where it has one for the size, in whole
    // pixels of the text colour, and smoothed in any other face or size.
    void captionCrispOnlyFromABitmapStrike_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("crisp");
        QTest::newRow("Song face, 9 points") << "AR PL UMing CN" << 9 << true;
        QTest::newRow("Song face, 13 points") << "AR PL UMing CN" << 13 << false;
        QTest::newRow("Hei face, 9 points") << "WenQuanYi Zen Hei" << 9 << false;
        QTest::newRow("Latin face, 9 points") << "DejaVu Sans" << 9 << false;
    }
    void captionCrispOnlyFromABitmapStrike()
    {
        QFETCH(QString, face);
        QFETCH(int, points);
        QFETCH(bool, crisp);
        PixelButton p(140, 40, 0, 0, QStringLiteral("标题 Ag_"));
        p.b->setFont(QFont(face, points));
        p.b->setForeColor(rgb(0, 0, 200));
        QCOMPARE(p.b->captionFont().styleStrategy() == QFont::NoAntialias, crisp);
        QSet<OleColor> caption = p.colours(p.b->captionRect());
        QVERIFY(caption.remove(p.b->faceColor()));
        const bool wholePixels = caption.remove(rgb(0, 0, 200));
        QVERIFY(wholePixels || !crisp);
        QCOMPARE(caption.isEmpty(), crisp);  // what is left are mixes of the two
    }

    // The caption's colours by state, and its engraved and embossed shades.
    void captionColours()
    {
        PixelButton p(120, 40, 0, 0, QStringLiteral("Hello"));
        p.b->setFont(QFont(QStringLiteral("AR PL UMing CN"), 9));  // whole pixels, from its strike
        p.b->setForeColor(rgb(0, 0, 200));
        p.b->setHoverForeColor(kRed);
        const QRect cap = p.b->captionRect().adjusted(-2, -2, 2, 3);
        QVERIFY(p.colours(cap).contains(rgb(0, 0, 200)));
        p.b->showState(4);
        QVERIFY(p.colours(cap).contains(kRed));
        QVERIFY(!p.colours(cap).contains(rgb(0, 0, 200)));
        p.b->showState(6, true);  // pressed and hot: back to the fore colour
        QVERIFY(!p.colours(cap).contains(kRed));
        p.b->showState(0);
        p.b->setCaptionStyle(2);
        const OleColor face = p.b->faceColor();
        const QSet<OleColor> embossed = p.colours(cap);
        QVERIFY(embossed.contains(ShiftColor(face, 40)) &&
                embossed.contains(ShiftColor(face, -40)));
        // Disabled command button of look 0: white one pixel down-right, grey on top.
        p.b->setCaptionStyle(0);
        p.b->setEnabled(false);
        const QSet<OleColor> disabled = p.colours(cap);
        QVERIFY(disabled.contains(0xFFFFFF) && disabled.contains(0x808080));
        QVERIFY(!disabled.contains(rgb(0, 0, 200)));
    }
};

QTEST_MAIN(CaptionTest)
#include "tst_xbcaption.moc"
