// The toolbar definition as the host reads it: its name, caption and items, the second
// item starting a new group, and positions beyond the items left alone.
#include "gis_extension/clsToolBar.h"

#include <gtest/gtest.h>

#include "gis_toolkit/support/RecordingErrorReport.h"
#include "gishost/model/HostModel.h"

namespace {

TEST(clsToolBar, DescribesTheToolbarAndItsTwoCommands) {
    testing_support::RecordingErrorReport reports;
    const auto toolbar = com::make<gishost::IToolBarDef, gis_extension::clsToolBar>();
    EXPECT_EQ(toolbar->Name(), "Veltrano_IDToolBar");
    EXPECT_EQ(toolbar->Caption(), "Veltrano");
    ASSERT_EQ(toolbar->ItemCount(), 2);

    struct Item {
        std::int32_t position;
        std::string id;
        bool group;
    };
    const Item items[] = {
        {0, "Veltrano.cmdWithinDistance", false},
        {1, "Veltrano.clsManual", true},
        {2, "", false},   // beyond the items: untouched
        {-1, "", false},  // likewise
    };
    for (const Item& item : items) {
        const com::ComPtr<gishost::IItemDef> itemDef = gishost::model::makeItemDef();
        toolbar->GetItemInfo(item.position, itemDef);
        EXPECT_EQ(itemDef->ID(), item.id) << item.position;
        EXPECT_EQ(itemDef->Group(), item.group) << item.position;
    }
    EXPECT_TRUE(reports.shown().empty());
}

TEST(clsToolBar, AFailingItemDefinitionIsReportedUnderTheMember) {
    testing_support::RecordingErrorReport reports;
    const auto toolbar = com::make<gishost::IToolBarDef, gis_extension::clsToolBar>();
    toolbar->GetItemInfo(0, com::ComPtr<gishost::IItemDef>());
    ASSERT_EQ(reports.shown().size(), 1u);
    EXPECT_NE(reports.shown()[0].find("\tIToolBarDef_GetItemInfo clsToolBar \r\n"), std::string::npos)
        << reports.shown()[0];
}

}  // namespace
