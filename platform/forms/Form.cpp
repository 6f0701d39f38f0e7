#include "forms/Form.h"

#include <algorithm>
#include <utility>

#include <QCloseEvent>
#include <QEventLoop>
#include <QFont>
#include <QPixmap>
#include <QResizeEvent>

#include "forms/Control.h"
#include "forms/FormHost.h"
#include "forms/Twips.h"

namespace forms {

// The window of a loaded form: its close box unloads the form, and a resize of its
// client area raises the form's resize event.
class FormWindow : public QWidget {
public:
    explicit FormWindow(Form* form) : form_(form) {}
    void detach() { form_ = nullptr; }

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        if (form_ != nullptr) form_->closedByUser();
    }
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (form_ != nullptr) form_->resized();
    }

private:
    Form* form_;
};

Form::Form(FormDesign design) : design_(std::move(design)) {}

Form::~Form() {
    if (host_ != nullptr) host_->formGone();
    if (window_ != nullptr) {
        window_->detach();
        delete window_.data();
    }
}

void Form::Load() {
    if (loaded_) return;
    window_ = new FormWindow(this);
    window_->setAttribute(Qt::WA_DeleteOnClose, false);
    window_->setWindowTitle(QString::fromStdString(design_.caption));
    if (!design_.icon.isNull()) window_->setWindowIcon(QPixmap::fromImage(design_.icon));
    Qt::WindowFlags flags = Qt::Window;
    if (staysOnTop_) flags |= Qt::WindowStaysOnTopHint;
    window_->setWindowFlags(flags);
    // The run-time's form font: 8 points unless a control's design names another.
    QFont font = window_->font();
    font.setPointSizeF(8);
    window_->setFont(font);
    const int width = pixelsFromTwips(design_.clientWidth);
    const int height = pixelsFromTwips(design_.clientHeight);
    if (design_.sizable) {
        window_->resize(width, height);
    } else {
        window_->setFixedSize(width, height);
    }
    loaded_ = true;
    for (Control* control : controls_)
        if (control->loadedWidget() == nullptr) control->create();
    applyTabOrder();
    if (host_ != nullptr) host_->embed(window_);
    Form_Load();
}

void Form::applyTabOrder() {
    std::vector<Control*> ordered;
    for (Control* control : controls_)
        if (control->TabIndex() >= 0) ordered.push_back(control);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Control* a, const Control* b) { return a->TabIndex() < b->TabIndex(); });
    for (std::size_t k = 1; k < ordered.size(); ++k)
        QWidget::setTabOrder(ordered[k - 1]->loadedWidget(), ordered[k]->loadedWidget());
}

void Form::Show(FormShowConstants mode) {
    Load();
    QWidget* shown = topLevelWindow();
    if (mode == Modal) {
        if (modalLoop_ != nullptr) return;  // already shown modally
        shown->setWindowModality(Qt::ApplicationModal);
        shown->show();
        shown->raise();
        shown->activateWindow();
        QEventLoop loop;
        modalLoop_ = &loop;
        loop.exec();
        modalLoop_ = nullptr;
        if (loaded_) topLevelWindow()->setWindowModality(Qt::NonModal);
        return;
    }
    shown->show();
    shown->raise();
}

void Form::Hide() {
    if (!loaded_) return;
    topLevelWindow()->hide();
    if (modalLoop_ != nullptr) modalLoop_->quit();
}

void Form::Unload() {
    if (!loaded_) return;
    Form_Unload();
    if (!loaded_) return;  // unloaded again inside Form_Unload
    loaded_ = false;
    for (Control* control : controls_) control->forget();
    FormWindow* window = window_;
    window_ = nullptr;
    if (host_ != nullptr) host_->hostWindow()->hide();
    window->detach();
    window->hide();
    // The window may be running the very handler that unloads it: it goes once that returns.
    window->deleteLater();
    if (modalLoop_ != nullptr) modalLoop_->quit();
}

void Form::closedByUser() { Unload(); }

