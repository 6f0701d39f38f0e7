#include "gishost/model/AnalysisPeakMemory.h"

#include "gishost/model/DbaseTable.h"

namespace gishost::model {
namespace {

using Bytes = std::uint64_t;

// A thread's stack pages and the free blocks of its arena: about 12 KiB and 64 KiB
// measured with eight threads.
constexpr Bytes perThread = Bytes{128} << 10;
// The rows that the buffering insert cursors of the two tables keep, each with a record
// more; the stream buffers of 4 KiB of the text files and of the table files while rows
// are written, shapelib's record buffers.
constexpr Bytes outputBuffers = 2 * bufferedRowsBytes + (Bytes{64} << 10);
// Measured up to about 460 bytes at the peak of the heap: the record among the features
// processed (96 bytes, in a list and an index that double as they grow, the old beside
// the new while they do), the geometry object, the positions in the cursors over all
// features.
constexpr Bytes perFeature = 512;

// The kernel's own memory for the run that the memory control group is charged with:
// the written files' records and the index of their pages in the page cache, the page
// tables of the new blocks. Measured up to 1.1 MiB as the group's kmem.
constexpr Bytes kernelMemory = Bytes{3} << 19;

Bytes withBookkeeping(Bytes bytes) { return bytes + bytes / 128; }

}  // namespace

std::uint64_t analysisPeakMemory(const MeasuringRun& run) {
    return withBookkeeping(run.facetBytes + run.blockDistances * sizeof(double)) +
           memoryBesideMeasuring(run.features, run.threads);
}

std::uint64_t memoryBesideMeasuring(std::size_t features, unsigned threads) {
    return withBookkeeping(threads * perThread + outputBuffers + features * perFeature) + kernelMemory;
}

}  // namespace gishost::model
