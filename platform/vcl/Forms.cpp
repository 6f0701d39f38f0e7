#include "vcl/Forms.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFont>
#include <QMenuBar>
#include <QVBoxLayout>

#include "vcl/Application.h"

namespace vcl {

constexpr const char* modalResultProperty = "vclModalResult";

// The window of a form: hands close requests to the form's close protocol, calls the
// paint handler after painting, and repaints when moved.
class FormWindow : public QWidget {
public:
    explicit FormWindow(TForm* form) : form_(form) {}
    void detach() { form_ = nullptr; }
    std::function<void()> onHidden;

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        if (form_ != nullptr) form_->Close();
    }
    void paintEvent(QPaintEvent* event) override {
        QWidget::paintEvent(event);
        if (form_ != nullptr && form_->OnPaint) CallGuarded([this] { form_->OnPaint(form_); });
    }
    void moveEvent(QMoveEvent* event) override {
        QWidget::moveEvent(event);
        update();
    }
    void hideEvent(QHideEvent* event) override {
        QWidget::hideEvent(event);
        if (onHidden) onHidden();
    }

private:
    TForm* form_;
};

TForm::TForm(TComponent* owner) : TComponent(owner), window_(new FormWindow(this)), client_(new QWidget) {
    layout_ = new QVBoxLayout(window_);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    layout_->addWidget(client_);
    SetFontPixelSize(12);
    applyWindowFlags();
    applyClientSize();
}

TForm::~TForm() {
    window_->detach();
    // Controls first, so that no handler runs while the widgets go.
    const auto components = findChildren<QObject*>(QString(), Qt::FindDirectChildrenOnly);
    for (QObject* component : components) delete component;
    delete window_;
}

std::string TForm::Caption() const { return window_->windowTitle().toStdString(); }
void TForm::SetCaption(const std::string& caption) { window_->setWindowTitle(QString::fromStdString(caption)); }

void TForm::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    applyClientSize();
}

int TForm::ClientWidth() const { return client_->width(); }
int TForm::ClientHeight() const { return client_->height(); }

void TForm::SetBorderStyle(TFormBorderStyle style) {
    borderStyle_ = style;
    applyWindowFlags();
    applyClientSize();
}

void TForm::SetBorderIcons(TBorderIcons icons) {
    borderIcons_ = icons;
    applyWindowFlags();
}

void TForm::SetStayOnTop(bool stayOnTop) {
    stayOnTop_ = stayOnTop;
    applyWindowFlags();
}

void TForm::applyWindowFlags() {
    const bool wasVisible = window_->isVisible();
    Qt::WindowFlags flags;
    switch (borderStyle_) {
    case TFormBorderStyle::bsNone:
        flags = Qt::Tool | Qt::FramelessWindowHint;
        break;
    case TFormBorderStyle::bsDialog:
        flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        break;
    case TFormBorderStyle::bsSingle:
    case TFormBorderStyle::bsSizeable:
        flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (borderIcons_.systemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (borderIcons_.minimize) flags |= Qt::WindowMinimizeButtonHint;
        if (borderIcons_.maximize && borderStyle_ == TFormBorderStyle::bsSizeable)
            flags |= Qt::WindowMaximizeButtonHint;
        break;
    }
    if (stayOnTop_) flags |= Qt::WindowStaysOnTopHint;
    window_->setWindowFlags(flags);
    if (wasVisible) window_->show();
}

void TForm::applyClientSize() {
    if (borderStyle_ == TFormBorderStyle::bsSizeable) {
        layout_->setSizeConstraint(QLayout::SetDefaultConstraint);
        client_->setMinimumSize(1, 1);
        client_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        client_->resize(clientWidth_, clientHeight_);
        const int menuHeight = layout_->menuBar() != nullptr ? layout_->menuBar()->sizeHint().height() : 0;
        window_->resize(clientWidth_, clientHeight_ + menuHeight);
    } else {
        client_->setFixedSize(clientWidth_, clientHeight_);
        layout_->setSizeConstraint(QLayout::SetFixedSize);
        window_->adjustSize();
    }
}

void TForm::SetFontPixelSize(int pixels) {
    QFont font = window_->font();
    font.setPixelSize(pixels);
    window_->setFont(font);
}

int TForm::Left() const { return window_->x(); }
int TForm::Top() const { return window_->y(); }
void TForm::SetLeft(int left) { window_->move(left, window_->y()); }
void TForm::SetTop(int top) { window_->move(window_->x(), top); }

bool TForm::Visible() const { return window_->isVisible(); }
void TForm::SetVisible(bool visible) { visible ? Show() : Hide(); }
void TForm::Show() {
    window_->show();
    window_->raise();
}
void TForm::Hide() { window_->hide(); }

void TForm::Close() {
    TCloseAction action = TCloseAction::caHide;
    if (OnClose) CallGuarded([this, &action] { OnClose(this, action); });
    if (action == TCloseAction::caNone) return;
    if (Application != nullptr && Application->MainForm() == this) {
        Hide();
        Application->Terminate();
        return;
    }
    if (action == TCloseAction::caMinimize) {
        window_->showMinimized();
    } else {
        Hide();
    }
}

TModalResult TForm::ShowModal() {
    window_->setProperty(modalResultProperty, static_cast<int>(TModalResult::mrNone));
    window_->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    window_->onHidden = [&loop] { loop.quit(); };
    Show();
    if (window_->isVisible()) loop.exec();
    window_->onHidden = nullptr;
    window_->setWindowModality(Qt::NonModal);
    const auto result = static_cast<TModalResult>(window_->property(modalResultProperty).toInt());
    return result == TModalResult::mrNone ? TModalResult::mrCancel : result;
}

void TForm::SetFocus() {
    window_->raise();
    window_->activateWindow();
}

void TForm::Repaint() { window_->repaint(); }

QWidget* TForm::ClientWidget() const { return client_; }
QWidget* TForm::window() const { return window_; }

void TForm::SetMenuBar(QMenuBar* menuBar) {
    layout_->setMenuBar(menuBar);
    applyClientSize();
}

}  // namespace vcl
