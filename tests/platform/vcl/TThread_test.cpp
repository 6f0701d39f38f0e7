// The thread class: window calls run on the window thread, hold points hold and
// release, a terminated thread ends at its next hold point without another window call,
// and a disposed live thread deletes itself once it has ended.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <stdexcept>
#include <thread>

#include "WindowTesting.h"
#include "sysutils/MessageBoxes.h"
#include "vcl/MessageBoxes.h"
#include "vcl/TThread.h"

namespace {

using window_testing::HoldPointGate;
using window_testing::waitFor;

class Worker : public vcl::TThread {
public:
    explicit Worker(std::function<void(Worker&)> body)
        : vcl::TThread(/*createSuspended=*/true), body_(std::move(body)) {}
    using vcl::TThread::HoldPoint;

protected:
    void Execute() override { body_(*this); }

private:
    std::function<void(Worker&)> body_;
};

// Three window calls, each adding one to `calls` on the window thread.
std::function<void(Worker&)> threeWindowCalls(int& calls) {
    return [&calls](Worker& self) {
        for (const char* where : {"first", "second", "third"}) self.Synchronize([&calls] { ++calls; }, where);
    };
}

TEST(TThread, StartsOnlyWhenResumedAndRunsWindowCallsOnTheWindowThread) {
    const std::thread::id windowThread = std::this_thread::get_id();
    std::thread::id ranOn;
    bool ranWhileWorkerWaited = false;
    Worker worker([&](Worker& self) {
        bool returned = false;
        self.Synchronize([&] {
            ranOn = std::this_thread::get_id();
            ranWhileWorkerWaited = !returned;
        });
        returned = true;
    });
    EXPECT_FALSE(worker.Finished());
    worker.Resume();
    ASSERT_TRUE(waitFor([&] { return worker.Finished(); }));
    EXPECT_EQ(ranOn, windowThread);
    EXPECT_TRUE(ranWhileWorkerWaited);
}

TEST(TThread, AnExceptionOfAWindowCallIsRaisedAgainInTheWorker) {
    std::string caught;
    Worker worker([&](Worker& self) {
        try {
            self.Synchronize([] { throw std::runtime_error("from the window"); });
        } catch (const std::runtime_error& error) {
            caught = error.what();
        }
    });
    worker.Resume();
    ASSERT_TRUE(waitFor([&] { return worker.Finished(); }));
    EXPECT_EQ(caught, "from the window");
}

TEST(TThread, SuspendHoldsAtTheNextHoldPointAndResumeGoesOnFromThere) {
    int calls = 0;
    int heldNotices = 0;
    HoldPointGate gate(HoldPointGate::startsWith("second"));
    Worker worker(threeWindowCalls(calls));
    worker.SetOnHeld([&] { ++heldNotices; });
    worker.Resume();
    ASSERT_TRUE(waitFor([&] { return gate.reached(); }));
    worker.Suspend();
    gate.release();
    ASSERT_TRUE(waitFor([&] { return heldNotices == 1; }));
    EXPECT_TRUE(worker.Held());
    EXPECT_EQ(calls, 1);
    worker.Resume();
    ASSERT_TRUE(waitFor([&] { return worker.Finished(); }));
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(heldNotices, 1);
}

TEST(TThread, ATerminatedThreadEndsAtItsNextHoldPointWithoutAnotherWindowCall) {
    int calls = 0;
    int heldNotices = 0;
    bool leftExecute = false;
    HoldPointGate gate(HoldPointGate::startsWith("second"));
    Worker worker([&](Worker& self) {
        threeWindowCalls(calls)(self);
        leftExecute = true;  // never reached
    });
    worker.SetOnHeld([&] { ++heldNotices; });
    worker.Resume();
    ASSERT_TRUE(waitFor([&] { return gate.reached(); }));
    worker.Suspend();
    worker.Terminate();
    gate.release();
    ASSERT_TRUE(waitFor([&] { return worker.Finished(); }));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(heldNotices, 0);
    EXPECT_FALSE(leftExecute);
    EXPECT_FALSE(vcl::TThread::AnyBusy());
}

TEST(TThread, AHeldThreadThatIsTerminatedEndsWithoutBeingResumed) {
    int calls = 0;
    HoldPointGate gate(HoldPointGate::startsWith("second"));
    Worker worker(threeWindowCalls(calls));
    worker.Resume();
    ASSERT_TRUE(waitFor([&] { return gate.reached(); }));
    worker.Suspend();
    gate.release();
    ASSERT_TRUE(waitFor([&] { return worker.Held(); }));
    worker.Terminate();
    ASSERT_TRUE(waitFor([&] { return worker.Finished(); }));
    EXPECT_EQ(calls, 1);
}

TEST(TThread, AWindowCallQueuedBeforeTerminateIsDroppedUnrun) {
    int calls = 0;
    auto* worker = new Worker(threeWindowCalls(calls));
    worker->Resume();
    // The window thread handles no event here: the first call waits in the queue.
    worker->WaitUntilStill();
    worker->Terminate();
    ASSERT_TRUE(waitFor([&] { return worker->Finished(); }));
    EXPECT_EQ(calls, 0);
    vcl::TThread::Dispose(worker);
}

TEST(TThread, DisposeOfALiveThreadWaitsForNothingAndTheThreadDeletesItselfWhenItEnds) {
    int calls = 0;
    const std::size_t before = vcl::TThread::Existing();
    HoldPointGate gate(HoldPointGate::startsWith("second"));
    auto* worker = new Worker(threeWindowCalls(calls));
    worker->Resume();
    ASSERT_TRUE(waitFor([&] { return gate.reached(); }));
    vcl::TThread::Dispose(worker);  // returns while the thread is still inside its unit of work
    EXPECT_EQ(vcl::TThread::Existing(), before + 1);
    EXPECT_TRUE(vcl::TThread::AnyBusy());
    gate.release();
    ASSERT_TRUE(waitFor([&] { return vcl::TThread::Existing() == before; }));
    EXPECT_EQ(calls, 1);
}

TEST(TThread, DisposeDeletesAFinishedThread) {
    int calls = 0;
    auto* worker = new Worker(threeWindowCalls(calls));
    worker->Resume();
    ASSERT_TRUE(waitFor([&] { return worker->Finished(); }));
    vcl::TThread::Dispose(worker);
    EXPECT_EQ(calls, 3);
}

// Records the thread each box is shown on.
class ThreadRecordingBoxes : public sysutils::MessageBoxes {
public:
    sysutils::MessageAnswer show(const sysutils::MessageBox& box) override {
        texts.push_back(box.text);
        threads.push_back(std::this_thread::get_id());
        return box.buttons == sysutils::MessageButtons::YesNo ? sysutils::MessageAnswer::Yes
                                                               : sysutils::MessageAnswer::Ok;
    }
    std::vector<std::string> texts;
    std::vector<std::thread::id> threads;
};

TEST(TThread, AWorkersMessageBoxIsShownOnTheWindowThreadAndAnswered) {
    ThreadRecordingBoxes shown;
    vcl::WindowThreadMessageBoxes carried(shown);
    bool answer = false;
    HoldPointGate gate(HoldPointGate::startsWith("box: Go on?"));
    Worker worker([&](Worker&) {
        sysutils::ShowMessage("Something went wrong", "Error!");
        answer = sysutils::Confirm("Go on?", "Confirm");
    });
    worker.Resume();
    ASSERT_TRUE(waitFor([&] { return gate.reached(); }));  // a box is a hold point
    gate.release();
    ASSERT_TRUE(waitFor([&] { return worker.Finished(); }));
    EXPECT_EQ(shown.texts, (std::vector<std::string>{"Something went wrong", "Go on?"}));
    EXPECT_EQ(shown.threads, (std::vector<std::thread::id>(2, std::this_thread::get_id())));
    EXPECT_TRUE(answer);
}

}  // namespace
