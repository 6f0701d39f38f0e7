#pragma once
// Actions and action lists. An action holds a caption, a checked and an enabled state,
// a shortcut and its handler. Controls and menu items bound to an action follow its
// enabled state at once; check boxes follow its checked state only when it changes:
// setting Checked to a value different from the current one sets every bound box to
// it, setting the value it already has changes nothing.
#include <functional>
#include <string>
#include <vector>

#include "vcl/Classes.h"

namespace vcl {

class TActionList;

class TAction : public TComponent {
public:
    TAction(TActionList* list, const std::string& name, const std::string& caption);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption) { caption_ = caption; }
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // A key sequence in Qt's portable text form, e.g. "Ctrl+N"; empty for none.
    const std::string& ShortCut() const { return shortCut_; }
    void SetShortCut(const std::string& shortCut) { shortCut_ = shortCut; }

    TNotifyEvent OnExecute;

    // What a click on a bound control does: runs the handler when the action is enabled.
    // Returns whether it ran. Code that runs an action calls its handler directly.
    bool Execute();

    // Bound controls and menu items register here.
    using EnabledListener = std::function<void(bool enabled)>;
    using CheckedListener = std::function<void(bool checked)>;
    void AddEnabledListener(QObject* client, EnabledListener listener);
    void AddCheckedListener(QObject* client, CheckedListener listener);

private:
    template <class Listener>
    struct Binding {
        QObject* client;
        Listener listener;
    };
    void removeClient(QObject* client);

    std::string caption_;
    bool checked_ = false;
    bool enabled_ = true;
    std::string shortCut_;
    std::vector<Binding<EnabledListener>> enabledListeners_;
    std::vector<Binding<CheckedListener>> checkedListeners_;
};

class TActionList : public TComponent {
public:
    explicit TActionList(TComponent* owner) : TComponent(owner) {}
};

}  // namespace vcl
