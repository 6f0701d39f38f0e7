#include "engine/RepeatedFaultBoxes.h"

#include <utility>

#include "sysutils/FloatConversion.h"
#include "sysutils/MessageBoxes.h"

namespace engine {

RepeatedFaultBoxes::RepeatedFaultBoxes(std::string fault, std::string file, const char* caption)
    : fault_(std::move(fault)), file_(std::move(file)), caption_(caption) {}

void RepeatedFaultBoxes::show(const std::string& text) {
    if (shown_ < shownPerCheck) {
        ++shown_;
        sysutils::ShowMessage(text, caption_);
    } else {
        ++leftOut_;
    }
}

void RepeatedFaultBoxes::finish() {
    if (leftOut_ == 0) return;
    const std::int64_t leftOut = leftOut_;
    leftOut_ = 0;  // one closing box per check
    sysutils::ShowMessage(leftOutText(leftOut, fault_, file_), caption_);
}

std::string RepeatedFaultBoxes::leftOutText(std::int64_t leftOut, const std::string& fault, const std::string& file) {
    return sysutils::IntToStr(leftOut) + (leftOut == 1 ? " further line" : " further lines") + " of the file " +
           file + (leftOut == 1 ? " has" : " have") + " the same fault (" + fault + "); " +
           (leftOut == 1 ? "its message is" : "their messages are") + " not shown one by one.";
}

}  // namespace engine
