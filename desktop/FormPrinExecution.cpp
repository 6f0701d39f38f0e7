// Run, Pause, Resume, Cancel, the after-execution gates and the deletion of the last
// execution.
#include "desktop/FormPrin.h"
#include "desktop/Thread.h"
#include "desktop/TimeStamp.h"
#include "engine/OutOfMemory.h"
#include "sysutils/DateTime.h"
#include "vcl/Application.h"

namespace desktop {

bool TFormPrincipal::workerIsLive() const {
    return executionThread != nullptr && !executionThread->Finished() && !executionThread->Terminated();
}

void TFormPrincipal::logTimeStamped(const std::string& text) {
    MemoExecutionEvents->Lines()->Add(text + timeStamp(sysutils::Now()));
}

void TFormPrincipal::ActionStartExecutionExecute(vcl::TObject*) {
    // One worker at a time: a second Run while one checks or runs (the inputs locked)
    // starts nothing. A worker that has run its final action may still be ending: it
    // touches nothing any more and is left to end on its own.
    if (workerIsLive() && !ActionStartExecution->Enabled()) return;
    if (lastExecution != nullptr &&
        vcl::MessageDlg("Delete last execution? Results will be erased ", vcl::TMsgDlgType::mtConfirmation,
                        vcl::TMsgDlgButtons::mbYesNo, 0) != vcl::TModalResult::mrYes)
        return;
    ActionDeleteLastExecutionExecute(this);

    // The worker checks the inputs as they are at this moment; they stay locked from
    // here until it has accepted or refused them.
    inputs::RunInputs inputs = readRunInputs();
    ActionCanNoSelectExecute(this);
    vcl::TThread::Dispose(executionThread);
    executionThread = nullptr;
    executionProgress = std::make_shared<ExecutionProgress>();
    MyThread* worker = nullptr;
    try {
        worker = new MyThread(/*CreateSuspended=*/true, std::move(inputs), executionProgress);
        worker->SetOnHeld([this, worker] { WorkerHeld(worker); });
        worker->Resume();
    } catch (...) {
        // No memory or no thread for the worker: the window offers Run again.
        const std::string message = engine::runFailureText();
        vcl::TThread::Dispose(worker);
        ActionCanSelectExecute(this);
        vcl::Application->ShowException(message);
        return;
    }
    executionThread = worker;
}

void TFormPrincipal::ActionPauseExecutionExecute(vcl::TObject*) {
    if (executionThread != nullptr) executionThread->Suspend();
    logTimeStamped("Paused at: ");
    // The two views follow once the worker is held (WorkerHeld).
    ActionResumeExecution->SetEnabled(true);
    ActionPauseExecution->SetEnabled(false);
}

void TFormPrincipal::WorkerHeld(MyThread* thread) {
    if (thread != executionThread || !thread->Held() || thread->Terminated()) return;
    if (!ActionResumeExecution->Enabled()) return;  // released meanwhile
    const bool overall = lastExecution != nullptr && executionProgress != nullptr &&
                         executionProgress->overallComputed();
    ActionViewRes->SetEnabled(overall);
    ActionViewGlobRes->SetEnabled(overall);
}

void TFormPrincipal::ActionResumeExecutionExecute(vcl::TObject*) {
    if (executionThread != nullptr) executionThread->Resume();
    ActionViewRes->SetEnabled(false);
    ActionViewGlobRes->SetEnabled(false);
    logTimeStamped("Resumed at: ");
    ActionResumeExecution->SetEnabled(false);
    ActionPauseExecution->SetEnabled(true);
}

void TFormPrincipal::ActionStopExecutionExecute(vcl::TObject*) {
    if (vcl::MessageDlg("Cancel execution?", vcl::TMsgDlgType::mtConfirmation, vcl::TMsgDlgButtons::mbYesNo, 0) !=
        vcl::TModalResult::mrYes)
        return;
    if (executionThread != nullptr) {
        executionThread->Suspend();
        executionThread->Terminate();
    }
    ActionAfterExecutionExecute(this);
    logTimeStamped("Execution cancelled at: ");
}

void TFormPrincipal::ActionAfterExecutionExecute(vcl::TObject*) {
    const ResultGates gates = resultGates(executionFacts(lastExecution.get(), executionProgress.get()));
    const auto actions = resultActions();
    for (std::size_t i = 0; i < actions.size(); ++i) actions[i]->SetEnabled(gates[i]);
    ActionCanSelectExecute(this);
}

void TFormPrincipal::releaseWorkerAfterItsRun() {
    // Its run is over: a Pause that came after the worker's last hold point would hold it
    // for good after its final action, with Resume disabled.
    if (executionThread != nullptr && !executionThread->Terminated()) executionThread->Resume();
}

void TFormPrincipal::letGoOfLastExecution() {
    if (executionThread != nullptr && !executionThread->Finished()) {
        // The worker may still be inside a unit of work on the engine object (a cancelled
        // one finishing its step): it gets the object, ends at its next hold point and
        // frees it then. The window waits for nothing.
        executionThread->keepExecution(std::move(lastExecution), executionProgress);
        vcl::TThread::Dispose(executionThread);
        executionThread = nullptr;
    }
    lastExecution.reset();
}

void TFormPrincipal::ActionDeleteLastExecutionExecute(vcl::TObject*) {
    MemoExecutionEvents->Lines()->Clear();
    if (lastExecution == nullptr) return;
    letGoOfLastExecution();
    executionProgress.reset();
    for (vcl::TAction* action : resultActions()) action->SetEnabled(false);
    StatusBar1->Panel(0)->SetText("");
    StatusBar1->Panel(1)->SetText("");
}

}  // namespace desktop
