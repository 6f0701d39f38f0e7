#pragma once
// The table window as the model keeps it: it records its settings and, when shown,
// hands its record to its application, which lists the windows shown. The host program
// derives its window from it.
#include <memory>
#include <string>
#include <vector>

#include "com/Object.h"
#include "gishost/Framework.h"
#include "gishost/model/HostModel.h"
#include "gishost/model/Recording.h"

namespace gishost::model {

class TableWindow : public com::Object<ITableWindow2, IRecordedCalls> {
public:
    com::ComPtr<IStandaloneTable> StandaloneTable() override { return record_->table; }
    void putref_StandaloneTable(const com::ComPtr<IStandaloneTable>& table) override;
    com::ComPtr<IApplication> Application() override { return application_; }
    void putref_Application(const com::ComPtr<IApplication>& application) override;
    std::int32_t RowSelection() override { return rowSelection_; }
    void put_RowSelection(std::int32_t mode) override;
    bool ShowAliasNames() override { return showAliasNames_; }
    void put_ShowAliasNames(bool show) override;
    bool ShowSelectedOnly() override { return showSelectedOnly_; }
    void put_ShowSelectedOnly(bool show) override;
    bool IsVisible() override { return visible_; }
    void Show(bool visible) override;

    std::vector<std::string> RecordedCalls() override { return record_->calls; }

private:
    std::shared_ptr<TableWindowRecord> record_ = std::make_shared<TableWindowRecord>();
    com::ComPtr<IApplication> application_;
    std::int32_t rowSelection_ = 1;
    bool showAliasNames_ = false;
    bool showSelectedOnly_ = false;
    bool visible_ = false;
};

}  // namespace gishost::model
