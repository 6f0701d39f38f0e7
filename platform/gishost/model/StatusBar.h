#pragma once
// The status bar of the model's application: a message pane and a progress bar that
// record every call they are asked (IRecordedCalls), one line each.
#include "com/ComPtr.h"
#include "gishost/Framework.h"

namespace gishost::model {

com::ComPtr<IStatusBar> makeStatusBar();

}  // namespace gishost::model
