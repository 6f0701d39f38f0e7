// Open and save dialogs, MessageDlg, memo lines and status panels.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>

#include "support/TestFiles.h"
#include "sysutils/MessageBoxes.h"
#include "vcl/ComCtrls.h"
#include "vcl/Dialogs.h"
#include "vcl/FileDialogs.h"
#include "vcl/Forms.h"
#include "vcl/Memo.h"

namespace {

namespace fs = std::filesystem;

struct WorkingFolderKept : ::testing::Test {
    fs::path saved = fs::current_path();
    testing_support::TemporaryFolder folder;
    vcl::ScriptedFileDialogs dialogs;
    vcl::TForm form{nullptr};
    void TearDown() override { fs::current_path(saved); }
};

struct ChoiceCase {
    const char* name;
    std::optional<std::string> answer;  // relative to the temporary folder
    const char* defaultExtension;
    bool chosen;
    std::optional<std::string> fileName;  // relative to the temporary folder
};

class OpenDialogChoice : public WorkingFolderKept, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(OpenDialogChoice, AChosenFileBecomesTheFileNameAndItsFolderTheWorkingFolder) {
    const ChoiceCase& c = GetParam();
    fs::create_directories(folder.path() / "sub");
    auto* dialog = new vcl::TOpenDialog(&form);
    dialog->DefaultExt = c.defaultExtension;
    dialog->FileName = "before.txt";
    dialogs.answerNext(c.answer ? std::optional<std::string>((folder.path() / *c.answer).string()) : std::nullopt);
    EXPECT_EQ(dialog->Execute(), c.chosen);
    if (c.fileName) {
        EXPECT_EQ(dialog->FileName, (folder.path() / *c.fileName).string());
        EXPECT_EQ(fs::current_path(), folder.path() / "sub");
    } else {
        EXPECT_EQ(dialog->FileName, "before.txt");
        EXPECT_EQ(fs::current_path(), saved);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OpenDialogChoice,
    ::testing::Values(ChoiceCase{"Chosen", "sub/nodes.txt", "txt", true, "sub/nodes.txt"},
                      ChoiceCase{"DefaultExtensionAddedWhenNoneGiven", "sub/nodes", "txt", true, "sub/nodes.txt"},
                      ChoiceCase{"OwnExtensionKept", "sub/nodes.dat", "txt", true, "sub/nodes.dat"},
                      ChoiceCase{"CancelledChangesNothing", std::nullopt, "txt", false, std::nullopt}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(WorkingFolderKept, TheDialogIsAskedWithItsTitleFilterExtensionAndOverwritePrompt) {
    auto* dialog = new vcl::TSaveDialog(&form);
    dialog->Title = "Save node importances";
    dialog->Filter = "Text files|*.txt|All files|*.*";
    dialog->DefaultExt = "txt";
    dialog->OverwritePrompt = true;
    dialog->FileName = "node_importances.txt";
    EXPECT_FALSE(dialog->Execute());
    ASSERT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(dialogs.requests()[0],
              (vcl::FileDialogRequest{vcl::FileDialogRequest::Kind::Save, "Save node importances",
                                      "node_importances.txt", "Text files|*.txt|All files|*.*", "txt", true}));
    EXPECT_EQ(vcl::qtFilter(dialog->Filter), "Text files (*.txt);;All files (*.*)");
}

// The real Qt dialogs, answered as a user answers them: in the folder shown, or by typing
// a file's whole path into the file name box.
struct RealDialogCase {
    const char* name;
    const char* shownFolder;  // where the user goes before typing; empty: stays where it opened
    const char* typed;        // relative to the temporary folder when no folder is shown
    bool thenSave;            // the next dialog is a save dialog with a bare default name
};

class RealDialogs : public WorkingFolderKept, public ::testing::WithParamInterface<RealDialogCase> {
protected:
    // Runs the dialog; the user, seeing it, notes the folder it opened in and makes the choice.
    std::string openedIn(vcl::TOpenDialog& dialog, const std::string& shownFolder, const std::string& typed) {
        std::string folderShown = "no file dialog was shown";
        QTimer::singleShot(0, [&] {
            auto* shown = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (shown == nullptr) return;
            folderShown = shown->directory().absolutePath().toStdString();
            if (!shownFolder.empty()) shown->setDirectory(QString::fromStdString(shownFolder));
            auto* name = shown->findChild<QLineEdit*>("fileNameEdit");
            if (name != nullptr && !typed.empty()) {
                name->setText(QString::fromStdString(typed));
                static_cast<QDialog*>(shown)->accept();
            }
            if (shown->isVisible()) shown->reject();
        });
        dialog.Execute();
        return folderShown;
    }
};

TEST_P(RealDialogs, TheNextDialogOpensInTheFolderOfTheFileChosen) {
    const RealDialogCase& c = GetParam();
    vcl::installFileDialogs(nullptr);  // the Qt dialogs, not the scripted ones
    for (const char* sub : {"start", "data", "other"}) fs::create_directories(folder.path() / sub);
    folder.write("data/nodes.txt", "1 1\n");
    folder.write("other/nodes.txt", "1 1\n");
    fs::current_path(folder.path() / "start");

    auto* open = new vcl::TOpenDialog(&form);
    const std::string shownFolder = *c.shownFolder ? (folder.path() / c.shownFolder).string() : "";
    const std::string typed = shownFolder.empty() ? (folder.path() / c.typed).string() : c.typed;
    EXPECT_EQ(openedIn(*open, shownFolder, typed), (folder.path() / "start").string());
    const fs::path chosenFolder = fs::path(open->FileName).parent_path();
    EXPECT_EQ(fs::current_path(), chosenFolder);

    vcl::TOpenDialog* next = open;
    if (c.thenSave) {
        next = new vcl::TSaveDialog(&form);
        next->FileName = "node_importances.txt";
    }
    EXPECT_EQ(openedIn(*next, "", ""), chosenFolder.string());
    vcl::installFileDialogs(&dialogs);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RealDialogs,
    ::testing::Values(RealDialogCase{"PathTypedInWhole", "", "data/nodes.txt", false},
                      RealDialogCase{"NameTypedInTheFolderShown", "other", "nodes.txt", false},
                      RealDialogCase{"PathTypedInWholeThenASave", "", "data/nodes.txt", true}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(MessageDlg, AsksAYesNoQuestionAndReturnsTheButton) {
    sysutils::ScriptedMessageBoxes boxes;
    boxes.answerNext(sysutils::MessageAnswer::Yes);
    boxes.answerNext(sysutils::MessageAnswer::No);
    using vcl::TModalResult;
    EXPECT_EQ(vcl::MessageDlg("Go on?", vcl::TMsgDlgType::mtConfirmation, vcl::TMsgDlgButtons::mbYesNo, 0),
              TModalResult::mrYes);
    EXPECT_EQ(vcl::MessageDlg("Go on?", vcl::TMsgDlgType::mtConfirmation, vcl::TMsgDlgButtons::mbYesNo, 0),
              TModalResult::mrNo);
    EXPECT_EQ(boxes.boxes()[0], (sysutils::MessageBox{"Go on?", "Confirm", sysutils::MessageButtons::YesNo}));
}

TEST(Memo, ItsLinesCountFromAnEmptyMemoAndClear) {
    vcl::TForm form(nullptr);
    auto* memo = new vcl::TMemo(&form);
    sysutils::TStrings& lines = *memo->Lines();
    EXPECT_EQ(lines.Count(), 0);
    lines.Add("first");
    lines.Add("");
    lines.Add("third");
    EXPECT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines.Strings(0), "first");
    EXPECT_EQ(lines.Strings(1), "");
    EXPECT_EQ(lines.Strings(2), "third");
    EXPECT_EQ(lines.Strings(3), "");
    lines.Clear();
    EXPECT_EQ(lines.Count(), 0);
}

TEST(Memo, AnEmptyFirstLineStaysALine) {
    vcl::TForm form(nullptr);
    auto* memo = new vcl::TMemo(&form);
    sysutils::TStrings& lines = *memo->Lines();
    lines.Add("");
    EXPECT_EQ(lines.Count(), 1);
    lines.Add("second");
    EXPECT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines.Strings(0), "");
    EXPECT_EQ(lines.Strings(1), "second");
    lines.Clear();
    lines.Add("");
    EXPECT_EQ(lines.Count(), 1);
    memo->SetText("");
    EXPECT_EQ(lines.Count(), 0);
    memo->SetText("one\ntwo");
    EXPECT_EQ(lines.Count(), 2);
}

TEST(Memo, SetSelStartShowsTheFirstLineFromItsStart) {
    vcl::TForm form(nullptr);
    form.SetClientSize(120, 60);
    auto* memo = new vcl::TMemo(&form);
    memo->SetAlign(vcl::TAlign::alClient);
    memo->SetWordWrap(false);
    form.Show();
    for (int i = 0; i < 100; ++i) memo->Lines()->Add(std::string(200, 'x') + std::to_string(i));
    QCoreApplication::processEvents();
    ASSERT_GT(memo->edit()->verticalScrollBar()->value(), 0);  // Add scrolls to the end
    memo->edit()->horizontalScrollBar()->setValue(memo->edit()->horizontalScrollBar()->maximum());
    memo->SetSelStart(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(memo->edit()->verticalScrollBar()->value(), 0);
    EXPECT_EQ(memo->edit()->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(memo->edit()->textCursor().position(), 0);
}

TEST(StatusBar, PanelsKeepTheirWidthAlongTheBottomOfTheForm) {
    vcl::TForm form(nullptr);
    form.SetBorderStyle(vcl::TFormBorderStyle::bsSingle);
    form.SetClientSize(478, 525);
    auto* bar = new vcl::TStatusBar(&form);
    bar->AddPanel(375, vcl::TAlignment::taLeftJustify);
    bar->AddPanel(103, vcl::TAlignment::taRightJustify);
    form.Show();
    bar->Panel(1)->SetText("100% completed");
    EXPECT_EQ(bar->Panel(0)->Width(), 375);
    EXPECT_EQ(bar->Panel(1)->Text(), "100% completed");
    EXPECT_EQ(bar->Top() + bar->Height(), 525);
    EXPECT_EQ(bar->Width(), 478);
    EXPECT_EQ(bar->Panel(2), nullptr);
}

}  // namespace