void Form::resized() {
    if (!loaded_) return;
    Form_Resize();
    // A handler may remove itself or others: run over a copy.
    const auto handlers = resizeHandlers_;
    for (const auto& [id, handler] : handlers)
        if (resizeHandlers_.count(id) != 0) handler();
}

int Form::addResizeHandler(std::function<void()> handler) {
    const int id = nextResizeHandler_++;
    resizeHandlers_[id] = std::move(handler);
    return id;
}

void Form::removeResizeHandler(int handler) { resizeHandlers_.erase(handler); }

void Form::setHost(FormHost* host) {
    if (host_ == host) return;
    host_ = host;
    if (window_ == nullptr) return;
    if (host_ != nullptr) {
        host_->embed(window_);
    } else {
        window_->setParent(nullptr, window_->windowFlags() | Qt::Window);
    }
}

QWidget* Form::window() {
    Load();
    return window_;
}

QWidget* Form::topLevelWindow() {
    Load();
    return host_ != nullptr ? host_->hostWindow() : window_.data();
}

QWidget* Form::clientWidget() const { return window_; }

std::string Form::Caption() { return window()->windowTitle().toStdString(); }
void Form::put_Caption(const std::string& caption) { window()->setWindowTitle(QString::fromStdString(caption)); }

double Form::Left() { return twipsFromPixels(topLevelWindow()->frameGeometry().x()); }
double Form::Top() { return twipsFromPixels(topLevelWindow()->frameGeometry().y()); }
double Form::Width() { return twipsFromPixels(window()->frameGeometry().width()); }
double Form::Height() { return twipsFromPixels(window()->frameGeometry().height()); }
void Form::put_Left(double twips) { moveTo(pixelsFromTwips(twips), topLevelWindow()->frameGeometry().y()); }
void Form::put_Top(double twips) { moveTo(topLevelWindow()->frameGeometry().x(), pixelsFromTwips(twips)); }

void Form::put_Width(double twips) {
    QWidget* w = window();
    const int frame = w->frameGeometry().width() - w->width();
    resizeTo(std::max(0, pixelsFromTwips(twips) - frame), w->height());
}

void Form::put_Height(double twips) {
    QWidget* w = window();
    const int frame = w->frameGeometry().height() - w->height();
    resizeTo(w->width(), std::max(0, pixelsFromTwips(twips) - frame));
}

double Form::ScaleWidth() { return twipsFromPixels(window()->width()); }
double Form::ScaleHeight() { return twipsFromPixels(window()->height()); }
bool Form::Visible() { return loaded_ && topLevelWindow()->isVisible(); }
void Form::Refresh() { window()->repaint(); }

winapi::HWND Form::hWnd() {
    Load();
    return this;
}

void Form::setStaysOnTop(bool onTop) {
    staysOnTop_ = onTop;
    QWidget* top = topLevelWindow();
    const bool wasVisible = top->isVisible();
    top->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (wasVisible) top->show();  // changing the flags hides the window
}

void Form::moveTo(int x, int y) { topLevelWindow()->move(x, y); }

void Form::resizeTo(int width, int height) {
    QWidget* w = window();
    if (design_.sizable) {
        w->resize(width, height);
    } else {
        w->setFixedSize(width, height);
    }
}

com::Variant Form::property(const std::string& name) {
    if (name == "Left") return Left();
    if (name == "Top") return Top();
    if (name == "Width") return Width();
    if (name == "Height") return Height();
    if (name == "ScaleWidth") return ScaleWidth();
    if (name == "ScaleHeight") return ScaleHeight();
    if (name == "Caption") return Caption();
    if (name == "Visible") return Visible();
    throw unknownProperty(name);
}

void Form::setProperty(const std::string& name, const com::Variant& value) {
    if (name == "Left") return put_Left(com::toDouble(value));
    if (name == "Top") return put_Top(com::toDouble(value));
    if (name == "Width") return put_Width(com::toDouble(value));
    if (name == "Height") return put_Height(com::toDouble(value));
    if (name == "Caption") return put_Caption(com::toText(value));
    throw unknownProperty(name);
}

}  // namespace forms
