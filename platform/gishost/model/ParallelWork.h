#pragma once
// Work spread over all cores: a pool of threads, started on first use and kept for the
// life of the process, that runs the parts of a range of items. The calling thread
// works too and returns when every part is done; the first exception of a part is
// raised again on the calling thread.
#include <cstddef>
#include <functional>

namespace gishost::model {

// Calls `work(begin, end)` for consecutive parts of [0, count), on all cores.
void parallelFor(std::size_t count, const std::function<void(std::size_t begin, std::size_t end)>& work);

// The threads that work on a range, the calling thread included.
unsigned parallelThreads();

}  // namespace gishost::model
