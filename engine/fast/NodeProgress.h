#pragma once
// The status texts of the per-node processing, in the reference's order and wording: one
// pair of texts per node record, existing nodes first, then candidates. The fast path
// computes all per-node landscapes at once, so it reports them as its work advances, and
// the last node's texts (100 %) only when every landscape is done. Called on the calling
// thread only.
#include <cstdint>

#include "sysutils/Strings.h"

namespace engine {
class tamblorProgram;
}

namespace engine::fast {

class NodeProgress {
public:
    NodeProgress(const tamblorProgram& run, sysutils::StatusPanels& status, std::int64_t units);

    // One more unit of the announced work is done.
    void advance();
    // Everything is done: the remaining texts, the last node's included.
    void finish();

private:
    void reportUpTo(std::int64_t reported);

    const tamblorProgram& run_;
    sysutils::StatusPanels& status_;
    std::int64_t units_;
    std::int64_t done_ = 0;
    std::int64_t records_;
    std::int64_t reported_ = 0;
};

}  // namespace engine::fast
