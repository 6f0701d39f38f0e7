#include "vcl/ActnList.h"

#include <algorithm>

namespace vcl {

TAction::TAction(TActionList* list, const std::string& name, const std::string& caption)
    : TComponent(list), caption_(caption) {
    SetName(name);
}

void TAction::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    const auto listeners = checkedListeners_;
    for (const auto& binding : listeners) binding.listener(checked);
}

void TAction::SetEnabled(bool enabled) {
    enabled_ = enabled;
    const auto listeners = enabledListeners_;
    for (const auto& binding : listeners) binding.listener(enabled);
}

bool TAction::Execute() {
    if (!enabled_ || !OnExecute) return false;
    CallGuarded([this] { OnExecute(this); });
    return true;
}

void TAction::AddEnabledListener(QObject* client, EnabledListener listener) {
    listener(enabled_);
    enabledListeners_.push_back({client, std::move(listener)});
    QObject::connect(client, &QObject::destroyed, this, [this, client] { removeClient(client); });
}

void TAction::AddCheckedListener(QObject* client, CheckedListener listener) {
    checkedListeners_.push_back({client, std::move(listener)});
    QObject::connect(client, &QObject::destroyed, this, [this, client] { removeClient(client); });
}

void TAction::removeClient(QObject* client) {
    const auto byClient = [client](const auto& binding) { return binding.client == client; };
    enabledListeners_.erase(std::remove_if(enabledListeners_.begin(), enabledListeners_.end(), byClient),
                            enabledListeners_.end());
    checkedListeners_.erase(std::remove_if(checkedListeners_.begin(), checkedListeners_.end(), byClient),
                            checkedListeners_.end());
}

}  // namespace vcl
