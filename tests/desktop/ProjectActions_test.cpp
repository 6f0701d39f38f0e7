// New, Open, Save and Save As of the project file from the main window.
#include "DesktopFixture.h"

#include "support/TestFiles.h"

namespace {

using desktop_testing::DesktopFixture;
using window_testing::waitFor;

class ProjectActions : public DesktopFixture {
protected:
    // A project with something in every kind of control.
    void fillInputs() {
        window->EditNodes->SetText("/data/nodes.txt");
        window->EditConnection->SetText("/data/probabilities.txt");
        window->RadioButtonPartial->Click();
        window->ComboBoxConnectionType->SetItemIndex(1);
        window->ComboBoxConnectionTypeChange(window);
        window->CheckBoxAddNodes->Click();
        window->CheckBoxNL->Click();
        window->CheckBoxPc->Click();
        window->EditThreshold->SetText("0.25");
        window->EditLandscapeArea->SetText(std::string(300, '7'));
        morePC->RadioButtonOnlyPaths->Click();
        morePC->EditMinProb->SetText("0.01");
    }

    std::string captionFor(const std::string& name) const { return "Veltrano Tamblor 2.2 - " + name; }

    testing_support::TemporaryFolder folder;
};

TEST_F(ProjectActions, SavedProjectReopensWithTheSameInputs) {
    fillInputs();
    const std::string path = folder.pathOf("study.txt");
    dialogs.answerNext(path);
    window->ActionSaveProject->Execute();
    ASSERT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(dialogs.requests()[0].fileName, "NewProject1.txt");
    EXPECT_EQ(window->Caption(), captionFor("study.txt"));
    EXPECT_FALSE(window->modified);

    // Saving again writes to the same file without asking.
    window->ActionSaveProject->Execute();
    EXPECT_EQ(dialogs.requests().size(), 1u);

    window->ActionNew->Execute();
    EXPECT_EQ(window->Caption(), captionFor("NewProject2.txt"));
    EXPECT_EQ(window->EditNodes->Text(), "");

    dialogs.answerNext(path);
    window->ActionOpen->Execute();
    EXPECT_EQ(dialogs.requests().back().title, "Open project file");
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(window->EditNodes->Text(), "/data/nodes.txt");
    EXPECT_EQ(window->EditConnection->Text(), "/data/probabilities.txt");
    EXPECT_TRUE(window->RadioButtonPartial->Checked());
    EXPECT_EQ(window->ComboBoxConnectionType->ItemIndex(), 1);
    EXPECT_TRUE(window->CheckBoxAddNodes->Checked());
    EXPECT_TRUE(window->CheckBoxNL->Checked());
    EXPECT_TRUE(window->CheckBoxPc->Checked());
    EXPECT_FALSE(window->CheckBoxNC->Checked());
    EXPECT_EQ(window->EditThreshold->Text(), "0.25");
    EXPECT_EQ(window->EditLandscapeArea->Text(), std::string(300, '7'));
    EXPECT_TRUE(morePC->RadioButtonOnlyPaths->Checked());
    EXPECT_EQ(morePC->EditMinProb->Text(), "0.01");
    EXPECT_EQ(window->LabelAdjacentTail->Caption(), "Probability threshold:");
    EXPECT_EQ(window->Caption(), captionFor("study.txt"));
    EXPECT_EQ(window->EditLocation->Text(), path);
    EXPECT_FALSE(window->modified);
}

TEST_F(ProjectActions, AHandMadeFileFallsBackExactlyAndTheCheckRulesEmptyUnusedValues) {
    const std::string path = folder.write(
        "hand.txt",
        "nodesf=n.txt\nconnectionsf=c.txt\nstructtype=full\ncontype=links\nadd=TRUE\nland=\nccp=TRUE\nlcp=false\n"
        "iic=false\nnc=false\nnl=false\nh=false\ndistAdj=500\nf=false\nawf=false\npc=false\na=false\ndistProb=\n"
        "prob=\nminProb=0.3\nallpaths=true\n");
    dialogs.answerNext(path);
    window->ActionOpen->Execute();
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_TRUE(window->RadioButtonFull->Checked());
    EXPECT_EQ(window->ComboBoxConnectionType->ItemIndex(), -1);
    EXPECT_FALSE(window->CheckBoxAddNodes->Checked());
    EXPECT_FALSE(window->CheckBoxCCP->Checked());
    EXPECT_EQ(window->EditThreshold->Text(), "");  // no binary index selected
    EXPECT_EQ(morePC->EditMinProb->Text(), "0");   // all paths are checked
}

TEST_F(ProjectActions, MissingAndShortFilesAreReported) {
    const std::string missing = folder.pathOf("missing.txt");
    dialogs.answerNext(missing);
    window->ActionOpen->Execute();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0], (sysutils::MessageBox{"Error opening file " + missing, "Error!",
                                                      sysutils::MessageButtons::Ok}));
    EXPECT_EQ(window->Caption(), captionFor("missing.txt"));

    boxes.clear();
    const std::string shortFile = folder.write("short.txt", "nodesf=n.txt\nconnectionsf=c.txt\n");
    dialogs.answerNext(shortFile);
    window->ActionOpen->Execute();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Error opening file " + shortFile + "\n Incomplete file");
    EXPECT_EQ(window->EditNodes->Text(), "n.txt");
}

TEST_F(ProjectActions, AProjectThatCannotBeWrittenSaysSoAndStaysModified) {
    fillInputs();
    ASSERT_TRUE(window->modified);
    const std::string blocked = folder.write("plain-file", "x") + "/study.txt";
    dialogs.answerNext(blocked);
    window->ActionSaveProjectAs->Execute();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].caption, "Error!");
    EXPECT_NE(boxes.boxes()[0].text.find(blocked), std::string::npos);
    EXPECT_TRUE(window->modified);
}

TEST_F(ProjectActions, OpeningOverALastExecutionAsksFirstAndNoChangesNothing) {
    prepareExampleRun({.NL = true});
    window->BitBtn3->Click();
    ASSERT_TRUE(waitFor([&] { return runFinished(); }));
    window->modified = false;
    boxes.answerNext(sysutils::MessageAnswer::No);
    window->ActionOpen->Execute();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Delete last execution? Results will be erased ");
    EXPECT_TRUE(dialogs.requests().empty());
    EXPECT_NE(window->lastExecution, nullptr);
    EXPECT_TRUE(window->ActionViewRes->Enabled());
}

}  // namespace
