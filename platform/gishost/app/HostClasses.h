#pragma once
// The class table of the host program: the object model's creatable classes, then, over
// them, the host's own table window and catalog browser, and the platform's error-report
// window and window frame.
namespace gishost::app {

void registerHostProgramClasses();

}  // namespace gishost::app
