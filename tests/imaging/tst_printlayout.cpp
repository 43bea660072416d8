#include "imaging/printlayout.h"

#include <QtTest>

using namespace orvello;

class PrintLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void fitsHeightThenWidth()
    {
        const QSizeF a4Portrait(11906, 16838), a4Landscape(16838, 11906);
        // 2000 × 3000 pixels on A4 portrait: the height fit holds.
        QSizeF s = printPictureSize({30000, 45000}, a4Portrait);
        QCOMPARE(float(s.height()), 16418.0f);
        QVERIFY(qAbs(s.width() - 10945.33) < 0.01);
        // 3000 × 2000 on A4 landscape: the height fit is too wide, the width fit is used.
        s = printPictureSize({45000, 30000}, a4Landscape);
        QCOMPARE(float(s.width()), 16418.0f);
        QVERIFY(qAbs(s.height() - 10945.33) < 0.01);
        QVERIFY(printPictureSize({0, 100}, a4Portrait).isEmpty());
    }
};

QTEST_GUILESS_MAIN(PrintLayoutTest)
#include "tst_printlayout.moc"
