#pragma once
// A stand-in for the error-report window: registered in the process's class table under
// the window's class identifier for the lifetime of the object, it records every report
// instead of showing it.
#include <string>
#include <vector>

#include "com/ClassFactory.h"
#include "com/ClassTable.h"
#include "forms/IErrorReport.h"
#include "gis_toolkit/ErrorHandling.h"

namespace testing_support {

class RecordingErrorReport {
public:
    RecordingErrorReport()
        : registration_(forms::CLSID_ErrorReportWindow, "", com::classFactory<Window>()) {
        gis_toolkit::ErrorHandling::ReleaseErrorReportWindow();
        reports().clear();
        gis_toolkit::ErrorHandling::StackStarted = false;
    }
    ~RecordingErrorReport() { gis_toolkit::ErrorHandling::ReleaseErrorReportWindow(); }
    RecordingErrorReport(const RecordingErrorReport&) = delete;
    RecordingErrorReport& operator=(const RecordingErrorReport&) = delete;

    // The text of every report shown so far.
    const std::vector<std::string>& shown() const { return reports(); }

private:
    class Window final : public com::Object<forms::IErrorReport> {
    public:
        void SetReportText(const std::string& text) override { text_ = text; }
        void Display(bool) override { reports().push_back(text_); }

    private:
        std::string text_;
    };

    static std::vector<std::string>& reports() {
        static std::vector<std::string> shownReports;
        return shownReports;
    }

    com::ScopedClassRegistration registration_;
};

}  // namespace testing_support
