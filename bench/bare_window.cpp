// The floor of the start-up benchmark: a bare Qt window, ended at its first painted frame. Given
// a JPEG, it first decodes it at 1/8 scale with TurboJPEG, as the least a photo's first look
// costs, and paints that.
#include <turbojpeg.h>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

QImage decodeEighth(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray jpeg = file.readAll();
    const auto* data = reinterpret_cast<const unsigned char*>(jpeg.constData());
    tjhandle tj = tjInitDecompress();
    int width = 0, height = 0, sampling = 0, colorspace = 0;
    QImage image;
    if (tjDecompressHeader3(tj, data, jpeg.size(), &width, &height, &sampling, &colorspace) == 0) {
        const tjscalingfactor eighth = {1, 8};
        image = QImage(TJSCALED(width, eighth), TJSCALED(height, eighth), QImage::Format_RGB32);
        tjDecompress2(tj, data, jpeg.size(), image.bits(), image.width(), int(image.bytesPerLine()),
                      image.height(), TJPF_BGRA, 0);
    }
    tjDestroy(tj);
    return image;
}

class Bare : public QWidget {
public:
    QImage picture;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::lightGray);
        painter.drawImage(QPoint(0, 0), picture);
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    }
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Bare w;
    if (argc > 1) w.picture = decodeEighth(QString::fromLocal8Bit(argv[1]));
    w.resize(800, 600);
    w.show();
    return QApplication::exec();
}
