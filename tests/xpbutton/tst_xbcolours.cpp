// XPButton's colours: system colours resolved, the hover colours following the face until locked,
// the default-colour reset, and the face colours each look derives.
#include "tests/xpbutton/testhost.h"
#include "xpbutton/xbcolor.h"
#include "xpbutton/xpbutton.h"

#include <QApplication>
#include <QtTest>

using namespace orvello;

class XbColoursTest : public QObject, test::ButtonFixture {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setPalette(test::knownPalette()); }
    void init() { fresh(); }
    void cleanup() { container.reset(); }

    // --- BackColor and GradientColor
    // ------------------------------------------------------------------
    void backColorResolvesSystemColours()
    {
        b->setBackColor(0x8000000F);
        QCOMPARE(b->backColor(), test::kKnownButtonFace);
        b->setGradientColor(0x8000000F);
        QCOMPARE(b->gradientColor(), OleColor(0x8000000F));
    }

    void hoverBackColorComparesAsStored()
    {
        // The hover back colour gets the unresolved system colour, which differs from the
        // resolved back colour as stored: the hover back colour is then locked.
        b->setBackColor(0x112233);
        QCOMPARE(b->hoverColorLocks(), 0);
        b->setBackColor(0x8000000F);
        QCOMPARE(b->hoverBackColor(), OleColor(0x8000000F));
        QCOMPARE(b->hoverColorLocks(), 1);
    }

    // --- Hover colours
    // --------------------------------------------------------------------------------
    void hoverForeColourFollowsThenLocks()
    {
        b->setForeColor(0x0000FF);
        QCOMPARE(b->hoverForeColor(), OleColor(0x0000FF));
        QCOMPARE(b->hoverColorLocks(), 0);
        b->setHoverForeColor(0x00FF00);
        QCOMPARE(b->hoverColorLocks(), 2);
        b->setForeColor(0x123456);
        QCOMPARE(b->foreColor(), OleColor(0x123456));
        QCOMPARE(b->hoverForeColor(), OleColor(0x00FF00));
        QCOMPARE(b->hoverColorLocks(), 2);
    }

    void hoverBackColourFollowsBackAndGradient()
    {
        b->setBackColor(0x111111);
        QCOMPARE(b->hoverBackColor(), OleColor(0x111111));
        b->setGradientColor(0x222222);  // no gradient yet: the hover colour keeps the face
        QCOMPARE(b->hoverBackColor(), OleColor(0x111111));
        b->setGradientMode(1);
        QCOMPARE(b->hoverBackColor(), OleColor(0x222222));
        b->setGradientColor(0x333333);
        QCOMPARE(b->hoverBackColor(), OleColor(0x333333));
        b->setBackColor(0x444444);  // with a gradient the hover colour follows the gradient
        QCOMPARE(b->hoverBackColor(), OleColor(0x333333));
        b->setGradientMode(0);
        QCOMPARE(b->hoverBackColor(), OleColor(0x444444));
        QCOMPARE(b->hoverColorLocks(), 0);
    }

    void hoverBackColourLocks()
    {
        b->setHoverBackColor(0x00AA00);
        QCOMPARE(b->hoverColorLocks(), 1);
        b->setHoverForeColor(0x0000AA);
        QCOMPARE(b->hoverColorLocks(), 3);
        b->setBackColor(0x555555);
        b->setGradientMode(2);
        b->setForeColor(0x666666);
        QCOMPARE(b->hoverBackColor(), OleColor(0x00AA00));
        QCOMPARE(b->hoverForeColor(), OleColor(0x0000AA));
        host.forget();
        b->setHoverColorLocks(0);                           // unlock: both follow again, at once
        QCOMPARE(b->hoverBackColor(), b->gradientColor());  // a gradient is active
        QCOMPARE(b->hoverForeColor(), OleColor(0x666666));
        QCOMPARE(host.marks, QStringList({"cBHover", "cFHover", "LockHover"}));
    }

    void otherLockValuesAreStoredAndFreezeBoth()
    {
        b->setHoverColorLocks(7);
        QCOMPARE(b->hoverColorLocks(), 7);
        b->setForeColor(0x010101);
        b->setBackColor(0x020202);
        b->setHoverForeColor(0x030303);
        b->setHoverBackColor(0x040404);
        QCOMPARE(b->hoverColorLocks(), 7);
        QCOMPARE(b->hoverForeColor(), OleColor(0x030303));
        QCOMPARE(b->hoverBackColor(), OleColor(0x040404));
    }

    void resetDefaultColorsInDesignMode()
    {
        b->setBackColor(0x111111);
        b->setForeColor(0x222222);
        b->setGradientMode(3);
        b->setGradientColor(0x333333);
        b->setHoverColorLocks(3);
        host.forget();
        b->setResetDefaultColors(true);
        QCOMPARE(b->backColor(), OleColor(0x8000000F));  // kept unresolved
        QCOMPARE(b->foreColor(), OleColor(0x80000012));
        QCOMPARE(b->gradientColor(), OleColor(0x8000000F));
        QCOMPARE(b->gradientMode(), 0);
        QCOMPARE(b->hoverColorLocks(), 0);
        QCOMPARE(b->hoverBackColor(), OleColor(0x8000000F));
        QCOMPARE(b->hoverForeColor(), OleColor(0x80000012));
        QVERIFY(!b->resetDefaultColors());
        QVERIFY(!b->drawingDelayed());
        QCOMPARE(host.marks.mid(host.marks.size() - 2), QStringList({"cGradient", "cBack"}));
    }

    void resetDefaultColorsDoesNothingOtherwise()
    {
        b->setBackColor(0x111111);
        host.forget();
        b->setResetDefaultColors(false);
        host.user = true;
        b->setResetDefaultColors(true);
        QCOMPARE(b->backColor(), OleColor(0x111111));
        QVERIFY(host.marks.isEmpty());
    }

    // --- Face colours ------------------------------------------------------------------------
    void faceColoursOfStyle2ForTheButtonFace()
    {
        // After initialisation BackColor and HoverBackColor are &H8000000F, here 0x8C7864.
        b->setButtonStyle(2);
        QCOMPARE(b->faceColor(), OleColor(0xB0A894));
        QCOMPARE(b->pressedFaceColor(), OleColor(0x948974));
        QCOMPARE(b->hoverFaceColor(), OleColor(0xB0A894));
        QCOMPARE(b->checkedFaceColor(), OleColor(0xD6E0DF));
    }

    void faceColoursOfTheOtherStyles()
    {
        for (int style : {0, 1, 4, 5, 6}) {
            b->setButtonStyle(style);
            QCOMPARE(b->faceColor(), test::kKnownButtonFace);
            QCOMPARE(b->pressedFaceColor(), test::kKnownButtonFace);
            QCOMPARE(b->checkedFaceColor(), OleColor(0xE0E0DF));
        }
        b->setButtonStyle(3);
        QCOMPARE(b->faceColor(), test::kKnownButtonFace);
        QCOMPARE(b->pressedFaceColor(), OleColor(0x8D8D8C));
        QCOMPARE(b->checkedFaceColor(), ShiftColor(0x8D8D8C, 31));
        b->setButtonStyle(7);
        QCOMPARE(b->faceColor(), ShiftColor(test::kKnownButtonFace, 31));
        QCOMPARE(b->pressedFaceColor(), OleColor(0x717170));
        QCOMPARE(b->checkedFaceColor(), OleColor(0x8B9190));
        b->setHoverBackColor(0x202020);
        QCOMPARE(b->hoverFaceColor(), ShiftColor(0x202020, 31));
    }
};

QTEST_MAIN(XbColoursTest)
#include "tst_xbcolours.moc"
