#pragma once
// The host program's message boxes: the system services' message-box seam shown as Qt
// modal boxes over the active window. The host and its plug-ins share the seam.
#include "sysutils/MessageBoxes.h"

namespace gishost::app {

class HostMessageBoxes : public sysutils::MessageBoxes {
public:
    sysutils::MessageAnswer show(const sysutils::MessageBox& box) override;
    void beep() override;
};

}  // namespace gishost::app
