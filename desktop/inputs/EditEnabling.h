#pragma once
// Which edits of the main window and the PC options window are enabled for a choice of
// indices, connection type and PC mode: the state the windows' enabling rules leave once
// the type is chosen in its list and the indices are ticked. The headless driver takes its
// edits' states from here; a window test holds the windows to it.
#include "desktop/inputs/RunInputs.h"

namespace desktop::inputs {

// Sets the enabled state of each edit of `inputs` from its indices, connection type and PC
// mode; the texts stay. Enabled are
//   the threshold              for a binary index (NL, NC, H, CCP, LCP, IIC), unless the type is Links;
//   the distance, probability  for a probabilistic index (F, AWF, PC), with Distances or no type;
//   the landscape attribute    for LCP, IIC or PC;
//   the minimum probability    when PC checks only the paths above it (allPaths false),
//                              whichever indices are ticked.
void enableEditsByTheWindowRules(RunInputs& inputs);

}  // namespace desktop::inputs
