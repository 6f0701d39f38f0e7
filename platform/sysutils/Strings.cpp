#include "sysutils/Strings.h"

namespace sysutils {

void TStringList::Add(const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.push_back(line);
}

void TStringList::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.clear();
}

int TStringList::Count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(lines_.size());
}

std::string TStringList::Strings(int index) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_.at(static_cast<std::size_t>(index));
}

std::vector<std::string> TStringList::lines() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
}

void TwoPanelStatus::setPanelText(int panel, const std::string& text) {
    if (panel < 0 || panel > 1) return;
    std::lock_guard<std::mutex> lock(mutex_);
    panels_[panel] = text;
    history_.push_back(std::to_string(panel) + ":" + text);
}

std::string TwoPanelStatus::panelText(int panel) const {
    if (panel < 0 || panel > 1) return {};
    std::lock_guard<std::mutex> lock(mutex_);
    return panels_[panel];
}

std::vector<std::string> TwoPanelStatus::history() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return history_;
}

}  // namespace sysutils
