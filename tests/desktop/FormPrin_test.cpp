// The main window without a run: its fresh state, the enabling rules, the connection
// type, the input lock, the Results menu, file choices, the modified flag and the
// prompts.
#include "DesktopFixture.h"

#include <functional>

#include <QTimer>

#include "desktop/inputs/EditEnabling.h"
#include "support/TestFiles.h"

namespace {

using desktop_testing::DesktopFixture;
namespace fs = std::filesystem;

class MainWindow : public DesktopFixture {};

TEST_F(MainWindow, AFreshWindowStartsWithTheDefaultProject) {
    EXPECT_EQ(window->Caption(), "Veltrano Tamblor 2.2 - NewProject1.txt");
    EXPECT_EQ(window->ClientWidth(), 478);
    EXPECT_EQ(window->ClientHeight(), 525);
    EXPECT_EQ(window->ComboBoxConnectionType->Text(), "Distances");
    EXPECT_TRUE(window->RadioButtonFull->Checked());
    EXPECT_FALSE(window->RadioButtonPartial->Checked());
    EXPECT_FALSE(window->CheckBoxAddNodes->Checked());
    for (vcl::TCheckBox* box : {window->CheckBoxNL, window->CheckBoxNC, window->CheckBoxH, window->CheckBoxCCP,
                                window->CheckBoxLCP, window->CheckBoxIIC, window->CheckBoxF, window->CheckBoxAWF,
                                window->CheckBoxPc})
        EXPECT_FALSE(box->Checked());
    // dA is computed in a fresh window, though its action reads unchecked.
    EXPECT_TRUE(window->CheckBoxArea->Checked());
    EXPECT_FALSE(window->ActionA->Checked());
    for (vcl::TEdit* edit : {window->EditThreshold, window->EditKDistanceProb, window->EditKProb,
                             window->EditLandscapeArea}) {
        EXPECT_FALSE(edit->Enabled());
        EXPECT_EQ(edit->Text(), "");
    }
    EXPECT_FALSE(window->BitBtnMorePC->Enabled());
    EXPECT_TRUE(window->ActionStartExecution->Enabled());
    for (vcl::TAction* action : {window->ActionPauseExecution, window->ActionResumeExecution,
                                 window->ActionStopExecution})
        EXPECT_FALSE(action->Enabled());
    // Of the result actions only the maximum-product view starts enabled (no menu item or
    // button runs it).
    for (vcl::TAction* action : window->resultActions())
        EXPECT_EQ(action->Enabled(), action == window->ActionViewProbMax) << action->Name();
    EXPECT_FALSE(window->Components1->Enabled());
    window->View1->Click();
    for (vcl::TMenuItem* submenu : {window->Nodeimportances1, window->Overallindicesvalues1, window->Components1,
                                    window->Adjacencies1, window->Probabilities1, window->ExecutionEvents1})
        EXPECT_FALSE(submenu->Enabled()) << submenu->Caption();
    EXPECT_FALSE(morePC->Visible());
    EXPECT_TRUE(morePC->RadioButtonAllPaths->Checked());
    EXPECT_EQ(morePC->EditMinProb->Text(), "0");
    EXPECT_FALSE(morePC->EditMinProb->Enabled());
    EXPECT_FALSE(window->modified);
    EXPECT_EQ(desktop::startDir, fs::current_path().string());
}

struct RuleCase {
    const char* name;
    std::function<void(desktop::TFormPrincipal&)> change;
    bool threshold, probabilityPair, landscapeAttribute, moreButton;
    const char* thresholdLabel;
};

class EnablingRules : public DesktopFixture, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(EnablingRules, EachIndexEnablesTheEditsItNeeds) {
    const RuleCase& c = GetParam();
    c.change(*window);
    EXPECT_EQ(window->EditThreshold->Enabled(), c.threshold);
    EXPECT_EQ(window->LabelAdjacentTail->Enabled(), c.threshold);
    EXPECT_EQ(window->EditKDistanceProb->Enabled(), c.probabilityPair);
    EXPECT_EQ(window->EditKProb->Enabled(), c.probabilityPair);
    EXPECT_EQ(window->LabelProb->Enabled(), c.probabilityPair);
    EXPECT_EQ(window->EditLandscapeArea->Enabled(), c.landscapeAttribute);
    EXPECT_EQ(window->LabelLand->Enabled(), c.landscapeAttribute);
    EXPECT_EQ(window->BitBtnMorePC->Enabled(), c.moreButton);
    EXPECT_EQ(window->LabelAdjacentTail->Caption(), c.thresholdLabel);
}

using W = desktop::TFormPrincipal;
INSTANTIATE_TEST_SUITE_P(
    Cases, EnablingRules,
    ::testing::Values(
        RuleCase{"NL", [](W& w) { w.CheckBoxNL->Click(); }, true, false, false, false, "Distance threshold:"},
        RuleCase{"LCPAlsoNeedsTheLandscapeAttribute", [](W& w) { w.CheckBoxLCP->Click(); }, true, false, true, false,
                 "Distance threshold:"},
        RuleCase{"IIC", [](W& w) { w.CheckBoxIIC->Click(); }, true, false, true, false, "Distance threshold:"},
        RuleCase{"F", [](W& w) { w.CheckBoxF->Click(); }, false, true, false, false, "Distance threshold:"},
        RuleCase{"PCEnablesTheOptionsButton", [](W& w) { w.CheckBoxPc->Click(); }, false, true, true, true,
                 "Distance threshold:"},
        RuleCase{"LCPTwiceIsOffAgain",
                 [](W& w) {
                     w.CheckBoxLCP->Click();
                     w.CheckBoxLCP->Click();
                 },
                 false, false, false, false, "Distance threshold:"},
        RuleCase{"LinksKeepTheThresholdOff",
                 [](W& w) {
                     w.ComboBoxConnectionType->Choose(2);
                     w.CheckBoxNC->Click();
                 },
                 false, false, false, false, "Distance threshold:"},
        RuleCase{"BackToDistancesAfterLinks",
                 [](W& w) {
                     w.ComboBoxConnectionType->Choose(2);
                     w.CheckBoxNC->Click();
                     w.ComboBoxConnectionType->Choose(0);
                 },
                 true, false, false, false, "Distance threshold:"},
        RuleCase{"ProbabilitiesNeedNoDistanceAndProbability",
                 [](W& w) {
                     w.ComboBoxConnectionType->Choose(1);
                     w.CheckBoxH->Click();
                     w.CheckBoxAWF->Click();
                 },
                 true, false, false, false, "Probability threshold:"}),
    [](const auto& param) { return std::string(param.param.name); });

struct SelectionOrder {
    const char* name;
    int type;
    bool typeFirst;  // the type is chosen before the indices are ticked
};

class SharedEnablingRules : public DesktopFixture, public ::testing::WithParamInterface<SelectionOrder> {};

// The headless driver enables its edits by the shared rules: for every kind of index
// selection and PC mode the windows enable exactly the edits that those rules enable, once
// every rule has run. (Choosing Links unchecks F, AWF and PC without running the
// landscape-attribute rule, so its edit can stay enabled until the next rule runs; the
// unlock after a refused run, with which the comparison starts, runs them all.)
TEST_P(SharedEnablingRules, EnableWhatTheWindowsEnable) {
    const SelectionOrder& order = GetParam();
    const std::pair<const char*, std::vector<vcl::TCheckBox*>> selections[] = {
        {"none", {}},
        {"NL", {window->CheckBoxNL}},
        {"LCP", {window->CheckBoxLCP}},
        {"IIC", {window->CheckBoxIIC}},
        {"F", {window->CheckBoxF}},
        {"AWF", {window->CheckBoxAWF}},
        {"PC", {window->CheckBoxPc}},
        {"NC and F", {window->CheckBoxNC, window->CheckBoxF}},
        {"H and PC", {window->CheckBoxH, window->CheckBoxPc}}};
    for (const auto& [name, ticked] : selections) {
        for (const bool onlySomePaths : {false, true}) {
            SCOPED_TRACE(std::string(name) + (onlySomePaths ? ", only some paths" : ""));
            window->ActionInitializeFormExecute(window);
            if (order.typeFirst) window->ComboBoxConnectionType->Choose(order.type);
            for (vcl::TCheckBox* box : ticked) box->Click();
            (onlySomePaths ? morePC->RadioButtonOnlyPaths : morePC->RadioButtonAllPaths)->Click();
            if (!order.typeFirst) window->ComboBoxConnectionType->Choose(order.type);
            window->ActionCanSelectExecute(window);

            const desktop::inputs::RunInputs inWindows = window->readRunInputs();
            desktop::inputs::RunInputs byRules = inWindows;
            desktop::inputs::enableEditsByTheWindowRules(byRules);
            EXPECT_EQ(inWindows.threshold.enabled, byRules.threshold.enabled);
            EXPECT_EQ(inWindows.distance.enabled, byRules.distance.enabled);
            EXPECT_EQ(inWindows.probability.enabled, byRules.probability.enabled);
            EXPECT_EQ(inWindows.landscapeArea.enabled, byRules.landscapeArea.enabled);
            EXPECT_EQ(inWindows.minProbability.enabled, byRules.minProbability.enabled);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Orders, SharedEnablingRules,
                         ::testing::Values(SelectionOrder{"DistancesFirst", 0, true},
                                           SelectionOrder{"DistancesLast", 0, false},
                                           SelectionOrder{"ProbabilitiesFirst", 1, true},
                                           SelectionOrder{"ProbabilitiesLast", 1, false},
                                           SelectionOrder{"LinksFirst", 2, true},
                                           SelectionOrder{"LinksLast", 2, false}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(MainWindow, UncheckingAnIndexEmptiesTheEditsItAlone) {
    window->CheckBoxLCP->Click();
    window->EditThreshold->SetText("1000");
    window->EditLandscapeArea->SetText("5000");
    window->CheckBoxLCP->Click();
    EXPECT_EQ(window->EditThreshold->Text(), "");
    EXPECT_EQ(window->EditLandscapeArea->Text(), "");
}

TEST_F(MainWindow, LinksUncheckAndDisableTheProbabilisticIndicesButKeepTheirTexts) {
    window->CheckBoxF->Click();
    window->CheckBoxPc->Click();
    window->EditKDistanceProb->SetText("1000");
    window->EditKProb->SetText("0.5");
    window->ComboBoxConnectionType->Choose(2);
    for (vcl::TAction* action : {window->ActionF, window->ActionAWF, window->ActionPC}) {
        EXPECT_FALSE(action->Checked());
        EXPECT_FALSE(action->Enabled());
    }
    EXPECT_FALSE(window->CheckBoxPc->Checked());
    EXPECT_FALSE(window->CheckBoxF->Enabled());
    EXPECT_FALSE(window->EditKDistanceProb->Enabled());
    EXPECT_EQ(window->EditKDistanceProb->Text(), "1000");
    EXPECT_EQ(window->EditKProb->Text(), "0.5");
    EXPECT_FALSE(window->LabelAdjacentTail->Enabled());
}

TEST_F(MainWindow, ThePCOptionsWindowOpensBesideTheMainWindowAndFollowsIt) {
    window->Show();
    window->CheckBoxPc->Click();
    window->BitBtnMorePC->Click();
    EXPECT_TRUE(morePC->Visible());
    EXPECT_EQ(window->BitBtnMorePC->Caption(), "less <<<");
    EXPECT_EQ(morePC->Left(), window->Left() + 460);
    EXPECT_EQ(morePC->Top(), window->Top() + 201);

    // Moving the main window repaints it, and its paint handler moves the options along.
    window->SetLeft(window->Left() + 30);
    window->SetTop(window->Top() + 20);
    ASSERT_TRUE(window_testing::waitFor([&] {
        return morePC->Left() == window->Left() + 460 && morePC->Top() == window->Top() + 201;
    }));
    EXPECT_EQ(window->Left(), 30);

    window->BitBtnMorePC->Click();
    EXPECT_FALSE(morePC->Visible());
    EXPECT_EQ(window->BitBtnMorePC->Caption(), "more >>>");

    window->BitBtnMorePC->Click();
    window->CheckBoxPc->Click();  // unchecking PC hides the options again
    EXPECT_FALSE(morePC->Visible());
    EXPECT_EQ(window->BitBtnMorePC->Caption(), "more >>>");
}

TEST_F(MainWindow, TheMinimumProbabilityIsEditableOnlyWhenOnlySomePathsAreChecked) {
    morePC->EditMinProb->SetText("0.01");
    morePC->RadioButtonOnlyPaths->Click();
    EXPECT_TRUE(morePC->EditMinProb->Enabled());
    EXPECT_EQ(morePC->EditMinProb->Text(), "0.01");
    morePC->RadioButtonAllPaths->Click();
    EXPECT_FALSE(morePC->EditMinProb->Enabled());
    EXPECT_EQ(morePC->EditMinProb->Text(), "0");
    EXPECT_TRUE(morePC->LabelMinProb->Enabled());
}

TEST_F(MainWindow, TheInputLockDisablesEveryInputAndTheUnlockRestoresWhatTheRulesAllow) {
    window->CheckBoxPc->Click();
    morePC->RadioButtonOnlyPaths->Click();
    window->ActionCanNoSelectExecute(window);
    for (vcl::TControl* control : std::initializer_list<vcl::TControl*>{
             window->EditNodes, window->EditConnection, window->RadioButtonFull, window->RadioButtonPartial,
             window->ComboBoxConnectionType, window->EditLandscapeArea, window->CheckBoxAddNodes,
             window->EditThreshold, window->EditKDistanceProb, window->EditKProb, window->CheckBoxPc, window->BitBtn1,
             morePC->EditMinProb, morePC->RadioButtonAllPaths, morePC->RadioButtonOnlyPaths, window->BitBtn3})
        EXPECT_FALSE(control->Enabled()) << control->Name();
    for (vcl::TAction* action : {window->ActionNew, window->ActionOpen, window->ActionSaveProject,
                                 window->ActionSaveProjectAs, window->ActionStartExecution})
        EXPECT_FALSE(action->Enabled()) << action->Name();
    EXPECT_TRUE(window->ActionPauseExecution->Enabled());
    EXPECT_TRUE(window->ActionStopExecution->Enabled());

    window->ActionCanSelectExecute(window);
    for (vcl::TControl* control : std::initializer_list<vcl::TControl*>{
             window->EditNodes, window->EditConnection, window->ComboBoxConnectionType, window->EditLandscapeArea,
             window->EditKDistanceProb, window->EditKProb, window->CheckBoxPc, morePC->EditMinProb, window->BitBtn3})
        EXPECT_TRUE(control->Enabled()) << control->Name();
    EXPECT_FALSE(window->EditThreshold->Enabled());  // no binary index
    EXPECT_FALSE(window->ActionPauseExecution->Enabled());
    EXPECT_TRUE(window->ActionNew->Enabled());
}

TEST_F(MainWindow, ChoosingANodeFileFillsItsEditAndMakesItsFolderTheWorkingFolder) {
    testing_support::TemporaryFolder folder;
    const std::string nodes = folder.write("nodes.txt", "1\t1.0\r\n");
    dialogs.answerNext(nodes);
    window->BitBtn1->Click();
    EXPECT_EQ(window->EditNodes->Text(), nodes);
    EXPECT_EQ(fs::current_path(), folder.path());
    EXPECT_TRUE(window->modified);
    ASSERT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(dialogs.requests()[0].title, "Open node file");
    EXPECT_EQ(dialogs.requests()[0].filter, "Text files|*.txt|All files|*.*");

    window->modified = false;
    window->BitBtn2->Click();  // cancelled
    EXPECT_EQ(window->EditConnection->Text(), "");
    EXPECT_FALSE(window->modified);
    EXPECT_EQ(dialogs.requests()[1].title, "Open connection file");
}

struct ChangeCase {
    const char* name;
    std::function<void(desktop::TFormPrincipal&)> change;
    bool modifies;
};

class ModifiedFlag : public DesktopFixture, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(ModifiedFlag, UserChangesMarkTheProjectModified) {
    GetParam().change(*window);
    EXPECT_EQ(window->modified, GetParam().modifies);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ModifiedFlag,
    ::testing::Values(ChangeCase{"NodeFileTyped", [](W& w) { w.EditNodes->SetText("n.txt"); }, true},
                      ChangeCase{"NodesToAdd", [](W& w) { w.CheckBoxAddNodes->Click(); }, true},
                      ChangeCase{"Structure", [](W& w) { w.RadioButtonPartial->Click(); }, true},
                      ChangeCase{"ConnectionType", [](W& w) { w.ComboBoxConnectionType->Choose(1); }, true},
                      ChangeCase{"Index", [](W& w) { w.CheckBoxH->Click(); }, true},
                      ChangeCase{"AttributeShareIsNoChange", [](W& w) { w.ActionAExecute(&w); }, false},
                      ChangeCase{"ResetClearsIt",
                                 [](W& w) {
                                     w.CheckBoxH->Click();
                                     w.ActionInitializeFormExecute(&w);
                                 },
                                 false}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(MainWindow, TheResetPutsEveryInputBack) {
    window->EditNodes->SetText("nodes.txt");
    window->RadioButtonPartial->Click();
    window->ComboBoxConnectionType->Choose(1);
    window->CheckBoxPc->Click();
    window->BitBtnMorePC->Click();
    morePC->RadioButtonOnlyPaths->Click();
    morePC->EditMinProb->SetText("0.2");
    window->MemoExecutionEvents->Lines()->Add("a line");
    window->ActionInitializeFormExecute(window);
    EXPECT_EQ(window->EditNodes->Text(), "");
    EXPECT_TRUE(window->RadioButtonFull->Checked());
    EXPECT_EQ(window->ComboBoxConnectionType->ItemIndex(), 0);
    EXPECT_FALSE(window->CheckBoxPc->Checked());
    EXPECT_FALSE(morePC->Visible());
    EXPECT_TRUE(morePC->RadioButtonAllPaths->Checked());
    EXPECT_EQ(morePC->EditMinProb->Text(), "0");
    EXPECT_EQ(window->MemoExecutionEvents->Lines()->Count(), 0);
    EXPECT_EQ(window->Caption(), "Veltrano Tamblor 2.2 - NewProject1.txt");
    EXPECT_FALSE(window->modified);
}

TEST_F(MainWindow, SaveChangesAsksOnlyForAModifiedProject) {
    window->ActionSaveChangesExecute(window);
    EXPECT_TRUE(boxes.boxes().empty());
    window->CheckBoxNL->Click();
    window->ActionSaveChangesExecute(window);
    EXPECT_EQ(boxes.boxes(), (std::vector<sysutils::MessageBox>{
                                 {"Save changes to NewProject1.txt ?", "Confirm", sysutils::MessageButtons::YesNo}}));
    EXPECT_FALSE(window->modified);
}

TEST_F(MainWindow, ClosingAsksFirstAndNoKeepsTheProgramWithItsState) {
    window->Show();
    window->CheckBoxNL->Click();
    boxes.answerNext(sysutils::MessageAnswer::No);
    window->ActionExit->Execute();
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"Close application?"}));
    EXPECT_TRUE(window->Visible());
    EXPECT_FALSE(application->Terminated());
    EXPECT_TRUE(window->CheckBoxNL->Checked());

    window->BitBtnMorePC->SetEnabled(true);
    boxes.answerNext(sysutils::MessageAnswer::Yes);
    window->window()->close();
    EXPECT_TRUE(application->Terminated());
    EXPECT_FALSE(window->Visible());
    EXPECT_FALSE(morePC->Visible());
}

TEST_F(MainWindow, TheMaximumProductViewStartsEnabledAndShowsNothingWithoutAnExecution) {
    EXPECT_TRUE(window->ActionViewProbMax->Enabled());
    window->ActionViewProbMax->Execute();
    EXPECT_FALSE(desktop::FormScreen->Visible());
    EXPECT_EQ(desktop::FormScreen->Caption(), "Results");
}

TEST_F(MainWindow, TheAboutWindowIsShownModallyUnderTheVersionCaption) {
    std::string caption;
    QTimer::singleShot(0, [&] {
        caption = desktop::AboutBox->Visible() ? desktop::AboutBox->Caption() : "not shown";
        desktop::AboutBox->OKButton->Click();
    });
    window->HelpAbout->Click();
    EXPECT_EQ(caption, "About Veltrano Tamblor 2.2");
    EXPECT_FALSE(desktop::AboutBox->Visible());
}

TEST_F(MainWindow, TheManualOpensFromTheStartFolderAndTheWorkingFolderComesBack) {
    testing_support::TemporaryFolder elsewhere;
    fs::current_path(elsewhere.path());  // as after a file dialog
    window->HelpContents->Click();
    ASSERT_EQ(shell.documents().size(), 1u);
    EXPECT_EQ(shell.documents()[0].workingFolder, desktop::startDir);
    EXPECT_EQ(shell.documents()[0].path, "help/Brelmarkmanual.pdf");
    EXPECT_EQ(fs::current_path(), elsewhere.path());
}

TEST_F(MainWindow, AMissingManualIsReportedNamingItsFileAndHowToGetIt) {
    testing_support::TemporaryFolder start;
    const std::string savedStart = desktop::startDir;
    desktop::startDir = start.path().string();
    vcl::SystemShell system;
    vcl::installShell(&system);
    window->HelpContents->Click();
    vcl::installShell(&shell);
    desktop::startDir = savedStart;
    EXPECT_EQ(boxes.boxes(),
              (std::vector<sysutils::MessageBox>{
                  {"Cannot open file " + (start.path() / "help/Brelmarkmanual.pdf").string() +
                       " (the file does not exist)\n"
                       "The build writes it into help/ beside the program (bash scripts/run builds both in "
                       "build/run): start brelmark in that folder, for instance cd build/run && ./brelmark",
                   "Error!", sysutils::MessageButtons::Ok}}));
}

}  // namespace
