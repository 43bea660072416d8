#include "imaging/rotation.h"

#include <QtTest>

using namespace orvello;

namespace {

QImage numbered(int w, int h, QImage::Format format)
{
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgba(x * 7 + 1, y * 11 + 3, (x * 13 + y * 5) & 0xFF, 255));
    return img.convertToFormat(format);
}

}  // namespace

class RotationTest : public QObject {
    Q_OBJECT

private slots:
    void cornerMapping_data()
    {
        QTest::addColumn<int>("format");
        for (auto f : {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_RGB888,
                       QImage::Format_Grayscale8, QImage::Format_RGB16, QImage::Format_RGBA64,
                       QImage::Format_Mono})
            QTest::newRow(QByteArray::number(int(f)).constData()) << int(f);
    }

    void cornerMapping()
    {
        QFETCH(int, format);
        const QImage src = numbered(5, 3, QImage::Format(format));
        const QImage left = Rotate90(src);
        const QImage right = Rotate90R(src);
        QCOMPARE(left.size(), QSize(3, 5));
        QCOMPARE(left.format(), src.format());
        QCOMPARE(right.format(), src.format());
        const int w = src.width(), h = src.height();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                QCOMPARE(left.pixel(y, w - 1 - x), src.pixel(x, y));
                QCOMPARE(right.pixel(h - 1 - y, x), src.pixel(x, y));
            }
    }

    void turnsAreLossless()
    {
        const QImage src = numbered(31, 17, QImage::Format_RGB32);
        QCOMPARE(Rotate90R(Rotate90(src)), src);
        QCOMPARE(Rotate90(Rotate90R(src)), src);
        QImage four = src;
        for (int i = 0; i < 4; ++i) four = Rotate90(four);
        QCOMPARE(four, src);
        const QImage square = numbered(8, 8, QImage::Format_RGB32);
        QCOMPARE(Rotate90(square).size(), QSize(8, 8));
        QVERIFY(Rotate90(QImage()).isNull());
    }
};

QTEST_GUILESS_MAIN(RotationTest)
#include "tst_rotation.moc"
