// Runs of the worker from the main window: the refused inputs, a full run on the bundled
// examples, a run the engine refuses, Pause and Resume, Cancel, the result gates of two
// runs in a row, a second click on Run, closing during a run, and a run across midnight.
#include "DesktopFixture.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "engine/Allocation.h"
#include "engine/OutOfMemory.h"
#include "engine/fast/WorkerPool.h"
#include "support/TestFiles.h"
#include "sysutils/DateTime.h"
#include "sysutils/ThreadStart.h"
#include "vcl/WindowThread.h"

namespace {

using desktop_testing::DesktopFixture;
using desktop_testing::Indices;
using window_testing::HoldPointGate;
using window_testing::waitFor;

class Execution : public DesktopFixture {
protected:
    // Position of the first log line that starts with `prefix`, or -1.
    int lineStarting(const std::string& prefix) const {
        const auto lines = logLines();
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (lines[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
        return -1;
    }

    bool offered(desktop::ResultAction action) const {
        return window->resultActions()[static_cast<std::size_t>(action)]->Enabled();
    }

    void expectUnlocked() const {
        EXPECT_TRUE(window->ActionStartExecution->Enabled());
        EXPECT_TRUE(window->EditNodes->Enabled());
        EXPECT_TRUE(window->ComboBoxConnectionType->Enabled());
        EXPECT_FALSE(window->ActionPauseExecution->Enabled());
        EXPECT_FALSE(window->ActionStopExecution->Enabled());
    }
};

TEST_F(Execution, ARunWithoutIndexAndFileNamesShowsThreeMessagesAndLogsNothing) {
    window->BitBtn3->Click();
    ASSERT_TRUE(waitFor([&] { return runFinished(); }));
    const auto shown = boxes.boxes();
    EXPECT_EQ(boxes.texts(),
              (std::vector<std::string>{"At least one connectivity index should be selected for analysis",
                                        "No node file name specified", "No connection file name specified"}));
    for (const sysutils::MessageBox& box : shown) EXPECT_EQ(box.caption, "Error!");
    EXPECT_TRUE(logLines().empty());
    EXPECT_EQ(window->lastExecution, nullptr);
    expectUnlocked();
}

TEST_F(Execution, AFullRunOnTheExamplesLogsItsStepsInOrderAndOffersItsResults) {
    prepareExampleRun({.NL = true, .NC = true, .IIC = true, .PC = true});
    window->BitBtn3->Click();
    EXPECT_FALSE(window->ActionStartExecution->Enabled());  // locked from the click
    ASSERT_TRUE(waitFor([&] { return runFinished(); }));

    EXPECT_TRUE(boxes.boxes().empty());
    const auto lines = logLines();
    ASSERT_GE(lines.size(), 6u);
    const int started = lineStarting("Execution started at: ");
    const int nodes = lineStarting("Number of nodes to process: 10");
    const int processed = lineStarting("Processed indices: NL NC IIC PC");
    const int processing = lineStarting("Indices processing started at: ");
    const int times = lineStarting("Processing time for indices:");
    EXPECT_EQ(started, 0);
    EXPECT_LT(started, nodes);
    EXPECT_LT(nodes, processed);
    EXPECT_LT(processed, processing);
    EXPECT_LT(processing, times);
    EXPECT_EQ(lines[lines.size() - 2].rfind("Execution ended at ", 0), 0u);
    EXPECT_EQ(lines.back().rfind("Total processing time ", 0), 0u);

    for (vcl::TAction* action : window->resultActions()) EXPECT_TRUE(action->Enabled()) << action->Name();
    EXPECT_EQ(window->StatusBar1->Panel(0)->Text(), "Execution ended");
    EXPECT_EQ(window->StatusBar1->Panel(1)->Text(), "100% completed");
    ASSERT_NE(window->lastExecution, nullptr);
    EXPECT_EQ(window->lastExecution->getNumNodes(), 10);
    expectUnlocked();
}

TEST_F(Execution, ARunRefusedByTheEngineEndsWithoutResults) {
    prepareExampleRun({.NL = true});
    window->EditNodes->SetText(examples() + "/no_such_nodes.txt");
    window->BitBtn3->Click();
    ASSERT_TRUE(waitFor([&] { return runFinished(); }));

    EXPECT_FALSE(boxes.boxes().empty());  // the engine's own messages
    const auto lines = logLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.front().rfind("Execution started at: ", 0), 0u);
    EXPECT_EQ(lines[lines.size() - 2].rfind("Execution ended at ", 0), 0u);
    EXPECT_EQ(lines.back().rfind("Total processing time ", 0), 0u);
    // No result action is offered; the maximum-product view keeps its start state and shows nothing.
    for (vcl::TAction* action : window->resultActions())
        EXPECT_EQ(action->Enabled(), action == window->ActionViewProbMax) << action->Name();
    window->ActionViewProbMaxExecute(window);
    EXPECT_FALSE(desktop::FormScreen->Visible());
    EXPECT_NE(window->lastExecution, nullptr);
    expectUnlocked();

    boxes.clear();
    boxes.answerNext(sysutils::MessageAnswer::No);
    window->BitBtn3->Click();
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Delete last execution? Results will be erased "});
    EXPECT_EQ(logLines(), lines);
    EXPECT_TRUE(window->executionThread->Finished());
}

TEST_F(Execution, PauseHoldsTheWorkerAndOffersTheViewsOnlyWhileItIsHeld) {
    prepareExampleRun({.NL = true, .PC = true});
    HoldPointGate gate(HoldPointGate::startsWith("status 1: "));
    window->BitBtn3->Click();
    ASSERT_TRUE(waitFor([&] { return gate.reached(); }));

    window->BitBtn5->Click();
    EXPECT_TRUE(window->ActionResumeExecution->Enabled());
    EXPECT_FALSE(window->ActionPauseExecution->Enabled());
    EXPECT_TRUE(window->ActionStopExecution->Enabled());
    EXPECT_FALSE(window->ActionViewRes->Enabled());  // not held yet
    gate.release();
    ASSERT_TRUE(waitFor([&] { return window->ActionViewRes->Enabled(); }));
    EXPECT_TRUE(window->ActionViewGlobRes->Enabled());
    EXPECT_TRUE(window->executionThread->Held());
    EXPECT_EQ(logLines().back().rfind("Paused at: ", 0), 0u);

    window->BitBtn6->Click();
    EXPECT_FALSE(window->ActionViewRes->Enabled());
    EXPECT_FALSE(window->ActionViewGlobRes->Enabled());
    EXPECT_TRUE(window->ActionPauseExecution->Enabled());
    EXPECT_FALSE(window->ActionResumeExecution->Enabled());
    ASSERT_TRUE(waitFor([&] { return runFinished(); }));

    const int processing = lineStarting("Indices processing started at: ");
    const int paused = lineStarting("Paused at: ");
    const int resumed = lineStarting("Resumed at: ");
    const int ended = lineStarting("Execution ended at ");
    EXPECT_LT(processing, paused);
    EXPECT_EQ(resumed, paused + 1);
    EXPECT_LT(resumed, ended);
    EXPECT_TRUE(window->ActionViewRes->Enabled());  // offered again after the run
}

TEST_F(Execution, CancelAnsweredNoGoesOnAndAnsweredYesAbandonsTheRunForGood) {
    prepareExampleRun({.NC = true, .PC = true});
    HoldPointGate gate(HoldPointGate::startsWith("status 1: "));
    window->BitBtn3->Click();
    ASSERT_TRUE(waitFor([&] { return gate.reached(); }));

    boxes.answerNext(sysutils::MessageAnswer::No);
    window->BitBtn4->Click();
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Cancel execution?"});
    EXPECT_TRUE(window->ActionStopExecution->Enabled());
    EXPECT_FALSE(window->executionThread->Terminated());

    boxes.answerNext(sysutils::MessageAnswer::Yes);
    window->BitBtn4->Click();
    EXPECT_EQ(logLines().back().rfind("Execution cancelled at: ", 0), 0u);
    EXPECT_TRUE(window->ActionStartExecution->Enabled());
    // The overall landscape is done, the node importances are not.
    EXPECT_TRUE(offered(desktop::ResultAction::ViewGlobRes));
    EXPECT_TRUE(offered(desktop::ResultAction::ViewComponents));
    EXPECT_TRUE(offered(desktop::ResultAction::SaveProbMax));
    EXPECT_FALSE(offered(desktop::ResultAction::ViewRes));
    EXPECT_FALSE(offered(desktop::ResultAction::WriteTXT));

    const auto linesAtCancel = logLines();
    const std::string statusAtCancel = window->StatusBar1->Panel(1)->Text();
    gate.release();
    // The cancelled worker ends at its next hold point, touching nothing.
    ASSERT_TRUE(waitFor([&] { return window->executionThread->Finished(); }));
    EXPECT_EQ(logLines(), linesAtCancel);
    EXPECT_EQ(lineStarting("Execution ended at "), -1);
    EXPECT_EQ(window->StatusBar1->Panel(1)->Text(), statusAtCancel);

    // A new run deletes the abandoned execution and runs on its own.
    boxes.answerNext(sysutils::MessageAnswer::Yes);
    window->BitBtn3->Click();
    ASSERT_TRUE(waitFor([&] { return runFinished(); }));
    EXPECT_EQ(lineStarting("Execution started at: "), 0);
    EXPECT_TRUE(offered(desktop::ResultAction::ViewRes));
}

TEST_F(Execution, AnExceptionDuringTheRunIsShownAndOffersOnlyTheDataThatExist) {
    prepareExampleRun({.NL = true, .PC = true});
    window->EditLandscapeArea->SetText("1000");
    // Held just before the worker reads the attribute edit back, which then holds no number.
    HoldPointGate gate(HoldPointGate::startsWith("landscape attribute"));
    window->BitBtn3->Click();
    ASSERT_TRUE(waitFor([&] { return gate.reached(); }));
    window->EditLandscapeArea->SetText("x");
    gate.release();
    ASSERT_TRUE(waitFor([&] { return runFinished(); }));

    EXPECT_EQ(boxes.boxes(), (std::vector<sysutils::MessageBox>{{"'x' is not a valid floating point value",
                                                                 "Veltrano Tamblor 2.2",
                                                                 sysutils::MessageButtons::Ok}}));
    EXPECT_EQ(lineStarting("Execution ended at "), -1);
    // The matrices were read; no index was computed.
    EXPECT_TRUE(offered(desktop::ResultAction::SaveEvents));
    EXPECT_TRUE(offered(desktop::ResultAction::SaveAdjacencies));
    EXPECT_TRUE(offered(desktop::ResultAction::SaveProbabilities));
    EXPECT_FALSE(offered(desktop::ResultAction::ViewGlobRes));
    EXPECT_FALSE(offered(desktop::ResultAction::SaveProbMax));
    EXPECT_FALSE(offered(desktop::ResultAction::WriteDBF));
    EXPECT_NE(window->lastExecution, nullptr);
    expectUnlocked();
}

// ---- Pause and Cancel at the edges of a run ---------------------------------------------

struct FinalActionCase {
    const char* name;
    const char* finalAction;  // the worker's last window call
    bool refused;             // the engine refuses the inputs
};

class PauseBeforeTheFinalAction : public Execution, public ::testing::WithParamInterface<FinalActionCase> {};

TEST_P(PauseBeforeTheFinalAction, LeavesTheWorkerFreeToEndAndRunStartsANewOne) {
    const FinalActionCase& c = GetParam();
    prepareExampleRun({.NL = true});
    if (c.refused) window->EditNodes->SetText(examples() + "/no_such_nodes.txt");
    {
        HoldPointGate gate(HoldPointGate::startsWith(c.finalAction));
        window->BitBtn3->Click();
        ASSERT_TRUE(waitFor([&] { return gate.reached(); }));
        gate.release();
        // Past its hold point, its final call waits in the window's queue: Pause comes first.
        window->executionThread->WaitUntilStill();
        window->BitBtn5->Click();
        ASSERT_TRUE(waitFor([&] { return runFinished() || window->executionThread->Held(); }));
    }
    EXPECT_TRUE(runFinished());
    expectUnlocked();
    EXPECT_FALSE(window->ActionResumeExecution->Enabled());

    // Run starts a new worker, which runs to its end.
    boxes.clear();
    boxes.answerNext(sysutils::MessageAnswer::Yes);
    window->BitBtn3->Click();
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Delete last execution? Results will be erased "});
    ASSERT_TRUE(waitFor([&] { return runFinished(); }));
    EXPECT_EQ(lineStarting("Execution started at: "), 0);
    EXPECT_EQ(offered(desktop::ResultAction::ViewRes), !c.refused);
}

INSTANTIATE_TEST_SUITE_P(Execution, PauseBeforeTheFinalAction,
                         ::testing::Values(FinalActionCase{"CompletedRun", "ActionAfterExecution", false},
                                           FinalActionCase{"RunRefusedByTheEngine", "ActionCanSelect", true}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

// Stops the first task of the engine's parallel steps that any run starts, until released.
// Should the window wait for that task, the gate opens after a minute and says so.
class TaskGate {
public:
    TaskGate() {
        engine::fast::WorkerPool::SetTaskObserver([state = state_](std::int64_t, unsigned) {
            std::unique_lock<std::mutex> lock(state->mutex);
            if (state->used) return;
            state->used = true;
            vcl::WindowThread::Post([](bool) {});  // wakes the window thread
            if (!state->released.wait_for(lock, std::chrono::minutes(1), [&state] { return state->open; }))
                state->timedOut = true;
        });
    }
    ~TaskGate() {
        release();
        engine::fast::WorkerPool::SetTaskObserver(nullptr);
    }
    TaskGate(const TaskGate&) = delete;
    TaskGate& operator=(const TaskGate&) = delete;

    bool reached() const {
        std::lock_guard<std::mutex> lock(state_->mutex);
        return state_->used;
    }
    bool open() const {
        std::lock_guard<std::mutex> lock(state_->mutex);
        return state_->open || state_->timedOut;
    }
    void release() {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->open = true;
        state_->released.notify_all();
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable released;
        bool used = false, open = false, timedOut = false;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

struct AfterCancelCase {
    const char* name;
    std::function<void(desktop::TFormPrincipal&, vcl::ScriptedFileDialogs&, sysutils::ScriptedMessageBoxes&)> act;
    bool runs;  // a new worker starts
};

class AfterACancelInsideAParallelStep : public Execution, public ::testing::WithParamInterface<AfterCancelCase> {};

TEST_P(AfterACancelInsideAParallelStep, TheWindowGoesOnWithoutWaitingForTheStep) {
    const AfterCancelCase& c = GetParam();
    prepareExampleRun({.NL = true, .NC = true, .IIC = true, .PC = true});
    TaskGate step;
    window->BitBtn3->Click();
    ASSERT_TRUE(waitFor([&] { return step.reached(); }));
    ASSERT_NE(window->lastExecution, nullptr);
    boxes.answerNext(sysutils::MessageAnswer::Yes);
    window->BitBtn4->Click();
    EXPECT_EQ(logLines().back().rfind("Execution cancelled at: ", 0), 0u);

    boxes.answerNext(sysutils::MessageAnswer::Yes);  // delete the last execution
    boxes.answerNext(sysutils::MessageAnswer::No);   // save the changed project: no
    c.act(*window, dialogs, boxes);
    // Back while the cancelled worker is still inside its task.
    EXPECT_FALSE(step.open());
    if (!c.runs) {
        EXPECT_EQ(window->lastExecution, nullptr);
    }

    // The task returns, the cancelled worker gives up its step, frees the engine object
    // it was handed and ends.
    step.release();
    ASSERT_TRUE(waitFor([&] {
        return vcl::TThread::Existing() == (c.runs ? 1u : 0u) && (!c.runs || runFinished());
    }));
    if (c.runs) {
        EXPECT_TRUE(offered(desktop::ResultAction::ViewRes));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Execution, AfterACancelInsideAParallelStep,
    ::testing::Values(
        AfterCancelCase{"Run", [](auto& w, auto&, auto&) { w.BitBtn3->Click(); }, true},
        AfterCancelCase{"New", [](auto& w, auto&, auto&) { w.ActionNewExecute(&w); }, false},
        AfterCancelCase{"Open",
                        [](auto& w, auto& dialogs, auto&) {
                            testing_support::TemporaryFolder folder;
                            dialogs.answerNext(folder.pathOf("project.txt"));
                            w.ActionOpenExecute(&w);
                        },
                        false}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

// ---- Out of memory and threads ----------------------------------------------------------

TEST_F(Execution, AListThatCannotAllocateANodeEndsTheRunInTheOutOfMemoryBox) {
    prepareExampleRun({.NL = true, .PC = true});
    // Held after reading, then only the overall landscape's node records can be allocated:
    // the first list of its nodes fails.
    HoldPointGate gate(HoldPointGate::startsWith("landscape attribute"));
    window->BitBtn3->Click();
    ASSERT_TRUE(waitFor([&] { return gate.reached(); }));
    {
        engine::ScopedAllocationFailure failure(1);
        gate.release();
        ASSERT_TRUE(waitFor([&] { return runFinished(); }));
    }
    EXPECT_EQ(boxes.boxes(), (std::vector<sysutils::MessageBox>{
                                 {engine::outOfMemoryMessageB, "Veltrano Tamblor 2.2", sysutils::MessageButtons::Ok}}));
    EXPECT_NE(window->lastExecution, nullptr);
    expectUnlocked();

    boxes.clear();
    boxes.answerNext(sysutils::MessageAnswer::Yes);
    window->BitBtn3->Click();
    ASSERT_TRUE(waitFor([&] { return runFinished(); }));
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Delete last execution? Results will be erased "});
    EXPECT_TRUE(offered(desktop::ResultAction::ViewRes));
}

TEST_F(Execution, AWorkerThatCannotStartShowsTheOutOfMemoryBoxAndRunWorksAgain) {
    prepareExampleRun({.NL = true});
    {
        sysutils::ScopedThreadStartFailure failure(0);
        window->BitBtn3->Click();
    }
    EXPECT_EQ(boxes.boxes(), (std::vector<sysutils::MessageBox>{
                                 {engine::outOfMemoryMessageB, "Veltrano Tamblor 2.2", sysutils::MessageButtons::Ok}}));
    EXPECT_EQ(window->executionThread, nullptr);
    EXPECT_FALSE(window->workerIsLive());
    expectUnlocked();

    boxes.clear();
    window->BitBtn3->Click();
    ASSERT_TRUE(waitFor([&] { return runFinished(); }));
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_TRUE(offered(desktop::ResultAction::ViewRes));
}

TEST_F(Execution, APoolWhoseThreadsCannotAllStartEndsTheRunInTheOutOfMemoryBox) {
    prepareExampleRun({.NL = true, .PC = true});
    {
        // The worker starts, the first of the engine's other threads does not.
        sysutils::ScopedThreadStartFailure failure(1);
        window->BitBtn3->Click();
        ASSERT_TRUE(waitFor([&] { return runFinished(); }));
    }
    if (std::thread::hardware_concurrency() > 1) {
        EXPECT_EQ(boxes.boxes(),
                  (std::vector<sysutils::MessageBox>{
                      {engine::outOfMemoryMessageB, "Veltrano Tamblor 2.2", sysutils::MessageButtons::Ok}}));
    }
    expectUnlocked();
}

TEST_F(Execution, AfterAPCRunABinaryOnlyRunOffersNoProbabilities) {
    prepareExampleRun({.NL = true, .PC = true});
    window->BitBtn3->Click();
    ASSERT_TRUE(waitFor([&] { return runFinished(); }));
    EXPECT_TRUE(offered(desktop::ResultAction::SaveProbMax));
    EXPECT_TRUE(offered(desktop::ResultAction::SaveProbabilities));

    prepareExampleRun({.NL = true});
    boxes.answerNext(sysutils::MessageAnswer::Yes);
    window->BitBtn3->Click();
    ASSERT_TRUE(waitFor([&] { return runFinished(); }));
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Delete last execution? Results will be erased "});
    for (auto action : {desktop::ResultAction::ViewProb, desktop::ResultAction::SaveProbabilities,
                        desktop::ResultAction::ViewProbMax, desktop::ResultAction::SaveProbMax,
                        desktop::ResultAction::ViewComponents, desktop::ResultAction::SaveCompDBF})
        EXPECT_FALSE(offered(action)) << static_cast<int>(action);
    EXPECT_TRUE(offered(desktop::ResultAction::SaveAdjacencies));
    EXPECT_TRUE(offered(desktop::ResultAction::ViewRes));
}

TEST_F(Execution, ASecondClickOnRunWhileTheInputsAreCheckedStartsNoSecondWorker) {
    HoldPointGate gate(HoldPointGate::startsWith("box: "));
    window->BitBtn3->Click();
    ASSERT_TRUE(waitFor([&] { return gate.reached(); }));
    desktop::MyThread* first = window->executionThread;
    EXPECT_FALSE(window->BitBtn3->Enabled());
    window->BitBtn3->Click();
    window->ActionStartExecutionExecute(window);
    EXPECT_EQ(window->executionThread, first);
    gate.release();
    ASSERT_TRUE(waitFor([&] { return runFinished(); }));
    EXPECT_EQ(boxes.boxes().size(), 3u);
    expectUnlocked();
}

TEST_F(Execution, ClosingTheProgramDuringARunLeavesTheWorkerNoWindowToTouch) {
    prepareExampleRun({.NL = true, .PC = true});
    HoldPointGate gate(HoldPointGate::startsWith("status 1: "));
    window->BitBtn3->Click();
    ASSERT_TRUE(waitFor([&] { return gate.reached(); }));
    boxes.answerNext(sysutils::MessageAnswer::Yes);
    window->window()->close();
    ASSERT_TRUE(application->Terminated());
    application.reset();  // the windows go, as at the end of the program
    EXPECT_EQ(desktop::FormPrincipal, nullptr);
    EXPECT_TRUE(vcl::TThread::AnyBusy());  // still inside the gate

    // It ends at its next hold point, frees the engine object it was left and deletes itself.
    // (The test thread takes calls again, as a next program would, to see that end.)
    vcl::WindowThread::Initialize();
    gate.release();
    ASSERT_TRUE(waitFor([] { return vcl::TThread::Existing() == 0; }));
    EXPECT_FALSE(vcl::TThread::AnyBusy());
}

TEST_F(Execution, TheTotalTimeOfARunAcrossMidnightIsItsTrueDuration) {
    std::atomic<int> calls{0};
    sysutils::ScopedClock clock([&calls] {
        return calls++ == 0 ? sysutils::EncodeDateTime(2026, 3, 1, 23, 59, 30, 0)
                            : sysutils::EncodeDateTime(2026, 3, 2, 0, 0, 45, 0);
    });
    prepareExampleRun({.NL = true});
    window->BitBtn3->Click();
    ASSERT_TRUE(waitFor([&] { return runFinished(); }));
    EXPECT_EQ(logLines().front(), "Execution started at: 23:59:30 03/01/26");
    EXPECT_EQ(logLines().back(), "Total processing time 00:01:15");
}

}  // namespace
