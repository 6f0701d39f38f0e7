#pragma once
// Test helpers for windows: answering a modal window as a user would, each time a window
// of the caption given is shown, once the window's own event loop runs (never waiting on
// time); finding a window's controls by name and choosing a list's row.
#include <QApplication>
#include <QEvent>
#include <QListWidget>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

#include <gtest/gtest.h>

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


// The control of that object name in a window; a test failure when there is none.
template <class T>
T* child(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(name);
    if (found == nullptr) ADD_FAILURE() << "no control " << name;
    return found;
}

// Selects the one row of a list that reads `text`, as a click on it would.
inline void chooseRow(QWidget* window, const char* list, const QString& text) {
    QListWidget* rows = child<QListWidget>(window, list);
    if (rows == nullptr) return;
    const QList<QListWidgetItem*> items = rows->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << list << " " << text.toStdString();
    rows->setCurrentItem(items.front(), QItemSelectionModel::ClearAndSelect);
}

}  // namespace testing_support
