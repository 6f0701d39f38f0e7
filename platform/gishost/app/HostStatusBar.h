#pragma once
// The application's status bar on the main window: the message pane (pane 0) is a label,
// the progress bar a QProgressBar beside it. A plug-in's analysis drives them from the
// window thread without returning to the event loop, so every change is painted at once,
// though at most once per repaint interval, so that stepping through many thousand
// features costs next to nothing; showing or hiding the bar is painted at once.
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QStatusBar>
#include <chrono>
#include <map>

#include "com/Object.h"
#include "gishost/Framework.h"

namespace gishost::app {

class HostStatusBar final : public com::Object<IStatusBar, IStepProgressor> {
public:
    static constexpr std::chrono::milliseconds repaintInterval{50};

    // Puts its label and progress bar into `bar`.
    explicit HostStatusBar(QStatusBar* bar);

    // IStatusBar
    std::string Message(std::int32_t pane) override;
    void put_Message(std::int32_t pane, const std::string& message) override;
    void ShowProgressBar(const std::string& message, std::int32_t minimum, std::int32_t maximum, std::int32_t step,
                         bool onePanel) override;
    void StepProgressBar() override { Step(); }
    void HideProgressBar() override { Hide(); }
    com::ComPtr<IStepProgressor> ProgressBar() override { return com::ComPtr<IStepProgressor>(this); }

    // IStepProgressor
    std::int32_t MinRange() override { return minimum_; }
    void put_MinRange(std::int32_t value) override;
    std::int32_t MaxRange() override { return maximum_; }
    void put_MaxRange(std::int32_t value) override;
    std::int32_t StepValue() override { return step_; }
    void put_StepValue(std::int32_t value) override { step_ = value; }
    std::int32_t Position() override { return position_; }
    void put_Position(std::int32_t value) override;
    std::string Message() override { return progressMessage_; }
    void put_Message(const std::string& message) override;
    void Step() override;
    void Show() override;
    void Hide() override;

    QLabel* messagePane() const { return message_; }
    QProgressBar* progressBar() const { return progress_; }

private:
    void showRange();
    // Paints the bar now when the last painting is at least an interval old, or `now`.
    void paint(bool now = false);

    QPointer<QStatusBar> bar_;
    QPointer<QLabel> message_;
    QPointer<QProgressBar> progress_;
    std::map<std::int32_t, std::string> panes_;
    std::string progressMessage_;
    std::int32_t minimum_ = 0;
    std::int32_t maximum_ = 100;
    std::int32_t step_ = 1;
    std::int32_t position_ = 0;
    std::chrono::steady_clock::time_point painted_{};
};

}  // namespace gishost::app
