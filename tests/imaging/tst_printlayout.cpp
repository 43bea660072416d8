#include "imaging/printlayout.h"

#include <QPageLayout>
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

    // The page is taken from the paper's own size, not from whole points (A4 is 841.89 points
    // high, which whole points would make 16840 twips and the picture 16420 high).
    void pageIsTheExactPaper_data()
    {
        QTest::addColumn<QPageSize>("paper");
        QTest::addColumn<QPageLayout::Orientation>("orientation");
        QTest::addColumn<QSizeF>("twips");
        QTest::newRow("A4 portrait")
            << QPageSize(QPageSize::A4) << QPageLayout::Portrait << QSizeF(11906, 16838);
        QTest::newRow("A4 landscape")
            << QPageSize(QPageSize::A4) << QPageLayout::Landscape << QSizeF(16838, 11906);
        QTest::newRow("Letter") << QPageSize(QPageSize::Letter) << QPageLayout::Portrait
                                << QSizeF(12240, 15840);
        QTest::newRow("A5 landscape")
            << QPageSize(QPageSize::A5) << QPageLayout::Landscape << QSizeF(11906, 8391);
    }
    void pageIsTheExactPaper()
    {
        QFETCH(QPageSize, paper);
        QFETCH(QPageLayout::Orientation, orientation);
        QFETCH(QSizeF, twips);
        const QPageLayout layout(paper, orientation, QMarginsF());
        QCOMPARE(pageTwips(layout), twips);
        if (paper.id() == QPageSize::A4 && orientation == QPageLayout::Portrait)
            QCOMPARE(float(printPictureSize({30000, 45000}, pageTwips(layout)).height()), 16418.0f);
    }
};

QTEST_GUILESS_MAIN(PrintLayoutTest)
#include "tst_printlayout.moc"
