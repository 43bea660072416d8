// Writes the sample photos of samples/: generated scenes with EXIF capture dates.
#include "tools/fixtures/photowriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <cmath>

namespace {

// A simple scene: sky, hills, a sun and a little noise, so the files look and compress like
// photos rather than flat test cards.
QImage scene(int w, int h, QColor sky, QColor ground, quint32 seed)
{
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, sky.darker(130));
    g.setColorAt(0.6, sky.lighter(140));
    p.fillRect(img.rect(), g);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 240, 190));
    p.drawEllipse(QPointF(w * 0.75, h * 0.25), w * 0.06, w * 0.06);
    for (int layer = 0; layer < 3; ++layer) {
        QPainterPath hill;
        hill.moveTo(0, h);
        for (int x = 0; x <= w; x += w / 24) {
            const double y = h * (0.55 + 0.1 * layer) +
                             h * 0.06 * std::sin((x + layer * 97.0 + seed) / (w / 6.0));
            hill.lineTo(x, y);
        }
        hill.lineTo(w, h);
        p.setBrush(ground.darker(100 + 25 * layer));
        p.drawPath(hill);
    }
    p.end();
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int n = int(seed >> 29) - 4;
            const QRgb c = line[x];
            line[x] = qRgb(qBound(0, qRed(c) + n, 255), qBound(0, qGreen(c) + n, 255),
                           qBound(0, qBlue(c) + n, 255));
        }
    }
    return img;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QDir out(args.size() > 1 ? args[1] : QStringLiteral("samples"));
    if (!out.mkpath(QStringLiteral("."))) return 1;
    struct Sample {
        const char* name;
        int w, h;
        QColor sky, ground;
        const char* date;
    } samples[] = {
        {"landscape.jpg", 1800, 1200, QColor(90, 150, 220), QColor(70, 140, 60),
         "2007:12:10 14:30:00"},
        {"portrait.jpg", 1200, 1800, QColor(230, 140, 90), QColor(120, 100, 70),
         "2009:06:21 19:05:42"},
        {"square.jpg", 1200, 1200, QColor(120, 170, 200), QColor(200, 190, 150),
         "2012:02:29 08:00:01"},
        {"no-date.jpg", 1600, 1200, QColor(150, 160, 175), QColor(90, 110, 90), nullptr},
    };
    quint32 seed = 7;
    for (const Sample& s : samples) {
        orvello::fixtures::ExifContent exif;
        exif.make = QStringLiteral("Orvello");
        exif.model = QStringLiteral("Sample Camera");
        if (s.date) exif.dateTimeOriginal = QString::fromLatin1(s.date);
        using orvello::fixtures::Dir;
        using orvello::fixtures::ExifEntry;
        exif.extra = {
            ExifEntry::rationals(Dir::Image, 0x011A, {{72, 1}}),         // XResolution
            ExifEntry::rationals(Dir::Image, 0x011B, {{72, 1}}),         // YResolution
            ExifEntry::shorts(Dir::Image, 0x0128, {2}),                  // ResolutionUnit
            ExifEntry::rationals(Dir::Exif, 0x829A, {{1, 250}}),         // ExposureTime
            ExifEntry::rationals(Dir::Exif, 0x829D, {{56, 10}}),         // FNumber
            ExifEntry::shorts(Dir::Exif, 0x8827, {200}),                 // ISO
            ExifEntry::bytes(Dir::Exif, 0x9000, QByteArray("0230", 4)),  // ExifVersion
            ExifEntry::rationals(Dir::Exif, 0x920A, {{35, 1}}),          // FocalLength
            ExifEntry::longs(Dir::Exif, 0xA002, {quint32(s.w)}),         // PixelXDimension
            ExifEntry::longs(Dir::Exif, 0xA003, {quint32(s.h)}),         // PixelYDimension
        };
        const QByteArray jpeg =
            orvello::fixtures::makeJpeg(scene(s.w, s.h, s.sky, s.ground, seed += 101), exif, 80,
                                        orvello::fixtures::Chroma::Half420);
        const QString path = out.filePath(QString::fromLatin1(s.name));
        if (jpeg.isEmpty() || !orvello::fixtures::writeFile(path, jpeg)) return 1;
        QTextStream(stdout) << path << ' ' << jpeg.size() << " bytes\n";
    }
    return 0;
}
