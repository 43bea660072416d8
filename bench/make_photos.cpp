// Writes N generated 24-megapixel camera-like photos into a folder, for the stamping benchmark.
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
    for (int i = 0; i < count; ++i) {
        const QString path =
            dir.filePath(QStringLiteral("IMG_%1.jpg").arg(i + 1, 4, 10, QLatin1Char('0')));
        if (!orvello::fixtures::writeFile(
                path,
                orvello::bench::cameraJpeg(orvello::bench::noisyPhoto(6000, 4000, quint32(i + 1)))))
            return 1;
    }
    return 0;
}
