#pragma once
// The thread class of the window library. A TThread runs Execute on its own thread.
// It is held and released cooperatively: Suspend holds it at its next hold point,
// Resume releases it, Terminate sets the terminated mark and a terminated thread ends at
// its next hold point: Execute is left by an exception of the library's own that nothing
// but the thread catches, so that what Execute holds is freed and nothing after the hold
// point runs. Hold points are the explicit HoldPoint calls between units of work and both
// ends of every Synchronize, the one way a thread calls the window: so a held thread
// changes nothing, and a terminated one never touches the window again. Calls that a
// terminated thread had already queued are dropped unrun. Execute must let exceptions it
// does not know pass.
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace vcl {

class TThread {
public:
    // With createSuspended false the thread starts once the most derived constructor
    // has called AfterConstruction; otherwise it starts at the first Resume. A start that
    // the system refuses raises std::system_error and leaves the thread not started.
    explicit TThread(bool createSuspended);
    // Joins the thread. Only for a thread that has finished or never started: dispose of
    // a live one with Dispose, which lets it end on its own.
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    void Resume();
    void Suspend();
    void Terminate();
    bool Terminated() const;
    bool Finished() const;
    // Parked at a hold point.
    bool Held() const;
    // Waits (on the window thread) until the thread is parked, waiting for the window,
    // or finished: from then on it touches nothing until released.
    void WaitUntilStill() const;

    // Runs `call` on the window thread and waits for it; an exception it raises is raised
    // again here. `where` names the call for the hold-point observer. On the window
    // thread itself the call is made at once.
    void Synchronize(const std::function<void()>& call, const std::string& where = "");

    // Runs on the window thread each time the thread parks at a hold point (not after
    // Terminate). Set before the thread starts. The window thread is woken whenever the
    // thread parks or finishes, so that it can wait for either.
    void SetOnHeld(std::function<void()> handler);

    // The TThread whose Execute runs on the calling thread, or null.
    static TThread* Current();

    // Deletes a finished or never-started thread. A live one is terminated and deletes
    // itself once it has ended (it may still be between two hold points): nothing waits.
    static void Dispose(TThread* thread);
    // Terminates every live thread (the program ends).
    static void TerminateAll();
    // Some thread is running between two hold points.
    static bool AnyBusy();
    // Thread objects in existence, disposed ones that have not ended included.
    static std::size_t Existing();

    // Tests: called on the worker thread at every hold point before it may park, with the
    // name of the window call that follows (empty between units of work and after a call).
    using HoldPointObserver = std::function<void(TThread& thread, const std::string& where)>;
    static void SetHoldPointObserver(HoldPointObserver observer);

protected:
    void AfterConstruction();
    virtual void Execute() = 0;
    void HoldPoint(const std::string& where = "");

private:
    struct Shared;
    void run();
    void start();

    std::shared_ptr<Shared> shared_;
    std::thread thread_;
    bool createSuspended_;
};

}  // namespace vcl
