#pragma once
// The platform's window-frame component: a top-level window that holds a form's window,
// shows the frame's caption and takes its height in pixels. Closing the frame unloads
// the form. A host registers it in its class table under CLSID_WindowFrame.
namespace forms {

// Puts the frame's class into the process's class table.
void registerWindowFrameClass();

}  // namespace forms
