#pragma once
// Carries calls from other threads to the window thread. Calls wait in a queue under
// a mutex, and the window thread is woken through an event descriptor that its event
// loop watches; no Qt object is touched off the window thread, and the hand-over is
// plain mutex synchronisation that the thread sanitizer can follow.
#include <functional>

namespace vcl::WindowThread {

// A queued call; `run` is false when the call is dropped instead (after Shutdown).
using QueuedCall = std::function<void(bool run)>;

// Makes the calling thread the window thread (needs a QCoreApplication). Called again,
// it accepts calls anew after a Shutdown.
void Initialize();
bool IsInitialized();
// True on the window thread, and on any thread before Initialize.
bool IsCurrent();

// Queues `call` for the window thread and returns at once. After Shutdown, or before
// Initialize, the call is made at once on the calling thread with run = false.
void Post(QueuedCall call);

// Drops every queued call (each is made with run = false) and accepts no more.
// Called on the window thread when the program ends.
void Shutdown();

}  // namespace vcl::WindowThread
