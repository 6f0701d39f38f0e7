#include "desktop/Thread.h"

#include <exception>

#include "desktop/FormPrin.h"
#include "desktop/TimeStamp.h"
#include "desktop/WindowLog.h"
#include "engine/OutOfMemory.h"
#include "sysutils/DateTime.h"
#include "sysutils/Exception.h"
#include "sysutils/FloatConversion.h"
#include "sysutils/MessageBoxes.h"
#include "vcl/Application.h"

namespace desktop {

MyThread::MyThread(bool CreateSuspended, inputs::RunInputs inputs, std::shared_ptr<ExecutionProgress> progress)
    : vcl::TThread(CreateSuspended), inputs_(std::move(inputs)), progress_(std::move(progress)) {
    AfterConstruction();
}

MyThread::~MyThread() = default;

void MyThread::keepExecution(std::unique_ptr<engine::tamblorProgram> execution,
                             std::shared_ptr<ExecutionProgress> progress) {
    keptExecution_ = std::move(execution);
    keptProgress_ = std::move(progress);
}

void MyThread::onWindow(void (TFormPrincipal::*handler)(vcl::TObject*), const char* where) {
    Synchronize([handler] { (FormPrincipal->*handler)(FormPrincipal); }, where);
}

void MyThread::log(const std::string& line) {
    Synchronize([&line] { FormPrincipal->MemoExecutionEvents->Lines()->Add(line); }, "log: " + line);
}

void MyThread::Execute() {
    const inputs::RunInputCheck check = inputs::checkRunInputs(inputs_);
    for (const std::string& error : check.errors) sysutils::ShowMessage(error, "Error!");
    if (!check.errors.empty()) {
        onWindow(&TFormPrincipal::ActionCanSelectExecute, "ActionCanSelect");
        return;
    }
    onWindow(&TFormPrincipal::ActionCanNoSelectExecute, "ActionCanNoSelect");

    engine::tamblorProgram* execution = nullptr;
    std::string message;
    try {
        run(execution);
        return;
    } catch (...) {
        // Running out of memory or threads anywhere shows the out-of-memory text; an
        // exception that is no failure of the run (the end of a cancelled worker) goes on.
        message = engine::runFailureText();
    }
    // The engine object, when there is one, stays in the main window. One window call for
    // both, so that no Run can come between them and drop the box.
    Synchronize(
        [&message] {
            FormPrincipal->ActionAfterExecutionExecute(FormPrincipal);
            vcl::Application->ShowException(message);
        },
        "exception: " + message);
}

void MyThread::run(engine::tamblorProgram*& execution) {
    using Stage = ExecutionProgress::Stage;
    const sysutils::TDateTime started = sysutils::Now();
    const std::string startLine = "Execution started at: " + timeStamp(started);
    Synchronize(
        [&startLine] {
            FormPrincipal->MemoExecutionEvents->Lines()->Add(startLine);
            FormPrincipal->MemoExecutionEvents->Repaint();
        },
        "log: " + startLine);

    std::unique_ptr<engine::tamblorProgram> created =
        inputs::createExecution(inputs::checkRunInputs(inputs_).arguments);
    execution = created.get();
    // Until the window has taken it, the engine object stays with the worker.
    Synchronize(
        [this, &created] {
            FormPrincipal->lastExecution = std::move(created);
            FormPrincipal->executionProgress = progress_;
        },
        "store execution");

    const auto finish = [this, started] {
        const sysutils::TDateTime ended = sysutils::Now();
        log("Execution ended at " + timeStamp(ended));
        log("Total processing time " + elapsedTime(started, ended));
    };

    HoldPoint();
    if (execution->checkParameters() != 0) {
        finish();
        onWindow(&TFormPrincipal::ActionCanSelectExecute, "ActionCanSelect");
        return;
    }
    progress_->stage = Stage::Checked;
    HoldPoint();
    execution->readInputs();
    progress_->stage = Stage::InputsRead;
    HoldPoint();

    WindowEventLog eventLog(*this);
    execution->writeSummary(eventLog);
    HoldPoint();

    Synchronize(
        [execution] {
            if (execution->AL == 1.0f) return;
            const double given = sysutils::StrToFloat(FormPrincipal->EditLandscapeArea->Text());
            if (!(given >= execution->AL))
                FormPrincipal->EditLandscapeArea->SetText(sysutils::FloatToStr(execution->AL));
        },
        "landscape attribute");

    WindowStatus status(*this, *progress_);
    execution->process(eventLog, status);
    progress_->stage = Stage::Processed;
    HoldPoint();
    execution->writeProcessingTimes(eventLog);

    finish();
    onWindow(&TFormPrincipal::ActionAfterExecutionExecute, "ActionAfterExecution");
}

}  // namespace desktop
