#include "gishost/model/TableWindow.h"

namespace gishost::model {

void TableWindow::putref_StandaloneTable(const com::ComPtr<IStandaloneTable>& table) {
    record_->table = table;
    record_->calls.push_back("StandaloneTable = " + (table ? table->Name() : std::string("Nothing")));
}

void TableWindow::putref_Application(const com::ComPtr<IApplication>& application) {
    application_ = application;
    record_->calls.push_back(std::string("Application = ") + (application ? "the application" : "Nothing"));
}

void TableWindow::put_RowSelection(std::int32_t mode) {
    rowSelection_ = mode;
    record_->calls.push_back("RowSelection = " + std::to_string(mode));
}

void TableWindow::put_ShowAliasNames(bool show) {
    showAliasNames_ = show;
    record_->calls.push_back("ShowAliasNames = " + booleanText(show));
}

void TableWindow::put_ShowSelectedOnly(bool show) {
    showSelectedOnly_ = show;
    record_->calls.push_back("ShowSelectedOnly = " + booleanText(show));
}

void TableWindow::Show(bool visible) {
    record_->calls.push_back("Show(" + booleanText(visible) + ")");
    const bool appears = visible && !visible_;
    visible_ = visible;
    if (!appears || !application_) return;
    if (const auto model = application_.tryAs<IApplicationModel>())
        model->TableWindowShown(record_);
}

}  // namespace gishost::model
