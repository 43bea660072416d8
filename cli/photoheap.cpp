#include "cli/photoheap.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include <malloc.h>
#include <sys/mman.h>

namespace orvello {

namespace {

constexpr qint64 kTrimBytes = qint64(512) << 20;
constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
// Beyond this the address space is not worth holding back; the heap grows past it as it needs.
constexpr qint64 kLargestReserve = qint64(1) << 30;

}  // namespace

void keepPhotoBuffers()
{
    // A photo's buffers (its file, its copy, the decoder's colour planes) serve the next photo:
    // kept by the allocator rather than handed back and faulted in afresh for every photo. Blocks
    // past the mapping threshold (a 24-megapixel photo's coefficients take 48 MB) come from the
    // heap too, and one heap serves every worker, since a worker's own heap is unmapped once
    // empty: faulting those pages in again took a tenth of a lossless copy's time. The price is
    // a peak some 100 MB higher on two workers, which does not grow with the number of photos.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, int(kTrimBytes));
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_ARENA_MAX, 1);
}

void reservePhotoHeap(qint64 bytes)
{
    // In 4 KB pages a 24-megapixel photo's buffers cost some 70,000 page faults per worker, and
    // as many pages for the kernel to take back one by one when the run ends, after the last
    // photo, while the other cores wait: a tenth of a run of four photos on two cores.
    bytes = std::min(bytes, kLargestReserve);
    if (bytes < qint64(kHugePage) * 2) return;
    // Freed below the trim threshold, the block stays in the heap as its free top.
    mallopt(M_TRIM_THRESHOLD, int(std::max(kTrimBytes, bytes + qint64(kHugePage) * 4)));
    void* block = std::malloc(size_t(bytes));
    if (!block) return;
    const auto start = (reinterpret_cast<std::uintptr_t>(block) + kHugePage - 1) & ~(kHugePage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(block) + size_t(bytes)) & ~(kHugePage - 1);
    // Refused where huge pages are off or unknown: the heap then stays as it was.
    if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    std::free(block);
}

}  // namespace orvello
