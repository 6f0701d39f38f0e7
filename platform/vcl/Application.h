#pragma once
// The application object: it owns the Qt application, the forms it created, the
// message loop, and the boxes the program shows. Initialize makes the calling thread
// the window thread and routes every message box through the window thread to the
// shown boxes (Qt's, unless a test installed its own before). The first form created
// is the main form; closing it ends the loop. At destruction the threads still alive
// are terminated, queued window calls are dropped and the forms are freed, last first.
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "vcl/Classes.h"

class QApplication;

namespace vcl {

class TForm;
class QtMessageBoxes;
class WindowThreadMessageBoxes;

class TApplication : public TComponent {
public:
    // Creates the Qt application unless one exists already (tests).
    TApplication(int& argc, char** argv);
    ~TApplication() override;

    void Initialize();
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }

    // Allocates the form, stores it in `reference` and only then constructs it, so that
    // its constructor reaches it through the reference while later forms are still null.
    template <class T>
    void CreateForm(T*& reference) {
        void* memory = ::operator new(sizeof(T));
        reference = static_cast<T*>(memory);
        try {
            new (memory) T(this);
        } catch (...) {
            reference = nullptr;
            ::operator delete(memory);
            throw;
        }
        addForm(reference);
    }

    TForm* MainForm() const { return forms_.empty() ? nullptr : forms_.front(); }
    // Shows the main form and runs the message loop until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Frees the forms, last created first.
    void DestroyForms();

    // The application's exception box: the message, captioned with the title.
    void ShowException(const std::string& message);
    // A box with an OK button.
    void MessageBox(const std::string& text, const std::string& caption);

private:
    void addForm(TForm* form);

    std::unique_ptr<QApplication> ownedApplication_;
    std::unique_ptr<QtMessageBoxes> shownBoxes_;
    std::unique_ptr<WindowThreadMessageBoxes> carriedBoxes_;
    ExceptionHandler previousExceptionHandler_;
    std::vector<TForm*> forms_;
    std::string title_;
    bool terminated_ = false;
};

extern TApplication* Application;

}  // namespace vcl
