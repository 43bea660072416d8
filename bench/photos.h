#pragma once
// Generated 24-megapixel camera-like photos for the benchmarks: a smooth scene under sensor-like
// noise, so that they decode and encode like real photos, with a realistic EXIF block.
#include <QByteArray>
#include <QImage>
#include <QString>

namespace benchmark {
class State;
}

namespace orvello::bench {

QImage noisyPhoto(int width = 6000, int height = 4000, quint32 seed = 1);
QByteArray cameraJpeg(const QImage& pixels, int quality = 92);

// The floor of opening a JPEG: TurboJPEG alone decoding it into one reused picture per iteration.
void turboJpegDecodeFloor(benchmark::State& state, const QByteArray& jpeg, QSize size);

}  // namespace orvello::bench
