#pragma once
// Where a run's photo buffers come from: one heap, kept from photo to photo and, where the system
// allows it, backed by huge pages.
#include <QtGlobal>

namespace orvello {

// Before the first allocation that matters: at the start of main.
void keepPhotoBuffers();

// Once the run knows how much its workers hold at once: that much of the heap is set aside and
// asked for in huge pages. Nothing is touched until a photo needs it.
void reservePhotoHeap(qint64 bytes);

}  // namespace orvello
