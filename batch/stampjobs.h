#pragma once
// How many photos a batch stamps at once: no more than there are cores (more only adds memory),
// and no more than the free memory holds, given the largest photos of the batch.
#include <QByteArray>
#include <QList>

namespace orvello {

struct StampJobs {
    int jobs = 1;
    int cores = 1;
    qint64 availableBytes = 0;  // 0: unknown
    qint64 bytesPerJob = 0;     // what one worker holds for the largest photo seen
};

// asked: the number wanted (0: one per core).
StampJobs boundStampJobs(int asked, const QList<QByteArray>& sources);

// What one worker holds while it stamps a photo of this many pixels: the decoded picture, a turned
// copy and the encoder's rows, about three pictures' worth.
qint64 stampBytesPerPixelCount(qint64 pixels);

}  // namespace orvello
