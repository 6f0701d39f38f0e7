#pragma once
// What an analysis that measures the distances between the features of one feature class
// holds at its peak beyond what the process holds once the features are read: the figure
// that the class compares with the memory the process can still take
// (sysutils/AvailableMemory.h) before anything of the analysis is written.
//
// The process's code and libraries, the features and their shapes, and whatever else it
// allocated before are in the use that the available memory is taken from already. Each
// term below is an upper bound of the resident memory it stands for, as measured on the
// benchmark's layers (bench/RESULTS.md):
// - measuring: the facets of every usable shape (Facets::bytesFor) and the first block of
//   rows; the neighbours within a width, unknown ahead, are checked as they are found
//   (memoryBesideMeasuring);
// - the threads that measure: the stack pages they touch and the free blocks that their
//   allocator's arenas keep beside the facets;
// - the outputs' buffers: the rows that the buffering insert cursors of the two tables
//   keep (DbaseTable.h), and the stream buffers of the text files and of the table files;
// - per feature, what the analysis and the host keep of it while the analysis runs: its
//   geometry object, its record among the features processed (with the growth of that
//   list and of its index), its place in the cursors over all features;
// - the page tables and the allocator's bookkeeping: 1/128 of all of it, and the
//   kernel's own memory for the written files that the control group is charged with.
// The pages of the written outputs that the system holds until it has written them back
// are not counted: the run's own memory is.
#include <cstddef>
#include <cstdint>

namespace gishost::model {

struct MeasuringRun {
    std::size_t features = 0;
    std::uint64_t facetBytes = 0;      // the facets of every usable shape
    std::uint64_t blockDistances = 0;  // in the first block of rows
    unsigned threads = 1;              // that measure, the calling thread included
};

// In bytes.
std::uint64_t analysisPeakMemory(const MeasuringRun& run);

// The part of it that is not measuring's own: the threads', the outputs' and the
// features' terms and the kernel's. The lists of neighbours within a width are found at
// an analysis's first search, before it writes its first line, and it takes this after
// them: their checks keep it aside.
std::uint64_t memoryBesideMeasuring(std::size_t features, unsigned threads);

}  // namespace gishost::model
