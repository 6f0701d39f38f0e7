#include "forms/WindowFrame.h"

#include <QCloseEvent>
#include <QPointer>
#include <QVBoxLayout>
#include <QWidget>

#include "com/ClassFactory.h"
#include "com/ClassTable.h"
#include "forms/Form.h"
#include "forms/FormHost.h"
#include "forms/IWindowFrame.h"

namespace forms {
namespace {

class FrameWidget : public QWidget {
public:
    explicit FrameWidget(Form*& form) : form_(form) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        if (form_ != nullptr) {
            form_->Unload();
        } else {
            hide();
        }
    }

private:
    Form*& form_;
};

class WindowFrame final : public com::Object<IWindowFrame, IWindowFrameSize>, public FormHost {
public:
    WindowFrame() : window_(new FrameWidget(form_)) {}
    ~WindowFrame() override {
        if (form_ != nullptr) form_->setHost(nullptr);
        delete window_.data();
    }

    void Hold(Form& form) override {
        if (form_ != nullptr && form_ != &form) form_->setHost(nullptr);
        form_ = &form;
        form.setHost(this);
    }
    std::string Caption() override { return window_->windowTitle().toStdString(); }
    void put_Caption(const std::string& caption) override { window_->setWindowTitle(QString::fromStdString(caption)); }
    std::int32_t Height() override { return window_->height(); }
    void put_Height(std::int32_t pixels) override {
        if (pixels < 0) throw com::Error(380, "", "Invalid property value");
        height_ = pixels;
        window_->resize(window_->width(), pixels);
    }

    void embed(QWidget* formWindow) override {
        formWindow->setParent(window_, Qt::Widget);
        window_->layout()->addWidget(formWindow);
        window_->resize(formWindow->width(), height_ > 0 ? height_ : formWindow->height());
        formWindow->show();
    }
    QWidget* hostWindow() override { return window_; }
    void formGone() override { form_ = nullptr; }

private:
    Form* form_ = nullptr;
    QPointer<FrameWidget> window_;
    int height_ = 0;
};

}  // namespace

void registerWindowFrameClass() { com::registerClass(CLSID_WindowFrame, "", com::classFactory<WindowFrame>()); }

}  // namespace forms
