#include "vcl/Application.h"

#include <QApplication>

#include "sysutils/MessageBoxes.h"
#include "vcl/Forms.h"
#include "vcl/MessageBoxes.h"
#include "vcl/TThread.h"
#include "vcl/WindowThread.h"

namespace vcl {

TApplication* Application = nullptr;

TApplication::TApplication(int& argc, char** argv) : TComponent(nullptr) {
    if (QCoreApplication::instance() == nullptr) ownedApplication_ = std::make_unique<QApplication>(argc, argv);
    Application = this;
}

TApplication::~TApplication() {
    TThread::TerminateAll();
    WindowThread::Shutdown();
    DestroyForms();
    if (carriedBoxes_) SetExceptionHandler(std::move(previousExceptionHandler_));
    carriedBoxes_.reset();
    shownBoxes_.reset();
    if (Application == this) Application = nullptr;
}

void TApplication::Initialize() {
    WindowThread::Initialize();
    // Boxes shown from any thread are carried to the window thread; a test that
    // installed scripted boxes before keeps them as the shown ones.
    sysutils::MessageBoxes* shown = &sysutils::messageBoxes();
    if (dynamic_cast<sysutils::PrintedMessageBoxes*>(shown) != nullptr) {
        shownBoxes_ = std::make_unique<QtMessageBoxes>();
        shown = shownBoxes_.get();
    }
    carriedBoxes_ = std::make_unique<WindowThreadMessageBoxes>(*shown);
    previousExceptionHandler_ = SetExceptionHandler([this](const std::string& message) { ShowException(message); });
}

void TApplication::Run() {
    if (TForm* main = MainForm()) main->Show();
    if (!terminated_) QApplication::exec();
}

void TApplication::Terminate() {
    terminated_ = true;
    QCoreApplication::quit();
}

void TApplication::DestroyForms() {
    while (!forms_.empty()) {
        TForm* form = forms_.back();
        forms_.pop_back();
        delete form;
    }
}

void TApplication::ShowException(const std::string& message) { sysutils::ShowMessage(message, title_); }

void TApplication::MessageBox(const std::string& text, const std::string& caption) {
    sysutils::ShowMessage(text, caption);
}

void TApplication::addForm(TForm* form) { forms_.push_back(form); }

}  // namespace vcl
