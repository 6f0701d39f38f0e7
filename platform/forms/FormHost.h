#pragma once
// A window that holds a form's window inside itself (the window-frame component). The
// form hands the host its window whenever it creates one, and shows, hides and closes
// the host's window in place of its own.
class QWidget;

namespace forms {

class FormHost {
public:
    // Places the form's new window inside the host.
    virtual void embed(QWidget* formWindow) = 0;
    // The top-level window that shows the form.
    virtual QWidget* hostWindow() = 0;
    // The form is going away: the host forgets it.
    virtual void formGone() = 0;

protected:
    ~FormHost() = default;
};

}  // namespace forms
