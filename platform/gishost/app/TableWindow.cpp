#include "gishost/app/TableWindow.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <vector>

#include "gishost/app/DbaseRows.h"
#include "gishost/app/QtText.h"
#include "gishost/model/DbaseTable.h"

namespace gishost::app {
namespace {

QPointer<QWidget> owner;
// The table windows in the order they were opened; closed ones drop out as null.
std::vector<QPointer<TableView>> opened;

class RowsModel final : public QAbstractTableModel {
public:
    RowsModel(DbaseRows rows, QObject* parent) : QAbstractTableModel(parent), rows_(std::move(rows)) {}

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.rows.size());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.fieldNames.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        if (role == Qt::TextAlignmentRole) {
            const bool numeric = static_cast<std::size_t>(index.column()) < rows_.numeric.size() &&
                                 rows_.numeric[static_cast<std::size_t>(index.column())];
            return QVariant::fromValue(Qt::AlignVCenter | (numeric ? Qt::AlignRight : Qt::AlignLeft));
        }
        if (role != Qt::DisplayRole) return {};
        const QStringList& row = rows_.rows[static_cast<std::size_t>(index.row())];
        return index.column() < row.size() ? row[index.column()] : QString();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole) return {};
        if (orientation == Qt::Vertical) return section + 1;
        return section < rows_.fieldNames.size() ? rows_.fieldNames[section] : QVariant();
    }

private:
    DbaseRows rows_;
};

// The rows of the table behind a standalone table; raises DbaseRowsError with the reason
// when they cannot be read.
DbaseRows rowsOf(const com::ComPtr<IStandaloneTable>& standalone) {
    const com::ComPtr<ITable> table = standalone ? standalone->Table() : com::ComPtr<ITable>();
    if (!table) throw DbaseRowsError("The table window shows no table");
    const auto file = table.tryAs<model::ITableFile>();
    if (!file) throw DbaseRowsError("The rows of this table are not kept in a file");
    return readDbaseRows(file->FilePath());
}

// The newest table window still open, or null.
TableView* newestOpenView() {
    std::erase_if(opened, [](const QPointer<TableView>& view) { return view.isNull(); });
    for (auto view = opened.rbegin(); view != opened.rend(); ++view)
        if ((*view)->isVisible()) return *view;
    return nullptr;
}

// A new table window opens a title bar's height right and down from the newest one still
// open, so that the tables of one run do not hide one another; where that would leave
// the screen's free area, it starts again at the area's top left. The first one opens
// over the middle of the main window, where the user is looking.
void place(TableView& view) {
    const TableView* previous = newestOpenView();
    if (previous == nullptr) {
        if (owner) view.move(owner->geometry().center() - view.rect().center());
        return;
    }
    const int step = view.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &view);
    const QRect area = previous->screen()->availableGeometry();
    QPoint next = previous->pos() + QPoint(step, step);
    // The new window's frame: its size with the decorations that the previous one has.
    const QSize frame = view.size() + (previous->frameGeometry().size() - previous->size());
    if (!area.contains(QRect(next, frame))) next = area.topLeft();
    view.move(next);
}

}  // namespace

void setTableWindowOwner(QWidget* window) { owner = window; }

void TableWindow::Show(bool visible) {
    model::TableWindow::Show(visible);
    if (!visible) {
        if (view_) view_->hide();
        return;
    }
    if (!view_) {
        view_ = new TableView(StandaloneTable(), RowSelection(), ShowSelectedOnly(), owner);
        place(*view_);
        opened.emplace_back(view_);
    }
    view_->show();
    view_->raise();
}

bool TableWindow::IsVisible() { return view_ && view_->isVisible(); }

TableView::TableView(const com::ComPtr<IStandaloneTable>& table, std::int32_t rowSelection, bool showSelectedOnly,
                     QWidget* ownerWindow)
    : QWidget(ownerWindow, Qt::Window), showSelectedOnly_(showSelectedOnly) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("tableWindow"));
    setWindowTitle(QStringLiteral("Table: ") + (table ? qtText(table->Name()) : QString()));
    rows_ = new QTableView(this);
    rows_->setSelectionBehavior(QAbstractItemView::SelectRows);
    rows_->setSelectionMode(rowSelection == 0   ? QAbstractItemView::NoSelection
                            : rowSelection == 1 ? QAbstractItemView::SingleSelection
                                                : QAbstractItemView::ExtendedSelection);
    rows_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rows_->horizontalHeader()->setStretchLastSection(true);
    footer_ = new QLabel(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(rows_);
    layout->addWidget(footer_);
    try {
        rows_->setModel(new RowsModel(rowsOf(table), this));
        listRows();
    } catch (const DbaseRowsError& error) {
        footer_->setText(QString::fromStdString(error.what()));
    }
    resize(480, 360);
}

void TableView::listRows() {
    const int count = rows_->model()->rowCount();
    // A window that lists only the selected rows lists none at first: nothing is selected yet.
    for (int row = 0; row < count; ++row) rows_->setRowHidden(row, showSelectedOnly_);
    footer_->setText(showSelectedOnly_ ? QStringLiteral("0 of %1 rows listed (selected rows only)").arg(count)
                     : count == 1      ? QStringLiteral("1 row")
                                       : QStringLiteral("%1 rows").arg(count));
}

}  // namespace gishost::app
