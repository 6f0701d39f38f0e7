#pragma once
// The extension's error reporter. Every procedure that can fail ends in one handler
// (ErrorHandler.h) that hands the failure to HandleError: a top-level procedure shows
// the report, a procedure that passes errors up raises the error again to its caller
// with its own call-stack line in front, until a top-level procedure shows it. The
// report lists the outermost procedure first and the one where the error arose last,
// then the error's number and description.
//
// Texts (CR LF = carriage return and line feed, TAB = the tab character):
//   call-stack line  "<procedure> <module> " followed by ErrorLineText(line)
//   error block      CR LF "Error Number " CR LF TAB <number> CR LF "Description" CR LF
//                    TAB <description> CR LF CR LF
//   report (mode 4)  "Record Call Stack Sequence - Bottom line is error line." CR LF CR LF
//                    TAB <call-stack line> CR LF <text>
#include <cstdint>
#include <string>

namespace gis_toolkit::ErrorHandling {

// True while an error that a lower procedure passed up is climbing the chain: its
// description already holds the error block.
extern bool StackStarted;

// Display modes: 4 the error-report window, 2 a warning box, 3 a warning box through
// the prompt display; any other value a warning box built in place.
void HandleError(bool topLevel, const std::string& callStackLine, std::int32_t errNumber, const std::string& errSource,
                 const std::string& errDescription, std::int32_t displayMode);

// "Line : <number>", or "" for line 0.
std::string ErrorLineText(std::int32_t lineNumber);

// Beeps and shows the warning box "Unexpected Program Error" with the call stack.
void ShowErrorMessage(const std::string& callStackLine, const std::string& text);
// Shows the box of ShowErrorMessage and answers False: the error is not raised again.
bool ShowErrorPrompt(const std::string& callStackLine, const std::string& text);
// Hands the report to the error-report window (created on first use and kept) and shows it.
void ShowErrorReport(const std::string& callStackLine, const std::string& text);

// The error block of an error.
std::string ErrorBlock(std::int32_t errNumber, const std::string& errDescription);

// Lets go of the error-report window, so that the next report creates it anew (tests
// that register a stand-in of their own).
void ReleaseErrorReportWindow();

}  // namespace gis_toolkit::ErrorHandling
