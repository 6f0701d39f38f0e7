#pragma once
// The toolbars of the enrolled plug-ins: every class enrolled as a toolbar definition is
// created and asked for its caption (the toolbar's title), name (its object name) and
// items; each item's command is created by its ProgID, handed the application
// (OnCreate) and shown as a button with its bitmap (magenta transparent), caption, tool
// tip and status message, enabled and checked as it says. An item that starts a group
// has a separator before it. A click calls the command's OnClick. A toolbar or command
// that cannot be created is left out with a message in the status bar; every other
// failure of a plug-in is shown in a message box, and the host goes on.
#include <QAction>
#include <QIcon>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "com/ComPtr.h"
#include "gishost/Framework.h"

class QMainWindow;
class QToolBar;

namespace gishost::app {

// The bitmap behind a picture handle with its magenta (red 255, green 0, blue 255)
// made transparent; an empty icon when no picture holds the handle.
QIcon commandIcon(std::int32_t bitmapHandle);

// A toolbar definition may list this many items at most; beyond, the host takes none.
inline constexpr std::int32_t maximumToolbarItems = 256;

class PluginToolbars {
public:
    // `tell` puts a message in the status bar.
    PluginToolbars(QMainWindow& window, com::ComPtr<IApplication> application,
                   std::function<void(const std::string&)> tell);
    ~PluginToolbars();
    PluginToolbars(const PluginToolbars&) = delete;
    PluginToolbars& operator=(const PluginToolbars&) = delete;

    // Builds the toolbar of every enrolled toolbar definition.
    void build();
    // Asks every command again whether it is enabled and checked.
    void refreshStates();
    // Lets go of every command (their buttons stay, doing nothing).
    void releaseCommands();

    const std::vector<QToolBar*>& toolbars() const { return toolbars_; }

private:
    struct Button {
        com::ComPtr<ICommand> command;
        QPointer<QAction> action;
        std::string caption;
    };

    void buildToolbar(const com::CLSID& clsid);
    void addItem(QToolBar& toolbar, const std::string& id, bool group);
    void click(std::size_t button);
    void refresh(Button& button);

    QMainWindow& window_;
    com::ComPtr<IApplication> application_;
    std::function<void(const std::string&)> tell_;
    std::vector<QToolBar*> toolbars_;
    std::vector<Button> buttons_;
};

}  // namespace gishost::app
