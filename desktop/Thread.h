#pragma once
// The worker of one Run: it checks the inputs taken at the click on Run, reporting each
// bad value in its own box, then creates the engine object, hands it to the main window
// and drives the run steps, writing the event log and the status bar of the main window.
// Every call it makes to a window goes through Synchronize, so Pause holds it there and
// after Cancel it never touches a window again: it ends at its next hold point, and the
// engine's parallel steps give up between their tasks.
#include <memory>

#include "desktop/ExecutionProgress.h"
#include "desktop/inputs/RunInputs.h"
#include "engine/tamblorProgram.h"
#include "vcl/Classes.h"
#include "vcl/TThread.h"

namespace desktop {

class TFormPrincipal;

class MyThread : public vcl::TThread {
public:
    MyThread(bool CreateSuspended, inputs::RunInputs inputs, std::shared_ptr<ExecutionProgress> progress);
    ~MyThread() override;

    // The window lets go of the engine object while this worker may still use it (the
    // program ends, or a new run starts after a cancel): the worker keeps it until it is
    // deleted itself. Called on the window thread before the worker is disposed.
    void keepExecution(std::unique_ptr<engine::tamblorProgram> execution, std::shared_ptr<ExecutionProgress> progress);

protected:
    void Execute() override;

private:
    void run(engine::tamblorProgram*& execution);
    void onWindow(void (TFormPrincipal::*handler)(vcl::TObject*), const char* where);
    void log(const std::string& line);

    inputs::RunInputs inputs_;
    std::shared_ptr<ExecutionProgress> progress_;
    std::unique_ptr<engine::tamblorProgram> keptExecution_;
    std::shared_ptr<ExecutionProgress> keptProgress_;
};

}  // namespace desktop
