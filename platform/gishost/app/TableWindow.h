#pragma once
// The host's table window: the model's table window (which records its settings and
// tells its application when it is shown) with a window that lists the rows of its
// standalone table. Show(true) opens the window without waiting for it; the display
// settings apply to it: the row selection (0 none, 1 one row, 2 several rows), the
// column titles (a dBASE field has no alias, so its name), and whether only the
// selected rows are listed. The window belongs to the host's main window when there is
// one, so that it closes with it. Each new window opens a step right and down from the
// newest one still open, within the screen.
#include <QPointer>
#include <QWidget>

#include "gishost/model/TableWindow.h"

class QLabel;
class QTableView;

namespace gishost::app {

class TableView;

class TableWindow final : public model::TableWindow {
public:
    void Show(bool visible) override;
    bool IsVisible() override;

private:
    QPointer<TableView> view_;
};

// The window of a table window: the table's rows under its field names, and a line that
// counts the rows listed.
class TableView : public QWidget {
public:
    TableView(const com::ComPtr<IStandaloneTable>& table, std::int32_t rowSelection, bool showSelectedOnly,
              QWidget* owner);

    QTableView* rows() const { return rows_; }
    QLabel* footer() const { return footer_; }

private:
    void listRows();

    QTableView* rows_;
    QLabel* footer_;
    bool showSelectedOnly_;
};

// The window that table windows belong to (the main window sets itself), or null.
void setTableWindowOwner(QWidget* owner);

}  // namespace gishost::app
