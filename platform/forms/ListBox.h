#pragma once
// A list box of text rows with a single selection, kept in the order added. ListIndex
// is the selected row from 0, or -1 for none; Click runs whenever a row becomes the
// selected one, by the user or by code.
#include <cstdint>
#include <functional>
#include <string>

#include "forms/Control.h"

class QListWidget;

namespace forms {

class ListBox : public Control {
public:
    using Control::Control;

    void AddItem(const std::string& item);
    void Clear();
    std::int32_t ListCount();
    std::int32_t ListIndex();
    // -1 clears the selection; other rows outside the list are refused with 380.
    void put_ListIndex(std::int32_t index);
    // The text of a row; a row outside the list raises 381.
    std::string List(std::int32_t index);
    // The text of the selected row, "" without one.
    std::string Text();

    std::function<void()> Click;

protected:
    QWidget* createWidget(QWidget* parent) override;

private:
    QListWidget* list();
};

}  // namespace forms
