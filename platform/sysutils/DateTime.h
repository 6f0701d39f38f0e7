#pragma once
// Dates and times as the class library keeps them: a TDateTime is a count of days
// since 30 December 1899, local time, the fraction being the time of day. The texts
// follow the environment's regional time and date formats (LC_TIME). The clock is
// replaceable so that tests see fixed times.
#include <cstdint>
#include <functional>
#include <string>

namespace sysutils {

using TDateTime = double;

TDateTime Now();

// The time of day of `value` in the regional long time format, e.g. "14:03:07".
std::string TimeToStr(TDateTime value);
// The date of `value` in the regional short date format, e.g. "12/10/26".
std::string DateToStr(TDateTime value);
// The date of `value` in the regional long date format: the weekday, the day, the
// month's name and the year, in the order the region writes them, e.g.
// "Thursday, December 10, 2026" or "Donnerstag, 10. Dezember 2026".
std::string LongDateToStr(TDateTime value);

// A TDateTime from calendar fields (local time).
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond);

// The millisecond tick counter that the engine times its indices with.
std::int64_t GetTickCount();

// Replaces GetTickCount() for the lifetime of the object (tests).
class ScopedTickCounter {
public:
    explicit ScopedTickCounter(std::function<std::int64_t()> counter);
    ~ScopedTickCounter();
    ScopedTickCounter(const ScopedTickCounter&) = delete;
    ScopedTickCounter& operator=(const ScopedTickCounter&) = delete;

private:
    std::function<std::int64_t()> previous_;
};

// Replaces Now() for the lifetime of the object (tests).
class ScopedClock {
public:
    explicit ScopedClock(std::function<TDateTime()> clock);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    std::function<TDateTime()> previous_;
};

}  // namespace sysutils
