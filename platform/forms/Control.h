#pragma once
// The control base of the form run-time. A control belongs to a form and is declared
// in it with its design; its widget exists while the form is loaded. Touching any
// property of a control loads its form first (creating the window and running the
// form's Form_Load), as the run-time does. Geometry is in twips within the control's
// container (the form's client area, or a picture box). Left, Top, Width, Height,
// Container, Name, Enabled and Visible are also reached by name (IProperties).
#include <string>

#include <QPointer>
#include <QWidget>

#include "forms/ContainedObject.h"
#include "forms/Design.h"
#include "forms/IProperties.h"
#include "winapi/Windows.h"

namespace forms {

class Form;

class Control : public ContainedObject<IProperties>, public winapi::Window {
public:
    Control(Form& form, std::string name, Design design);
    virtual ~Control();

    const std::string& Name() const { return name_; }
    Form& Parent() const { return form_; }
    // The form or the picture box that holds the control.
    IProperties& Container() const;

    double Left();
    double Top();
    double Width();
    double Height();
    // Negative sizes are refused with 380, sizes beyond the screen's reach with 6.
    void put_Left(double twips);
    void put_Top(double twips);
    void put_Width(double twips);
    void put_Height(double twips);
    void Move(double left, double top, double width, double height);

    bool Enabled();
    void put_Enabled(bool enabled);
    bool Visible();
    void put_Visible(bool visible);
    std::string ToolTipText();
    void put_ToolTipText(const std::string& text);
    int TabIndex() const { return design_.tabIndex; }

    void SetFocus();
    // Redraws the control at once.
    void Refresh();
    winapi::HWND hWnd();

    com::Variant property(const std::string& name) override;
    void setProperty(const std::string& name, const com::Variant& value) override;

    // The control's widget, loading the form when needed.
    QWidget* widget();

    // winapi::Window: moves and sizes in pixels; a control never stays on top by itself.
    void setStaysOnTop(bool) override {}
    void moveTo(int x, int y) override;
    void resizeTo(int width, int height) override;

protected:
    // Builds the widget from the design, as a child of `parent`.
    virtual QWidget* createWidget(QWidget* parent) = 0;
    // The widget that holds controls placed in this one (picture boxes).
    virtual QWidget* clientArea() { return widget_; }
    const Design& design() const { return design_; }
    // The widget while the form is loaded, without loading it.
    QWidget* loadedWidget() const { return widget_; }
    // Gives the widget the design's font, where the design names one.
    static void applyFont(QWidget* widget, const FontDesign& font);

private:
    friend class Form;
    void create();
    void forget() { widget_ = nullptr; }
    void setGeometryTwips(double left, double top, double width, double height);

    Form& form_;
    std::string name_;
    Design design_;
    QPointer<QWidget> widget_;
};

}  // namespace forms
