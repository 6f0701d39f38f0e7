#include "gis_toolkit/MyGeneralOperations.h"

#include <cmath>

#include "gis_toolkit/ErrorHandler.h"
#include "winapi/Shell.h"

namespace gis_toolkit::MyGeneralOperations {
namespace {

const std::string module = "MyGeneralOperations";

std::string replacedAll(std::string text, const std::string& placeholder, const std::string& value) {
    for (std::size_t position = text.find(placeholder); position != std::string::npos;
         position = text.find(placeholder, position + value.size()))
        text.replace(position, placeholder.size(), value);
    return text;
}

std::string dateTimeText(sysutils::TDateTime value) {
    return sysutils::LongDateToStr(value) + " at " + sysutils::TimeToStr(value);
}

// Whole seconds since 30 December 1899, the time rounded to the millisecond first.
std::int64_t wholeSeconds(sysutils::TDateTime value) {
    return static_cast<std::int64_t>(std::floor(std::floor(value * 86400000.0 + 0.5) / 1000.0));
}

std::string counted(std::int64_t number, const char* singular, const char* plural) {
    return std::to_string(number) + (number == 1 ? singular : plural);
}

}  // namespace

std::string ConvertLongBinary(std::int32_t value, std::int32_t minimumLength) {
    std::string result;
    ErrorHandler handler("ConvertLongBinary", module);
    handler.run([&] {
        // Halving down to the final 1; 0 has the single digit 0.
        std::uint32_t rest = static_cast<std::uint32_t>(value);
        if (rest == 0) result = "0";
        while (rest > 1) {
            result.insert(result.begin(), static_cast<char>('0' + rest % 2));
            rest /= 2;
        }
        if (rest == 1) result.insert(result.begin(), '1');
        if (minimumLength > static_cast<std::int32_t>(result.size()))
            result.insert(0, static_cast<std::size_t>(minimumLength) - result.size(), '0');
    });
    return result;
}

std::string ElapsedTimeText(std::int64_t seconds) {
    if (seconds < 0) seconds = 0;  // a clock set back during the analysis
    const std::int64_t days = seconds / 86400;
    const std::int64_t hours = (seconds % 86400) / 3600;
    const std::int64_t minutes = (seconds % 3600) / 60;
    const std::int64_t rest = seconds % 60;
    std::string text = "Time Elapsed: ";
    if (days > 0) text += counted(days, " day", " days") + ", ";
    if (days > 0 || hours > 0) text += counted(hours, " hour", " hours") + ", ";
    if (days > 0 || hours > 0 || minutes > 0) text += counted(minutes, " minute", " minutes") + ", ";
    return text + counted(rest, " second...", " seconds...");
}

std::string ReturnTimeElapsedRTF(sysutils::TDateTime start, sysutils::TDateTime end, std::int32_t fontSize) {
    std::string result;
    ErrorHandler handler("ReturnTimeElapsedRTF", module);
    handler.run([&] {
        std::string lines = "\\b\\fszzzFontSizezzz Analysis Began:\\b0\\i    zzzTimeBeganzzz\\par\r\n"
                            "\\b\\i0 Analysis Complete:\\b0\\i    zzzTimeEndzzz\\par\r\n"
                            "\\b\\i0 Time Elapsed:\\b0\\i    zzzTimeElapsedzzz\\par\r\n";
        lines = replacedAll(lines, "zzzFontSizezzz", std::to_string(static_cast<std::int64_t>(fontSize) * 2));
        lines = replacedAll(lines, "zzzTimeBeganzzz", dateTimeText(start));
        lines = replacedAll(lines, "zzzTimeEndzzz", dateTimeText(end));
        result = replacedAll(lines, "zzzTimeElapsedzzz", ElapsedTimeText(wholeSeconds(end) - wholeSeconds(start)));
    });
    return result;
}

void OpenDoc(const std::string& fileName, const std::string& folder) {
    ErrorHandler handler("OpenDoc", module);
    handler.run([&] {
        winapi::ShellExecuteA(nullptr, nullptr, fileName.c_str(), nullptr, folder.c_str(), winapi::SW_SHOWNORMAL);
    });
}

}  // namespace gis_toolkit::MyGeneralOperations
