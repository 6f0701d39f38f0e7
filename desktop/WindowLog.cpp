#include "desktop/WindowLog.h"

#include "desktop/FormPrin.h"

namespace desktop {

void WindowEventLog::Add(const std::string& line) {
    worker_.Synchronize([&line] { FormPrincipal->MemoExecutionEvents->Lines()->Add(line); }, "log: " + line);
}

void WindowEventLog::Clear() {
    worker_.Synchronize([] { FormPrincipal->MemoExecutionEvents->Lines()->Clear(); }, "log cleared");
}

int WindowEventLog::Count() const {
    int count = 0;
    worker_.Synchronize([&count] { count = FormPrincipal->MemoExecutionEvents->Lines()->Count(); }, "log read");
    return count;
}

std::string WindowEventLog::Strings(int index) const {
    std::string line;
    worker_.Synchronize([&line, index] { line = FormPrincipal->MemoExecutionEvents->Lines()->Strings(index); },
                        "log read");
    return line;
}

void WindowStatus::setPanelText(int panel, const std::string& text) {
    // The engine sets panel 1 right after each node's landscape is done.
    if (panel == 1) progress_.nodesProcessed.fetch_add(1);
    worker_.Synchronize(
        [panel, &text] {
            if (vcl::TStatusPanel* shown = FormPrincipal->StatusBar1->Panel(panel)) shown->SetText(text);
        },
        "status " + std::to_string(panel) + ": " + text);
}

}  // namespace desktop
