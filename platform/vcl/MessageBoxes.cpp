#include "vcl/MessageBoxes.h"

#include <condition_variable>
#include <memory>
#include <mutex>

#include <QApplication>
#include <QMessageBox>

#include "vcl/TThread.h"
#include "vcl/WindowThread.h"

namespace vcl {

sysutils::MessageAnswer QtMessageBoxes::show(const sysutils::MessageBox& box) {
    QMessageBox dialog(QApplication::activeWindow());
    dialog.setWindowTitle(QString::fromStdString(box.caption));
    dialog.setText(QString::fromStdString(box.text));
    dialog.setTextFormat(Qt::PlainText);
    if (box.buttons == sysutils::MessageButtons::YesNo) {
        dialog.setIcon(QMessageBox::Question);
        dialog.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        dialog.setDefaultButton(QMessageBox::Yes);
        return dialog.exec() == QMessageBox::Yes ? sysutils::MessageAnswer::Yes : sysutils::MessageAnswer::No;
    }
    if (box.icon == sysutils::MessageIcon::Exclamation) dialog.setIcon(QMessageBox::Warning);
    dialog.setStandardButtons(QMessageBox::Ok);
    dialog.exec();
    return sysutils::MessageAnswer::Ok;
}

void QtMessageBoxes::beep() { QApplication::beep(); }

WindowThreadMessageBoxes::WindowThreadMessageBoxes(sysutils::MessageBoxes& shown)
    : shown_(shown), previous_(&sysutils::messageBoxes()) {
    sysutils::installMessageBoxes(this);
}

WindowThreadMessageBoxes::~WindowThreadMessageBoxes() { sysutils::installMessageBoxes(previous_); }

sysutils::MessageAnswer WindowThreadMessageBoxes::show(const sysutils::MessageBox& box) {
    if (WindowThread::IsCurrent()) return shown_.show(box);
    // A box that is never shown (the program ends first) answers like a closed box.
    sysutils::MessageAnswer answer =
        box.buttons == sysutils::MessageButtons::YesNo ? sysutils::MessageAnswer::No : sysutils::MessageAnswer::Ok;
    if (TThread* thread = TThread::Current()) {
        thread->Synchronize([&] { answer = shown_.show(box); }, "box: " + box.text);
        return answer;
    }
    // Another thread of our own: carry the box over and wait for it.
    struct Wait {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        sysutils::MessageAnswer answer;
    };
    auto wait = std::make_shared<Wait>();
    wait->answer = answer;
    WindowThread::Post([this, wait, box](bool run) {
        sysutils::MessageAnswer result = wait->answer;
        if (run) result = shown_.show(box);
        std::lock_guard<std::mutex> lock(wait->mutex);
        wait->answer = result;
        wait->finished = true;
        wait->done.notify_all();
    });
    std::unique_lock<std::mutex> lock(wait->mutex);
    wait->done.wait(lock, [&] { return wait->finished; });
    return wait->answer;
}

}  // namespace vcl
