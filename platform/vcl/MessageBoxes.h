#pragma once
// The window side of the message-box seam: QtMessageBoxes shows real modal boxes, and
// WindowThreadMessageBoxes carries a box asked for on any thread to the window thread
// and shows it there through another implementation. A worker thread's box goes
// through its Synchronize, so it is a hold point; the worker waits for the answer.
#include "sysutils/MessageBoxes.h"

namespace vcl {

class QtMessageBoxes : public sysutils::MessageBoxes {
public:
    sysutils::MessageAnswer show(const sysutils::MessageBox& box) override;
    void beep() override;
};

// Installs itself for its lifetime in place of the implementation in force.
class WindowThreadMessageBoxes : public sysutils::MessageBoxes {
public:
    explicit WindowThreadMessageBoxes(sysutils::MessageBoxes& shown);
    ~WindowThreadMessageBoxes() override;
    WindowThreadMessageBoxes(const WindowThreadMessageBoxes&) = delete;
    WindowThreadMessageBoxes& operator=(const WindowThreadMessageBoxes&) = delete;

    sysutils::MessageAnswer show(const sysutils::MessageBox& box) override;
    void beep() override { shown_.beep(); }

private:
    sysutils::MessageBoxes& shown_;
    sysutils::MessageBoxes* previous_;
};

}  // namespace vcl
