#include "gishost/model/StatusBar.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "com/Object.h"
#include "gishost/model/Recording.h"

namespace gishost::model {
namespace {

using Record = std::shared_ptr<std::vector<std::string>>;

class StepProgressor final : public com::Object<IStepProgressor> {
public:
    explicit StepProgressor(Record record) : record_(std::move(record)) {}

    std::int32_t MinRange() override { return minimum_; }
    void put_MinRange(std::int32_t value) override { set("MinRange", minimum_, value); }
    std::int32_t MaxRange() override { return maximum_; }
    void put_MaxRange(std::int32_t value) override { set("MaxRange", maximum_, value); }
    std::int32_t StepValue() override { return step_; }
    void put_StepValue(std::int32_t value) override { set("StepValue", step_, value); }
    std::int32_t Position() override { return position_; }
    void put_Position(std::int32_t value) override { set("Position", position_, value); }
    std::string Message() override { return message_; }
    void put_Message(const std::string& message) override {
        message_ = message;
        record_->push_back("ProgressBar.Message = " + message);
    }
    void Step() override {
        record_->push_back("ProgressBar.Step");
        advance();
    }
    void Show() override { record_->push_back("ProgressBar.Show"); }
    void Hide() override { record_->push_back("ProgressBar.Hide"); }

    // The status bar's own progress calls, which it records itself.
    void start(const std::string& message, std::int32_t minimum, std::int32_t maximum, std::int32_t step) {
        message_ = message;
        minimum_ = minimum;
        maximum_ = maximum;
        step_ = step;
        position_ = minimum;
    }
    void advance() {
        const std::int64_t next = static_cast<std::int64_t>(position_) + step_;
        position_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(next, minimum_, std::max(minimum_, maximum_)));
    }

private:
    void set(const char* name, std::int32_t& field, std::int32_t value) {
        field = value;
        record_->push_back(std::string("ProgressBar.") + name + " = " + std::to_string(value));
    }

    Record record_;
    std::int32_t minimum_ = 0;
    std::int32_t maximum_ = 100;
    std::int32_t step_ = 1;
    std::int32_t position_ = 0;
    std::string message_;
};

class StatusBar final : public com::Object<IStatusBar, IRecordedCalls> {
public:
    StatusBar()
        : record_(std::make_shared<std::vector<std::string>>()),
          progressor_(com::make<IStepProgressor, StepProgressor>(record_)) {}

    std::string Message(std::int32_t pane) override {
        const auto found = panes_.find(pane);
        return found == panes_.end() ? std::string() : found->second;
    }
    void put_Message(std::int32_t pane, const std::string& message) override {
        panes_[pane] = message;
        record_->push_back("Message(" + std::to_string(pane) + ") = " + message);
    }
    void ShowProgressBar(const std::string& message, std::int32_t minimum, std::int32_t maximum, std::int32_t step,
                         bool onePanel) override {
        progress().start(message, minimum, maximum, step);
        record_->push_back("ShowProgressBar(" + message + ", " + std::to_string(minimum) + ", " +
                           std::to_string(maximum) + ", " + std::to_string(step) + ", " + booleanText(onePanel) + ")");
    }
    void StepProgressBar() override {
        progress().advance();
        record_->push_back("StepProgressBar");
    }
    void HideProgressBar() override { record_->push_back("HideProgressBar"); }
    com::ComPtr<IStepProgressor> ProgressBar() override { return progressor_; }

    std::vector<std::string> RecordedCalls() override { return *record_; }

private:
    StepProgressor& progress() { return *static_cast<StepProgressor*>(progressor_.get()); }

    Record record_;
    com::ComPtr<IStepProgressor> progressor_;
    std::map<std::int32_t, std::string> panes_;
};

}  // namespace

com::ComPtr<IStatusBar> makeStatusBar() { return com::make<IStatusBar, StatusBar>(); }

}  // namespace gishost::model
