#pragma once
// The platform's error-report window: a Qt window that shows a report's whole text as it
// is (tabs, line breaks, a fixed-width font), with a button that copies it and one that
// closes the window. A host registers it in its class table under CLSID_ErrorReportWindow.
#include "com/ClassTable.h"

namespace forms {

// Puts the window's class into the process's class table.
void registerErrorReportWindowClass();

}  // namespace forms
