#pragma once
// The form base of the form run-time: a top-level window with its controls, loaded on
// first touch of any of its controls (or of its own window properties), shown modelessly
// or modally without an owner, and unloaded by code or by its close box alike. A form
// subclass declares its controls as members, wires their events to its handlers named
// as the run-time names them (cmdOK_Click ...) and overrides Form_Load, Form_Resize and
// Form_Unload. Geometry is in twips: Left, Top, Width and Height are the outer window,
// ScaleWidth and ScaleHeight its client area. Its handle is a winapi::Window, so
// winapi::SetWindowPos(form.hWnd(), HWND_TOPMOST, ...) keeps it on top.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <QPointer>
#include <QWidget>

#include "forms/ContainedObject.h"
#include "forms/Design.h"
#include "forms/IProperties.h"
#include "winapi/Windows.h"

class QEventLoop;

namespace forms {

class Control;
class FormHost;
class FormWindow;

enum FormShowConstants { Modeless = 0, Modal = 1 };

class Form : public ContainedObject<IProperties>, public winapi::Window {
public:
    explicit Form(FormDesign design);
    virtual ~Form();

    // Creates the window and the controls, then runs Form_Load; nothing when loaded.
    void Load();
    bool Loaded() const { return loaded_; }
    // Loads the form and shows it; a modal show returns when the form is unloaded or hidden.
    void Show(FormShowConstants mode = Modeless);
    void Hide();
    // Runs Form_Unload and destroys the window; the form object and its controls stay
    // and load again on their next touch.
    void Unload();

    std::string Caption();
    void put_Caption(const std::string& caption);
    double Left();
    double Top();
    double Width();
    double Height();
    void put_Left(double twips);
    void put_Top(double twips);
    void put_Width(double twips);
    void put_Height(double twips);
    double ScaleWidth();
    double ScaleHeight();
    bool Visible();
    void Refresh();
    winapi::HWND hWnd();

    // Handlers run after Form_Resize at every resize of the client area; the number
    // returned removes the handler again.
    int addResizeHandler(std::function<void()> handler);
    void removeResizeHandler(int handler);

    // Puts the form's window inside a host's window (nullptr: a window of its own again).
    void setHost(FormHost* host);

    com::Variant property(const std::string& name) override;
    void setProperty(const std::string& name, const com::Variant& value) override;

    void setStaysOnTop(bool onTop) override;
    void moveTo(int x, int y) override;
    void resizeTo(int width, int height) override;

    // The form's window (loading the form), and the top-level window that shows it.
    QWidget* window();
    QWidget* topLevelWindow();

protected:
    virtual void Form_Load() {}
    virtual void Form_Resize() {}
    virtual void Form_Unload() {}

private:
    friend class Control;
    friend class FormWindow;
    void add(Control* control) { controls_.push_back(control); }
    QWidget* clientWidget() const;
    void resized();
    void closedByUser();
    void applyTabOrder();

    FormDesign design_;
    std::vector<Control*> controls_;
    QPointer<FormWindow> window_;
    bool loaded_ = false;
    bool staysOnTop_ = false;
    FormHost* host_ = nullptr;
    QPointer<QEventLoop> modalLoop_;
    std::map<int, std::function<void()>> resizeHandlers_;
    int nextResizeHandler_ = 1;
};

}  // namespace forms
