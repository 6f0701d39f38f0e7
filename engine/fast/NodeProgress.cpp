#include "engine/fast/NodeProgress.h"

#include <algorithm>
#include <string>

#include "engine/tamblorProgram.h"
#include "sysutils/FloatConversion.h"

namespace engine::fast {

NodeProgress::NodeProgress(const tamblorProgram& run, sysutils::StatusPanels& status, std::int64_t units)
    : run_(run), status_(status), units_(std::max<std::int64_t>(units, 1)),
      records_(static_cast<std::int64_t>(run.nNodes) + run.nAddedNodes) {}

void NodeProgress::advance() {
    done_ = std::min(done_ + 1, units_);
    // Hold the last record back: 100 % means every landscape is done.
    reportUpTo(std::min(records_ - 1, records_ * done_ / units_));
}

void NodeProgress::finish() { reportUpTo(records_); }

void NodeProgress::reportUpTo(std::int64_t reported) {
    for (; reported_ < reported; ++reported_) {
        const std::int64_t k = reported_;
        if (k < run_.nNodes) {
            status_.setPanelText(0, "Processing importance of node with ID " +
                                        sysutils::IntToStr(run_.nodeIds[static_cast<std::size_t>(k)]));
        } else {
            status_.setPanelText(0, "Processing importances of added nodes with ID " +
                                        sysutils::IntToStr(run_.addedNodeIds[static_cast<std::size_t>(k - run_.nNodes)]));
        }
        const std::int64_t processed = k + 1;
        const std::int64_t percent = run_.nNodeLines > 0 ? processed * 100 / run_.nNodeLines : 100;
        status_.setPanelText(1, sysutils::IntToStr(percent) + "% completed");
    }
}

}  // namespace engine::fast
