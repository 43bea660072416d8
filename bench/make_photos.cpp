// Writes N generated camera-like photos into a folder, for the stamping benchmarks:
// bench-make-photos DIR N [WIDTH HEIGHT [PREFIX [QUALITY [PREVIEW_WIDTH PREVIEW_HEIGHT]]]],
// 24 megapixels, "IMG_" and JPEG quality 92 by default; with a preview size, each photo carries
// an MPF preview image of that size, as many cameras write.
#include "bench/photos.h"
#include "tools/fixtures/photowriter.h"

#include <QDir>
#include <QGuiApplication>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) return 1;
    const QDir dir(args[1]);
    dir.mkpath(QStringLiteral("."));
    const int count = args[2].toInt();
    const int width = args.size() > 4 ? args[3].toInt() : 6000;
    const int height = args.size() > 4 ? args[4].toInt() : 4000;
    const QString prefix = args.size() > 5 ? args[5] : QStringLiteral("IMG_");
    const int quality = args.size() > 6 ? args[6].toInt() : 92;
    const QSize preview = args.size() > 8 ? QSize(args[7].toInt(), args[8].toInt()) : QSize();
    for (int i = 0; i < count; ++i) {
        const QString path =
            dir.filePath(prefix + QStringLiteral("%1.jpg").arg(i + 1, 4, 10, QLatin1Char('0')));
        const QImage pixels = orvello::bench::noisyPhoto(width, height, quint32(i + 1));
        QByteArray jpeg = orvello::bench::cameraJpeg(pixels, quality);
        if (!preview.isEmpty())
            jpeg = orvello::fixtures::withMpfPreview(
                jpeg, orvello::fixtures::makeJpeg(
                          pixels.scaled(preview, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                          {}, 85, orvello::fixtures::Chroma::Half420));
        if (!orvello::fixtures::writeFile(path, jpeg)) return 1;
    }
    return 0;
}
