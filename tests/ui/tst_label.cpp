// The current-file line: a file name's descenders show whatever the face's line height.
#include "ui/label.h"
#include "xpbutton/raster/fontquality.h"

#include <QApplication>
#include <QPainter>
#include <QtTest>

using namespace orvello;

namespace {

// The lowest row holding ink (a pixel darker than mid-grey) in image, or -1.
int lowestInk(const QImage& image)
{
    for (int y = image.height() - 1; y >= 0; --y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) return y;
    return -1;
}

}  // namespace

class LabelTest : public QObject {
    Q_OBJECT

private slots:
    void descendersOfTheFileNameShow_data()
    {
        QTest::addColumn<QString>("face");
        QTest::newRow("Song face") << "AR PL UMing CN";
        QTest::newRow("Hei face") << "WenQuanYi Zen Hei";
        QTest::newRow("Latin face") << "DejaVu Sans";
    }
    void descendersOfTheFileNameShow()
    {
        QFETCH(QString, face);
        QWidget window;
        window.resize(800, 100);
        QPalette white;
        white.setColor(QPalette::Window, Qt::white);
        white.setColor(QPalette::WindowText, Qt::black);
        window.setPalette(white);
        Label line(QStringLiteral("当前文件："), &window);
        line.setGeometry(16, 32, 60, 12);  // as the design places it
        QFont font(face);
        font.setPixelSize(12);
        font = raster::withDefaultQuality(font);  // as the window's fonts are
        line.setFont(font);
        const QString path = QStringLiteral("/photos/canon_hdr_NO.jpg");
        line.setPathText(QStringLiteral("当前文件："), path);
        const QFontMetrics fm(font);
        QCOMPARE(line.height(), std::max(12, fm.height()));
        QCOMPARE(line.y(), 32);

        // The underscore's lowest row as the face draws the line on a cell of its own height.
        QImage alone(line.width(), fm.height(), QImage::Format_RGB32);
        alone.fill(Qt::white);
        {
            QPainter p(&alone);
            p.setFont(font);
            p.setPen(Qt::black);
            p.drawText(0, fm.ascent(), line.text());
        }
        const int expected = lowestInk(alone);
        QVERIFY(expected >= fm.ascent());  // under the baseline
        QCOMPARE(lowestInk(line.grab().toImage()), expected);
    }
};

QTEST_MAIN(LabelTest)
#include "tst_label.moc"
