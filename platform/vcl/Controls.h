#pragma once
// The control base of the window library: a component that shows one Qt widget inside
// a container (a form's client area or a group box), placed at a position and size in
// pixels within it. Enabled, Visible and Hint act on the widget.
#include <string>

#include <QWidget>

#include "vcl/Classes.h"

namespace vcl {

// How a control fills its container: alNone keeps its bounds, alBottom stretches it
// along the bottom edge, alClient fills what the bottom-aligned controls leave.
enum class TAlign { alNone, alBottom, alClient };

// A component that holds controls: a form's client area or a group box.
class TWinControl {
public:
    virtual ~TWinControl() = default;
    virtual QWidget* ClientWidget() const = 0;
    // The component that owns the controls placed in it.
    virtual TComponent* ControlOwner() = 0;
};

class TControl : public TComponent {
public:
    TControl(TWinControl* parent, QWidget* widget);

    void SetBounds(int left, int top, int width, int height);
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;

    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Visible() const;
    void SetVisible(bool visible);
    std::string Hint() const;
    void SetHint(const std::string& hint);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    void SetFocus();
    void Repaint();

    QWidget* widget() const { return widget_; }

private:
    QWidget* widget_;
    TAlign align_ = TAlign::alNone;
};

}  // namespace vcl
