#pragma once
// The worker's view of the main window's event log and status bar: each call is
// carried to the window thread through the worker's Synchronize (a hold point).
// Status texts of panel 1 come once per processed node, which the progress counts.
#include <string>

#include "desktop/ExecutionProgress.h"
#include "sysutils/Strings.h"
#include "vcl/TThread.h"

namespace desktop {

class WindowEventLog : public sysutils::TStrings {
public:
    explicit WindowEventLog(vcl::TThread& worker) : worker_(worker) {}
    void Add(const std::string& line) override;
    void Clear() override;
    int Count() const override;
    std::string Strings(int index) const override;

private:
    vcl::TThread& worker_;
};

class WindowStatus : public sysutils::StatusPanels {
public:
    WindowStatus(vcl::TThread& worker, ExecutionProgress& progress) : worker_(worker), progress_(progress) {}
    void setPanelText(int panel, const std::string& text) override;
    // The worker was cancelled: the engine gives up its parallel step.
    bool abandoned() const override { return worker_.Terminated(); }

private:
    vcl::TThread& worker_;
    ExecutionProgress& progress_;
};

}  // namespace desktop
