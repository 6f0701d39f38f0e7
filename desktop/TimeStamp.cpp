#include "desktop/TimeStamp.h"

namespace desktop {

std::string timeStamp(sysutils::TDateTime moment) {
    return sysutils::TimeToStr(moment) + " " + sysutils::DateToStr(moment);
}

std::string elapsedTime(sysutils::TDateTime start, sysutils::TDateTime end) {
    // Full dates and times: a run that passes midnight still gives its true duration.
    const sysutils::TDateTime elapsed = end >= start ? end - start : 0.0;
    return sysutils::TimeToStr(elapsed);
}

}  // namespace desktop
