#pragma once
// Lets the application handle the window events waiting for it (clicks, repaints),
// so that a long job running on the window thread can be stopped.
#include <QCoreApplication>

namespace forms {

inline void DoEvents() { QCoreApplication::processEvents(); }

}  // namespace forms
