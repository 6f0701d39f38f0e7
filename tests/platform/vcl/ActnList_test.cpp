// Actions and the controls and menu items bound to them.
#include <gtest/gtest.h>

#include "vcl/ActnList.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"

namespace {

struct ActionFixture : ::testing::Test {
    vcl::TForm form{nullptr};
    vcl::TActionList* list = new vcl::TActionList(&form);
    vcl::TAction* action = new vcl::TAction(list, "ActionTest", "Test");
    int runs = 0;
    void SetUp() override {
        action->OnExecute = [this](vcl::TObject*) { ++runs; };
    }
};

struct CheckedCase {
    const char* name;
    bool actionChecked;
    bool boxChecked;
    bool set;
    bool expectedBox;
};

class CheckedBinding : public ActionFixture, public ::testing::WithParamInterface<CheckedCase> {};

TEST_P(CheckedBinding, TheBoxFollowsOnlyAChangeOfTheAction) {
    const CheckedCase& c = GetParam();
    auto* box = new vcl::TCheckBox(&form, "box");
    action->SetChecked(c.actionChecked);
    box->SetChecked(c.boxChecked);
    box->SetAction(action);
    EXPECT_EQ(box->Checked(), c.boxChecked) << "binding copies no checked state";
    action->SetChecked(c.set);
    EXPECT_EQ(box->Checked(), c.expectedBox);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckedBinding,
    ::testing::Values(CheckedCase{"ChangeToCheckedSetsTheBox", false, false, true, true},
                      CheckedCase{"ChangeToUncheckedClearsTheBox", true, true, false, false},
                      CheckedCase{"SameValueLeavesACheckedBoxAlone", false, true, false, true},
                      CheckedCase{"SameValueLeavesAnUncheckedBoxAlone", true, false, true, false}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(ActionFixture, BoundControlsAndMenuItemsFollowTheEnabledStateAndRunTheActionOnlyWhenEnabled) {
    auto* button = new vcl::TButton(&form, "button");
    auto* box = new vcl::TCheckBox(&form, "box");
    auto* radio = new vcl::TRadioButton(&form, "radio");
    auto* menu = new vcl::TMainMenu(&form);
    vcl::TMenuItem* item = menu->AddMenu("Menu")->AddItem("Item");
    button->SetAction(action);
    box->SetAction(action);
    radio->SetAction(action);
    item->SetAction(action);

    action->SetEnabled(false);
    for (vcl::TControl* control : std::initializer_list<vcl::TControl*>{button, box, radio})
        EXPECT_FALSE(control->Enabled());
    EXPECT_FALSE(item->Enabled());
    button->Click();
    box->Click();
    radio->Click();
    item->Click();
    EXPECT_EQ(runs, 0);
    EXPECT_FALSE(box->Checked());

    action->SetEnabled(true);
    EXPECT_TRUE(button->Enabled() && box->Enabled() && radio->Enabled() && item->Enabled());
    button->Click();
    box->Click();
    radio->Click();
    item->Click();
    EXPECT_EQ(runs, 4);
}

TEST_F(ActionFixture, AMenuItemShowsTheShortcutOfItsAction) {
    action->SetShortCut("Ctrl+N");
    auto* menu = new vcl::TMainMenu(&form);
    vcl::TMenuItem* item = menu->AddMenu("Project")->AddItem("&New");
    item->SetAction(action);
    EXPECT_EQ(item->action()->shortcut().toString().toStdString(), "Ctrl+N");
    EXPECT_EQ(item->Caption(), "&New");
}

TEST_F(ActionFixture, OpeningASubmenuRunsItsClickHandler) {
    auto* menu = new vcl::TMainMenu(&form);
    vcl::TMenuItem* results = menu->AddMenu("Results");
    int opened = 0;
    results->OnClick = [&opened](vcl::TObject*) { ++opened; };
    results->Click();
    EXPECT_EQ(opened, 1);
}

}  // namespace
