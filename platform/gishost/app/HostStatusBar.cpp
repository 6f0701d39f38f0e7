#include "gishost/app/HostStatusBar.h"

#include <QLabel>
#include <QLayout>
#include <QProgressBar>
#include <QStatusBar>
#include <algorithm>

#include "gishost/app/QtText.h"

namespace gishost::app {

HostStatusBar::HostStatusBar(QStatusBar* bar) : bar_(bar) {
    message_ = new QLabel(bar);
    message_->setObjectName(QStringLiteral("messagePane"));
    message_->setTextFormat(Qt::PlainText);
    message_->setMinimumWidth(1);
    progress_ = new QProgressBar(bar);
    progress_->setObjectName(QStringLiteral("progressBar"));
    progress_->setMaximumWidth(240);
    progress_->setTextVisible(true);
    progress_->hide();
    bar->addWidget(message_, 1);
    bar->addPermanentWidget(progress_);
    showRange();
}

std::string HostStatusBar::Message(std::int32_t pane) {
    const auto found = panes_.find(pane);
    return found == panes_.end() ? std::string() : found->second;
}

void HostStatusBar::put_Message(std::int32_t pane, const std::string& message) {
    panes_[pane] = message;
    if (pane != 0 || !message_) return;
    message_->setText(qtText(message));
    paint();
}

void HostStatusBar::ShowProgressBar(const std::string& message, std::int32_t minimum, std::int32_t maximum,
                                    std::int32_t step, bool) {
    // The bar and its message share the status bar: the message goes to the message pane.
    minimum_ = minimum;
    maximum_ = maximum;
    step_ = step;
    position_ = minimum;
    showRange();
    put_Message(message);
    Show();
}

void HostStatusBar::put_MinRange(std::int32_t value) {
    minimum_ = value;
    position_ = std::max(position_, minimum_);
    showRange();
    paint();
}

void HostStatusBar::put_MaxRange(std::int32_t value) {
    maximum_ = value;
    showRange();
    paint();
}

void HostStatusBar::put_Position(std::int32_t value) {
    position_ = value;
    if (progress_) progress_->setValue(std::clamp(position_, progress_->minimum(), progress_->maximum()));
    paint();
}

void HostStatusBar::put_Message(const std::string& message) {
    progressMessage_ = message;
    put_Message(0, message);
}

void HostStatusBar::Step() {
    const std::int64_t next = static_cast<std::int64_t>(position_) + step_;
    position_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(next, minimum_, std::max(minimum_, maximum_)));
    if (progress_) progress_->setValue(position_);
    paint();
}

void HostStatusBar::Show() {
    if (progress_) progress_->show();
    paint(/*now=*/true);
}

void HostStatusBar::Hide() {
    if (progress_) progress_->hide();
    paint(/*now=*/true);
}

void HostStatusBar::showRange() {
    if (!progress_) return;
    // A maximum below the minimum shows an empty bar rather than a reversed one.
    progress_->setRange(minimum_, std::max(minimum_, maximum_));
    progress_->setValue(std::clamp(position_, progress_->minimum(), progress_->maximum()));
}

void HostStatusBar::paint(bool now) {
    if (!bar_) return;
    const auto time = std::chrono::steady_clock::now();
    if (!now && time - painted_ < repaintInterval) return;
    painted_ = time;
    // The caller holds the window thread: lay the bar out and paint it without waiting
    // for the event loop.
    if (QLayout* layout = bar_->layout()) layout->activate();
    bar_->repaint();
}

}  // namespace gishost::app
