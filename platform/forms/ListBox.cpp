#include "forms/ListBox.h"

#include <QListWidget>

namespace forms {

QWidget* ListBox::createWidget(QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSortingEnabled(false);
    applyFont(list, design().font);
    // Click follows the selection, not the current row: the list makes its first row
    // current, unselected, when it takes the focus, and a later click on that row
    // changes only the selection.
    QObject::connect(list, &QListWidget::itemSelectionChanged, list, [this, list] {
        if (!list->selectedItems().isEmpty() && Click) Click();
    });
    return list;
}

QListWidget* ListBox::list() { return static_cast<QListWidget*>(widget()); }

void ListBox::AddItem(const std::string& item) { list()->addItem(QString::fromStdString(item)); }
void ListBox::Clear() { list()->clear(); }
std::int32_t ListBox::ListCount() { return list()->count(); }

std::int32_t ListBox::ListIndex() {
    QListWidget* rows = list();
    const int row = rows->currentRow();
    return row >= 0 && rows->item(row)->isSelected() ? row : -1;
}

void ListBox::put_ListIndex(std::int32_t index) {
    QListWidget* rows = list();
    if (index < -1 || index >= rows->count()) throw invalidPropertyValue();
    if (index == -1) {
        rows->setCurrentRow(-1);
        rows->clearSelection();
        return;
    }
    rows->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

std::string ListBox::List(std::int32_t index) {
    QListWidget* rows = list();
    if (index < 0 || index >= rows->count()) throw com::Error(381, "", "Invalid property array index");
    return rows->item(index)->text().toStdString();
}

std::string ListBox::Text() {
    const std::int32_t index = ListIndex();
    return index < 0 ? std::string() : List(index);
}

}  // namespace forms
