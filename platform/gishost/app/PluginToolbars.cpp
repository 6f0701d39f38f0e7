#include "gishost/app/PluginToolbars.h"

#include <QImage>
#include <QMainWindow>
#include <QPixmap>
#include <QToolBar>

#include "com/ComponentCategories.h"
#include "com/Creation.h"
#include "forms/Picture.h"
#include "gishost/app/PluginCalls.h"
#include "gishost/app/QtText.h"
#include "gishost/model/HostModel.h"

namespace gishost::app {

QIcon commandIcon(std::int32_t bitmapHandle) {
    const QImage bitmap = forms::pictureByHandle(bitmapHandle);
    if (bitmap.isNull()) return {};
    QImage image = bitmap.convertToFormat(QImage::Format_ARGB32);
    const QRgb magenta = qRgb(255, 0, 255);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0x00FFFFFFu) == (magenta & 0x00FFFFFFu)) line[x] = qRgba(0, 0, 0, 0);
    }
    return QIcon(QPixmap::fromImage(image));
}

PluginToolbars::PluginToolbars(QMainWindow& window, com::ComPtr<IApplication> application,
                               std::function<void(const std::string&)> tell)
    : window_(window), application_(std::move(application)), tell_(std::move(tell)) {}

PluginToolbars::~PluginToolbars() { releaseCommands(); }

void PluginToolbars::build() {
    for (const com::CLSID& clsid : com::classesInCategory(CATID_ToolBars)) buildToolbar(clsid);
}

void PluginToolbars::buildToolbar(const com::CLSID& clsid) {
    com::ComPtr<IToolBarDef> definition;
    try {
        definition = com::createInstanceAs<IToolBarDef>(clsid);
    } catch (...) {
        tell_("The toolbar " + com::toString(clsid) +
              " could not be created: " + describeFailure(std::current_exception()));
        return;
    }
    const std::string clsidText = com::toString(clsid);
    std::string caption;
    std::string name;
    std::int32_t count = 0;
    if (!guarded("reading the toolbar " + clsidText, [&] {
            caption = definition->Caption();
            name = definition->Name();
            count = definition->ItemCount();
        }))
        return;
    if (count > maximumToolbarItems) {
        tell_("The toolbar " + caption + " lists " + std::to_string(count) + " items, more than the " +
              std::to_string(maximumToolbarItems) + " a toolbar can hold; it is left out");
        return;
    }
    QToolBar* toolbar = window_.addToolBar(qtText(caption));
    toolbar->setObjectName(qtText(name));
    toolbars_.push_back(toolbar);
    for (std::int32_t position = 0; position < count; ++position) {
        const com::ComPtr<IItemDef> item = model::makeItemDef();
        std::string id;
        bool group = false;
        if (!guarded("reading item " + std::to_string(position) + " of the toolbar " + caption, [&] {
                definition->GetItemInfo(position, item);
                id = item->ID();
                group = item->Group();
            }))
            continue;
        if (id.empty()) {
            tell_("Item " + std::to_string(position) + " of the toolbar " + caption + " names no command");
            continue;
        }
        addItem(*toolbar, id, group);
    }
}

void PluginToolbars::addItem(QToolBar& toolbar, const std::string& id, bool group) {
    com::ComPtr<ICommand> command;
    try {
        command = com::CreateObject<ICommand>(id);
    } catch (...) {
        tell_("The command " + id + " could not be created: " + describeFailure(std::current_exception()));
        return;
    }
    guarded("handing the application to the command " + id,
            [&] { command->OnCreate(application_.as<com::IUnknown>()); });
    Button button{command, new QAction(&toolbar), id};
    guarded("reading the command " + id, [&] {
        // A command without a caption is named by its ProgID rather than left blank.
        if (const std::string caption = command->Caption(); !caption.empty()) button.caption = caption;
        button.action->setText(qtText(button.caption));
        button.action->setIconText(qtText(button.caption));
        button.action->setToolTip(qtText(command->Tooltip()));
        button.action->setStatusTip(qtText(command->Message()));
        button.action->setObjectName(qtText(command->Name()));
        button.action->setIcon(commandIcon(command->Bitmap()));
    });
    if (group && !toolbar.actions().isEmpty()) toolbar.addSeparator();
    toolbar.addAction(button.action);
    if (QWidget* shown = toolbar.widgetForAction(button.action)) shown->setAccessibleName(qtText(button.caption));
    const std::size_t index = buttons_.size();
    QObject::connect(button.action, &QAction::triggered, button.action, [this, index] { click(index); });
    buttons_.push_back(std::move(button));
    refresh(buttons_.back());
}

void PluginToolbars::click(std::size_t index) {
    if (index >= buttons_.size() || !buttons_[index].command) return;
    // The command may be let go while it runs (the window closing): hold it.
    const com::ComPtr<ICommand> command = buttons_[index].command;
    guarded("carrying out the command " + buttons_[index].caption, [&] { command->OnClick(); });
    refreshStates();
}

void PluginToolbars::refreshStates() {
    for (Button& button : buttons_) refresh(button);
}

void PluginToolbars::refresh(Button& button) {
    if (!button.command || !button.action) return;
    bool enabled = true;
    bool checked = false;
    if (!guarded("asking the command " + button.caption + " for its state", [&] {
            enabled = button.command->Enabled();
            checked = button.command->Checked();
        }))
        return;
    button.action->setEnabled(enabled);
    button.action->setCheckable(checked);
    button.action->setChecked(checked);
}

void PluginToolbars::releaseCommands() {
    for (Button& button : buttons_) {
        button.command.reset();
        if (button.action) button.action->setEnabled(false);
    }
}

}  // namespace gishost::app
