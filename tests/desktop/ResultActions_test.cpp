// The View and Save actions of the main window after a run: each view fills the
// results window, each save writes its layout to the chosen file, and a save that
// cannot complete says so and leaves the existing file as it was.
#include "DesktopFixture.h"

#include <functional>

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "desktop/results/ResultTexts.h"
#include "support/DbfReading.h"
#include "support/TestFiles.h"
#include "sysutils/SafeFile.h"

namespace {

using desktop_testing::DesktopFixture;
using window_testing::waitFor;
namespace results = desktop::results;

class ResultActions : public DesktopFixture {
protected:
    void SetUp() override {
        DesktopFixture::SetUp();
        prepareExampleRun({.NL = true, .NC = true, .IIC = true, .PC = true});
        window->BitBtn3->Click();
        ASSERT_TRUE(waitFor([&] { return runFinished(); }));
        ASSERT_NE(window->lastExecution, nullptr);
    }

    std::vector<std::string> resultLines() const {
        std::vector<std::string> lines;
        sysutils::TStrings& memo = *desktop::FormScreen->MemoPantalla->Lines();
        for (int i = 0; i < memo.Count(); ++i) lines.push_back(memo.Strings(i));
        return lines;
    }

    testing_support::TemporaryFolder folder;
};

struct SaveCase {
    const char* name;
    vcl::TAction* desktop::TFormPrincipal::*action;
    const char* defaultName;
    std::function<std::string(const engine::tamblorProgram&)> layout;
};

TEST_F(ResultActions, EachTextSaveWritesItsLayoutUnderTheNameTheUserConfirms) {
    const SaveCase cases[] = {
        {"importances", &desktop::TFormPrincipal::ActionWriteTXT, "node_importances.txt",
         [](const auto& e) { return results::nodeImportanceFile(e); }},
        {"overall", &desktop::TFormPrincipal::ActionSaveGlobRes, "overall_indices.txt",
         [](const auto& e) { return results::overallValuesFile(e); }},
        {"links", &desktop::TFormPrincipal::ActionSaveAdjacencies, "links.txt",
         [](const auto& e) { return results::linksFile(e); }},
        {"direct", &desktop::TFormPrincipal::ActionSaveProbabilities, "direct_probabilities.txt",
         [](const auto& e) { return results::directProbabilitiesFile(e); }},
        {"maximum", &desktop::TFormPrincipal::ActionSaveProbMax, "maximum_product_probabilities.txt",
         [](const auto& e) { return results::maximumProductProbabilitiesFile(e); }},
        {"components", &desktop::TFormPrincipal::ActionSaveCompTXT, "components.txt",
         [](const auto& e) { return results::componentsFile(e); }},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.pathOf(std::string(c.name) + ".txt");
        dialogs.answerNext(path);
        (window->*c.action)->Execute();
        ASSERT_FALSE(dialogs.requests().empty());
        EXPECT_EQ(dialogs.requests().back().fileName, c.defaultName);
        EXPECT_EQ(testing_support::readFile(path), c.layout(*window->lastExecution));
        EXPECT_FALSE(testing_support::readFile(path).empty());
    }
    EXPECT_TRUE(boxes.boxes().empty());

    const std::string events = folder.pathOf("events.txt");
    dialogs.answerNext(events);
    window->ActionSaveEvents->Execute();
    EXPECT_EQ(testing_support::readFile(events), results::eventLogFile(window->MemoExecutionEvents->Text()));
}

TEST_F(ResultActions, ViewsFillTheResultsWindowWithTheirCaption) {
    window->ActionViewGlobRes->Execute();
    EXPECT_EQ(desktop::FormScreen->Caption(), "Overall index values");
    EXPECT_EQ(resultLines(), results::overallValuesView(*window->lastExecution));
    EXPECT_TRUE(desktop::FormScreen->Visible());

    window->ActionViewComponents->Execute();
    EXPECT_EQ(desktop::FormScreen->Caption(), "Components");
    EXPECT_EQ(resultLines().size(), 10u);  // the previous view is cleared first

    window->ActionViewRes->Execute();
    EXPECT_EQ(desktop::FormScreen->Caption(), "Node importances");
    EXPECT_EQ(resultLines().size(), 11u);
    EXPECT_EQ(resultLines()[0].rfind("Node\t", 0), 0u);
}

// The first line the results window shows, and where its scroll bars stand.
struct ResultsScroll {
    int firstVisibleLine;
    int vertical;
    int horizontal;
};

ResultsScroll resultsScroll() {
    QCoreApplication::processEvents();  // the window lays its text out
    QPlainTextEdit* edit = desktop::FormScreen->MemoPantalla->edit();
    return {edit->cursorForPosition(QPoint(0, 0)).blockNumber(), edit->verticalScrollBar()->value(),
            edit->horizontalScrollBar()->value()};
}

TEST_F(ResultActions, EveryViewOpensAtItsFirstLineAlsoWhenTheResultsWindowIsAlreadyShowing) {
    // Low enough that every view needs its scroll bars.
    desktop::FormScreen->SetClientSize(200, 60);
    vcl::TAction* const views[] = {window->ActionViewRes,        window->ActionViewGlobRes,
                                   window->ActionViewComponents, window->ActionViewAdj,
                                   window->ActionViewProb,       window->ActionViewProbMax};
    for (const bool showing : {false, true}) {
        for (vcl::TAction* view : views) {
            SCOPED_TRACE(view->Name() + (showing ? " while showing" : " from hidden"));
            if (!showing) desktop::FormScreen->Hide();
            view->Execute();
            ASSERT_TRUE(desktop::FormScreen->Visible());
            QPlainTextEdit* edit = desktop::FormScreen->MemoPantalla->edit();
            QCoreApplication::processEvents();
            ASSERT_GT(edit->verticalScrollBar()->maximum(), 0);
            const ResultsScroll scroll = resultsScroll();
            EXPECT_EQ(scroll.firstVisibleLine, 0);
            EXPECT_EQ(scroll.vertical, 0);
            EXPECT_EQ(scroll.horizontal, 0);
        }
    }
    // The pairwise views keep their empty first line (node 0 has no earlier node).
    window->ActionViewAdj->Execute();
    ASSERT_FALSE(resultLines().empty());
    EXPECT_EQ(resultLines()[0], "");
}

TEST_F(ResultActions, ACancelledDialogWritesNothing) {
    dialogs.answerNext(std::nullopt);
    window->ActionWriteTXT->Execute();
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ResultActions, ASaveThatCannotCompleteReportsTheFileAndKeepsTheOldOne) {
    const std::string path = folder.write("node_importances.txt", "old contents\r\n");
    {
        sysutils::ScopedFileFault diskFull(sysutils::FileFault::Write);
        dialogs.answerNext(path);
        window->ActionWriteTXT->Execute();
    }
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].caption, "Error!");
    EXPECT_NE(boxes.boxes()[0].text.find(path), std::string::npos);
    EXPECT_EQ(testing_support::readFile(path), "old contents\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);

    boxes.clear();
    const std::string missingFolder = folder.pathOf("gone/links.txt");
    dialogs.answerNext(missingFolder);
    window->ActionSaveAdjacencies->Execute();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_NE(boxes.boxes()[0].text.find(missingFolder), std::string::npos);
}

TEST_F(ResultActions, TableSavesWriteOneRowPerNodeAlsoUnderTheTemporaryName) {
    const std::string importances = folder.pathOf("bdsntmp.dbf");
    dialogs.answerNext(importances);
    window->ActionWriteDBF->Execute();
    const auto table = testing_support::readDbf(importances);
    ASSERT_TRUE(table.opened);
    EXPECT_EQ(table.rows.size(), 10u);
    ASSERT_EQ(table.fields.size(), 6u);  // node, dA (always computed), dNL, dNC, dIIC, dPC
    EXPECT_EQ(table.fields[0].name, "node");

    const std::string components = folder.pathOf("components.dbf");
    dialogs.answerNext(components);
    window->ActionSaveCompDBF->Execute();
    const auto componentTable = testing_support::readDbf(components);
    ASSERT_EQ(componentTable.rows.size(), 10u);
    EXPECT_EQ(componentTable.fields[1].name, "component");
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(dialogs.requests().back().fileName, "components.dbf");
}

}  // namespace
