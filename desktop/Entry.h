#pragma once
// The program's start-up: the application with its title, the four windows created in
// order, the message loop, and what is shown when an exception escapes.
#include <string>
#include <vector>

namespace desktop {

// Creates the main window, the PC options window, the results window and the about
// window, in this order, into their globals.
void CreateApplicationWindows();

// The command-line presets of the main window's inputs (see CommandLine.h), then the
// message loop. Returns 0.
int WinMain(int argc, char** argv);

}  // namespace desktop
