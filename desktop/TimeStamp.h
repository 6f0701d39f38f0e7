#pragma once
// The time texts of the event log: a time stamp is the time of day, a blank and the
// date in the regional formats; the elapsed time is the difference of two full dates
// and times, written as a time of day.
#include <string>

#include "sysutils/DateTime.h"

namespace desktop {

std::string timeStamp(sysutils::TDateTime moment);
std::string elapsedTime(sysutils::TDateTime start, sysutils::TDateTime end);

}  // namespace desktop
