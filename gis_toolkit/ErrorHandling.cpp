#include "gis_toolkit/ErrorHandling.h"

#include "com/ComPtr.h"
#include "com/Creation.h"
#include "com/Error.h"
#include "forms/IErrorReport.h"
#include "sysutils/MessageBoxes.h"

namespace gis_toolkit::ErrorHandling {
namespace {

constexpr const char* lineEnd = "\r\n";

// The window of display mode 4, kept for the life of the library. Never destroyed: it
// would outlive the window system at the end of the process.
com::ComPtr<forms::IErrorReport>& errorReportWindow() {
    static auto* window = new com::ComPtr<forms::IErrorReport>;
    return *window;
}

std::string warningText(const std::string& callStackLine, const std::string& text) {
    return std::string("An error has occured in the application.   Record the call stack sequence") + lineEnd +
           "and the description of the error." + lineEnd + lineEnd + "Error Call Stack Sequence " + lineEnd + "\t" +
           callStackLine + lineEnd + text;
}

void showWarningBox(const std::string& callStackLine, const std::string& text) {
    sysutils::Beep();
    sysutils::messageBoxes().show(sysutils::MessageBox{warningText(callStackLine, text), "Unexpected Program Error",
                                                       sysutils::MessageButtons::Ok,
                                                       sysutils::MessageIcon::Exclamation});
}

}  // namespace

bool StackStarted = false;

std::string ErrorLineText(std::int32_t lineNumber) {
    return lineNumber == 0 ? std::string() : "Line : " + std::to_string(lineNumber);
}

std::string ErrorBlock(std::int32_t errNumber, const std::string& errDescription) {
    return std::string(lineEnd) + "Error Number " + lineEnd + "\t" + std::to_string(errNumber) + lineEnd +
           "Description" + lineEnd + "\t" + errDescription + lineEnd + lineEnd;
}

void ShowErrorMessage(const std::string& callStackLine, const std::string& text) {
    showWarningBox(callStackLine, text);
}

bool ShowErrorPrompt(const std::string& callStackLine, const std::string& text) {
    showWarningBox(callStackLine, text);
    return false;
}

void ShowErrorReport(const std::string& callStackLine, const std::string& text) {
    com::ComPtr<forms::IErrorReport>& window = errorReportWindow();
    if (!window) window = com::createInstanceAs<forms::IErrorReport>(forms::CLSID_ErrorReportWindow);
    window->SetReportText(std::string("Record Call Stack Sequence - Bottom line is error line.") + lineEnd + lineEnd +
                          "\t" + callStackLine + lineEnd + text);
    window->Display(true);
}

void ReleaseErrorReportWindow() { errorReportWindow().reset(); }

void HandleError(bool topLevel, const std::string& callStackLine, std::int32_t errNumber, const std::string& errSource,
                 const std::string& errDescription, std::int32_t displayMode) {
    const std::string line = callStackLine;
    const std::string source = errSource;
    const std::string description = errDescription;
    const std::string text = StackStarted ? description : ErrorBlock(errNumber, description);
    if (!topLevel) {
        StackStarted = true;
        throw com::Error(errNumber, source, "\t" + line + lineEnd + text);
    }
    StackStarted = false;
    switch (displayMode) {
        case 4: ShowErrorReport(line, text); break;
        case 3:
            if (ShowErrorPrompt(line, text)) throw com::Error(errNumber, source, "\t" + line + lineEnd + text);
            break;
        case 2: ShowErrorMessage(line, text); break;
        default: showWarningBox(line, text); break;
    }
}

}  // namespace gis_toolkit::ErrorHandling
