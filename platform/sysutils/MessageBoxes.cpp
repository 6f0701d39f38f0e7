#include "sysutils/MessageBoxes.h"

#include <atomic>
#include <cstdio>

namespace sysutils {
namespace {

std::atomic<MessageBoxes*> installed{nullptr};

MessageAnswer defaultAnswer(const MessageBox& box) {
    return box.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

}  // namespace

MessageAnswer PrintedMessageBoxes::show(const MessageBox& box) {
    std::fprintf(stderr, "[%s] %s\n", box.caption.c_str(), box.text.c_str());
    return defaultAnswer(box);
}

MessageBoxes& messageBoxes() {
    static PrintedMessageBoxes fallback;
    MessageBoxes* current = installed.load();
    return current != nullptr ? *current : fallback;
}

void installMessageBoxes(MessageBoxes* boxes) { installed.store(boxes); }

void ShowMessage(const std::string& text, const std::string& caption) {
    messageBoxes().show(MessageBox{text, caption, MessageButtons::Ok});
}

bool Confirm(const std::string& text, const std::string& caption) {
    return messageBoxes().show(MessageBox{text, caption, MessageButtons::YesNo}) == MessageAnswer::Yes;
}

void Beep() { messageBoxes().beep(); }

ScriptedMessageBoxes::ScriptedMessageBoxes() : previous_(installed.exchange(this)) {}

ScriptedMessageBoxes::~ScriptedMessageBoxes() { installed.store(previous_); }

MessageAnswer ScriptedMessageBoxes::show(const MessageBox& box) {
    std::lock_guard<std::mutex> lock(mutex_);
    boxes_.push_back(box);
    if (box.buttons == MessageButtons::YesNo && !answers_.empty()) {
        const MessageAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    return defaultAnswer(box);
}

void ScriptedMessageBoxes::beep() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++beeps_;
}

int ScriptedMessageBoxes::beeps() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return beeps_;
}

void ScriptedMessageBoxes::answerNext(MessageAnswer answer) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_.push_back(answer);
}

std::vector<MessageBox> ScriptedMessageBoxes::boxes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return boxes_;
}

std::vector<std::string> ScriptedMessageBoxes::texts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> result;
    for (const MessageBox& box : boxes_) result.push_back(box.text);
    return result;
}

void ScriptedMessageBoxes::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    boxes_.clear();
}

}  // namespace sysutils
