#pragma once
// Test helper for modal windows: answers a window as a user would, each time a window
// of the caption given is shown, once the window's own event loop runs (never waiting on
// time).
#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace testing_support {

// Answers a modal window: each time a window of that caption is shown, the action runs
// on it once the window's own event loop runs.
class WhenShown : public QObject {
public:
    WhenShown(QString caption, std::function<void(QWidget*)> action)
        : caption_(std::move(caption)), action_(std::move(action)) {
        qApp->installEventFilter(this);
    }
    ~WhenShown() override { qApp->removeEventFilter(this); }
    int times() const { return times_; }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* window = qobject_cast<QWidget*>(object);
        if (event->type() == QEvent::Show && window != nullptr && window->isWindow() &&
            window->windowTitle() == caption_) {
            ++times_;
            QTimer::singleShot(0, this, [this, shown = QPointer<QWidget>(window)] {
                if (shown) action_(shown);
            });
        }
        return false;
    }

private:
    QString caption_;
    std::function<void(QWidget*)> action_;
    int times_ = 0;
};

}  // namespace testing_support
