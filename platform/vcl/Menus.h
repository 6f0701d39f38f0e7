#pragma once
// The main menu: a bar of menus above a form's client area, with items, submenus and
// separators. An item bound to an action runs it and is enabled exactly when the
// action is; it shows the action's shortcut. OnClick of a submenu runs each time it
// opens.
#include <string>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "vcl/ActnList.h"
#include "vcl/Forms.h"

namespace vcl {

class TMenuItem : public TComponent {
public:
    // An entry of a menu or of the bar; `menu` is its submenu, or null for a plain item.
    TMenuItem(TComponent* owner, QMenu* menu, QAction* action);

    TMenuItem* AddItem(const std::string& caption);
    TMenuItem* AddSubmenu(const std::string& caption);
    void AddSeparator();

    std::string Caption() const;
    bool Enabled() const;
    void SetEnabled(bool enabled);
    void SetAction(TAction* action);
    // A click as the user makes it (for a submenu: opening it).
    void Click();
    TNotifyEvent OnClick;

    QAction* action() const { return action_; }
    QMenu* menu() const { return menu_; }

private:
    QMenu* menu_;       // the submenu, or null for a plain item
    QAction* action_;   // the entry in the parent menu or bar
    TAction* bound_ = nullptr;
};

class TMainMenu : public TComponent {
public:
    explicit TMainMenu(TForm* form);
    TMenuItem* AddMenu(const std::string& caption);
    QMenuBar* bar() const { return bar_; }

private:
    QMenuBar* bar_;
};

}  // namespace vcl
