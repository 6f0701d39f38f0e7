#include "sysutils/DateTime.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <langinfo.h>
#include <locale.h>
#include <mutex>

namespace sysutils {
namespace {

constexpr double secondsPerDay = 86400.0;
// Days from 30 December 1899 to 1 January 1970.
constexpr double unixEpochDays = 25569.0;

std::mutex clockMutex;
std::function<TDateTime()>& clockFunction() {
    static std::function<TDateTime()> clock;
    return clock;
}

std::function<std::int64_t()>& tickCounterFunction() {
    static std::function<std::int64_t()> counter;
    return counter;
}

TDateTime systemNow() {
    const auto now = std::chrono::system_clock::now();
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    const std::time_t seconds = static_cast<std::time_t>(milliseconds / 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                          local.tm_sec, static_cast<int>(milliseconds % 1000));
}

std::tm toTm(TDateTime value) {
    // Round to the millisecond first, so that 0.999999 s of binary noise does not lose a second.
    const double totalMilliseconds = std::floor(value * secondsPerDay * 1000.0 + 0.5);
    const double totalSeconds = std::floor(totalMilliseconds / 1000.0);
    const std::time_t seconds = static_cast<std::time_t>(totalSeconds - unixEpochDays * secondsPerDay);
    std::tm fields{};
    gmtime_r(&seconds, &fields);  // the value already is local time
    return fields;
}

std::string format(TDateTime value, const char* pattern) {
    const std::tm fields = toTm(value);
    locale_t locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    char buffer[128];
    std::size_t length = 0;
    if (locale != static_cast<locale_t>(nullptr)) {
        length = strftime_l(buffer, sizeof buffer, pattern, &fields, locale);
        freelocale(locale);
    } else {
        length = std::strftime(buffer, sizeof buffer, pattern, &fields);
    }
    return std::string(buffer, length);
}

}  // namespace

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    const std::time_t midnight = timegm(&fields);
    const double days = static_cast<double>(midnight) / secondsPerDay + unixEpochDays;
    return days + (hour * 3600.0 + minute * 60.0 + second + millisecond / 1000.0) / secondsPerDay;
}

TDateTime Now() {
    std::lock_guard<std::mutex> lock(clockMutex);
    if (clockFunction()) return clockFunction()();
    return systemNow();
}

std::string TimeToStr(TDateTime value) { return format(value, "%X"); }

std::string DateToStr(TDateTime value) { return format(value, "%x"); }

std::string LongDateToStr(TDateTime value) {
    // The region's short date tells whether it puts the month before the day; the
    // long form then spells out the weekday and the month in the region's language.
    std::string shortPattern = "%m/%d/%y";
    locale_t locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (locale != static_cast<locale_t>(nullptr)) {
        shortPattern = nl_langinfo_l(D_FMT, locale);
        freelocale(locale);
    }
    const std::size_t month = shortPattern.find("%m");
    const std::size_t day = shortPattern.find("%d");
    const bool monthFirst = month != std::string::npos && (day == std::string::npos || month < day);
    if (monthFirst) return format(value, "%A, %B %-d, %Y");
    const bool dotted = shortPattern.find('.') != std::string::npos;
    return format(value, dotted ? "%A, %-d. %B %Y" : "%A, %-d %B %Y");
}

std::int64_t GetTickCount() {
    {
        std::lock_guard<std::mutex> lock(clockMutex);
        if (tickCounterFunction()) return tickCounterFunction()();
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

ScopedTickCounter::ScopedTickCounter(std::function<std::int64_t()> counter) {
    std::lock_guard<std::mutex> lock(clockMutex);
    previous_ = tickCounterFunction();
    tickCounterFunction() = std::move(counter);
}

ScopedTickCounter::~ScopedTickCounter() {
    std::lock_guard<std::mutex> lock(clockMutex);
    tickCounterFunction() = std::move(previous_);
}

ScopedClock::ScopedClock(std::function<TDateTime()> clock) {
    std::lock_guard<std::mutex> lock(clockMutex);
    previous_ = clockFunction();
    clockFunction() = std::move(clock);
}

ScopedClock::~ScopedClock() {
    std::lock_guard<std::mutex> lock(clockMutex);
    clockFunction() = std::move(previous_);
}

}  // namespace sysutils
