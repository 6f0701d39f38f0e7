#pragma once
// Forms: top-level windows with a client area of a given size in pixels, an optional
// main menu above it, a border style, and the close protocol of the library: Close
// runs OnClose with the close action (caHide by default), which the handler may change;
// caNone keeps the form open, and closing the application's main form ends the loop.
// A form repaints when it is moved, so that its paint handler sees every move.
#include <functional>
#include <string>

#include <QWidget>

#include "vcl/Controls.h"
#include "vcl/StdCtrls.h"

class QMenuBar;
class QVBoxLayout;

namespace vcl {

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };

struct TBorderIcons {
    bool systemMenu = true;
    bool minimize = true;
    bool maximize = true;
};

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;

class FormWindow;

class TForm : public TComponent, public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    std::string Caption() const;
    void SetCaption(const std::string& caption);

    void SetClientSize(int width, int height);
    int ClientWidth() const;
    int ClientHeight() const;
    void SetBorderStyle(TFormBorderStyle style);
    void SetBorderIcons(TBorderIcons icons);
    void SetStayOnTop(bool stayOnTop);
    // The form's own font size in pixels (12 unless set), whatever the desktop's font.
    void SetFontPixelSize(int pixels);

    // Screen position of the outer frame.
    int Left() const;
    int Top() const;
    void SetLeft(int left);
    void SetTop(int top);

    bool Visible() const;
    void SetVisible(bool visible);
    void Show();
    void Hide();
    void Close();
    // Shows the form and waits until it is hidden; returns the modal result set by a
    // button (mrCancel when the form was closed otherwise).
    TModalResult ShowModal();
    void SetFocus();
    void Repaint();

    TCloseEvent OnClose;
    TNotifyEvent OnPaint;

    QWidget* ClientWidget() const override;
    TComponent* ControlOwner() override { return this; }
    QWidget* window() const;
    void SetMenuBar(QMenuBar* menuBar);

private:
    friend class FormWindow;
    void applyWindowFlags();
    void applyClientSize();

    FormWindow* window_;
    QWidget* client_;
    QVBoxLayout* layout_;
    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    TBorderIcons borderIcons_;
    bool stayOnTop_ = false;
    int clientWidth_ = 300;
    int clientHeight_ = 200;
};

}  // namespace vcl
