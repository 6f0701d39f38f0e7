#include "vcl/Menus.h"

#include <QKeySequence>

namespace vcl {
namespace {

QString toQt(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TMenuItem::TMenuItem(TComponent* owner, QMenu* menu, QAction* action)
    : TComponent(owner), menu_(menu), action_(action) {
    if (menu_ != nullptr) {
        QObject::connect(menu_, &QMenu::aboutToShow, this, [this] {
            if (OnClick) CallGuarded([this] { OnClick(this); });
        });
    } else {
        QObject::connect(action_, &QAction::triggered, this, [this] {
            if (bound_ != nullptr) {
                bound_->Execute();
            } else if (OnClick) {
                CallGuarded([this] { OnClick(this); });
            }
        });
    }
}

TMenuItem* TMenuItem::AddItem(const std::string& caption) {
    QAction* entry = menu_->addAction(toQt(caption));
    return new TMenuItem(Owner(), nullptr, entry);
}

TMenuItem* TMenuItem::AddSubmenu(const std::string& caption) {
    QMenu* submenu = menu_->addMenu(toQt(caption));
    return new TMenuItem(Owner(), submenu, submenu->menuAction());
}

void TMenuItem::AddSeparator() { menu_->addSeparator(); }

std::string TMenuItem::Caption() const { return action_->text().toStdString(); }
bool TMenuItem::Enabled() const { return action_->isEnabled(); }
void TMenuItem::SetEnabled(bool enabled) { action_->setEnabled(enabled); }

void TMenuItem::SetAction(TAction* action) {
    bound_ = action;
    if (!action->ShortCut().empty()) action_->setShortcut(QKeySequence(toQt(action->ShortCut())));
    action->AddEnabledListener(action_, [this](bool enabled) { SetEnabled(enabled); });
}

void TMenuItem::Click() {
    if (menu_ != nullptr) {
        emit menu_->aboutToShow();
    } else if (action_->isEnabled()) {
        action_->trigger();
    }
}

TMainMenu::TMainMenu(TForm* form) : TComponent(form), bar_(new QMenuBar) { form->SetMenuBar(bar_); }

TMenuItem* TMainMenu::AddMenu(const std::string& caption) {
    QMenu* menu = bar_->addMenu(toQt(caption));
    return new TMenuItem(Owner(), menu, menu->menuAction());
}

}  // namespace vcl
