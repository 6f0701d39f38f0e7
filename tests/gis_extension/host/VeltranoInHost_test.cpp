// The extension as a user meets it: the built library installed into the host program
// (a registry of the test's own), the host started on a map document, the "Veltrano"
// toolbar with its two buttons, a click on "ID Within Distance" answered in the dialog,
// the four outputs, the two table windows (not one over the other) and the report window
// with the report; then "Open Documentation", and the library uninstalled without a key
// left behind.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QToolBar>

#include <filesystem>
#include <set>
#include <utility>

#include "LayerFixtures.h"
#include "com/ClassFactory.h"
#include "gis_toolkit/support/RecordingErrorReport.h"
#include "gishost/app/HostClasses.h"
#include "gishost/app/HostDialogs.h"
#include "gishost/app/Installation.h"
#include "gishost/app/MainWindow.h"
#include "gishost/app/TableWindow.h"
#include "support/ModalWindows.h"
#include "support/ScopedEnvironment.h"
#include "support/TestFiles.h"
#include "sysutils/MessageBoxes.h"
#include "winapi/Registry.h"
#include "winapi/Shell.h"

namespace {

using testing_support::chooseRow;
using testing_support::child;
using testing_support::WhenShown;

QAction* actionNamed(QToolBar& toolbar, const QString& text) {
    for (QAction* action : toolbar.actions())
        if (action->text() == text) return action;
    return nullptr;
}

std::vector<std::string> keysMentioning(const std::string& text, const std::string& key = "") {
    std::vector<std::string> found;
    for (const std::string& name : winapi::registry::subKeys(winapi::HKEY_CLASSES_ROOT, key)) {
        const std::string path = key.empty() ? name : key + "\\" + name;
        if (path.find(text) != std::string::npos) found.push_back(path);
        for (std::string& below : keysMentioning(text, path)) found.push_back(std::move(below));
    }
    return found;
}

class VeltranoInHost : public ::testing::Test {
protected:
    void SetUp() override {
        // The library writes its settings beside itself: a copy in the test's folder.
        std::filesystem::create_directory(folder_.pathOf("lib"));
        library_ = folder_.pathOf("lib/libVeltrano_inputs.so");
        std::filesystem::copy_file(VELTRANO_LIBRARY, library_);
        std::filesystem::copy_file(VELTRANO_MANUAL, folder_.pathOf("lib/Veltrano_ID.pdf"));
        gishost::app::registerHostProgramClasses();
        const gishost::app::InstallationResult installed = gishost::app::installPlugin(library_, folder_.path().string());
        ASSERT_TRUE(installed.succeeded) << installed.error;

        testing_support::FixtureLayer patches;
        patches.format = "gpkg";
        patches.layerName = "patches";
        patches.epsg = 3035;
        patches.fields = {{"ID", OFTInteger, 9}, {"Area", OFTReal, 12, 2}};
        for (int k = 0; k < 6; ++k)
            patches.features.push_back(
                {testing_support::squareWkt(k * 15.0, (k % 2) * 40.0, 10), {std::to_string(k + 1), "100"}});
        testing_support::writeLayer(folder_.pathOf("patches.gpkg"), patches);
        document_ = folder_.write("patches.gmap",
                                  "gishost map document 1\nmap\tStudy area\nlayer\tpatches\tpatches.gpkg\tpatches\n");
        std::filesystem::create_directory(folder_.pathOf("out"));
    }

    testing_support::ScopedRegistry registry_;
    testing_support::TemporaryFolder folder_;
    sysutils::ScriptedMessageBoxes boxes_;
    gishost::app::ScriptedHostDialogs dialogs_;
    winapi::RecordingShell shell_;
    std::string library_;
    std::string document_;
};

TEST_F(VeltranoInHost, AClickRunsTheWholeAnalysisFromTheDialogToTheReport) {
    std::vector<std::string> reports;
    {
        gishost::app::MainWindow window;
        // Error reports are recorded, not shown (registered after the host's window class).
        testing_support::RecordingErrorReport errorReports;
        ASSERT_TRUE(window.openMapDocument(document_));

        auto* toolbar = window.findChild<QToolBar*>("Veltrano_IDToolBar");
        ASSERT_NE(toolbar, nullptr);
        EXPECT_EQ(toolbar->windowTitle(), "Veltrano");
        const QList<QAction*> actions = toolbar->actions();
        ASSERT_EQ(actions.size(), 3);
        EXPECT_EQ(actions[0]->text(), "ID Within Distance");
        EXPECT_EQ(actions[0]->statusTip(), "Calculate Distances Between Features...");
        EXPECT_TRUE(actions[1]->isSeparator());
        EXPECT_EQ(actions[2]->text(), "Open Documentation");
        for (QAction* button : {actions[0], actions[2]}) {
            const QImage icon = button->icon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
            ASSERT_EQ(icon.size(), QSize(16, 16));
            EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << "magenta is transparent";
        }

        const QString out = QString::fromStdString(folder_.pathOf("out") + "/");
        WhenShown dialog(" ID Within Distance Parameters:", [&](QWidget* parameters) {
            chooseRow(parameters, "lbxTheme", "1] patches");
            chooseRow(parameters, "lbxField", "ID");
            chooseRow(parameters, "lbxAttribute", "Area");
            child<QRadioButton>(parameters, "optWithinDistance")->click();
            child<QLineEdit>(parameters, "txtDistance")->setText("20");
            child<QCheckBox>(parameters, "chkdBASE")->setChecked(true);
            child<QCheckBox>(parameters, "chkdBASEDistance")->setChecked(true);
            child<QCheckBox>(parameters, "chkTextFile")->setChecked(true);
            child<QLineEdit>(parameters, "txtOutput")->setText(out);
            child<QPushButton>(parameters, "cmdOK")->click();
        });
        WhenShown report(" Analysis Report:", [&](QWidget* reportWindow) {
            reports.push_back(reportWindow->findChild<QTextEdit*>()->toPlainText().toStdString());
            for (QPushButton* button : reportWindow->findChildren<QPushButton*>())
                if (button->text() == "&Exit") button->click();
        });
        actionNamed(*toolbar, "ID Within Distance")->trigger();

        EXPECT_EQ(dialog.times(), 1);
        EXPECT_TRUE(errorReports.shown().empty()) << errorReports.shown().front();
        EXPECT_EQ(testing_support::everythingIn(out.toStdString()),
                  (std::set<std::string>{"count.dbf", "distances.dbf", "distances.txt", "nodes.txt"}));
        // A GeoPackage keeps no scale: the attribute has eight decimals.
        EXPECT_EQ(testing_support::readFile(out.toStdString() + "nodes.txt"),
                  "1\t100.00000000\r\n2\t100.00000000\r\n3\t100.00000000\r\n4\t100.00000000\r\n"
                  "5\t100.00000000\r\n6\t100.00000000\r\n");
        std::vector<std::string> tableTitles;
        std::set<std::pair<int, int>> tablePlaces;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (dynamic_cast<gishost::app::TableView*>(widget) != nullptr && widget->isVisible()) {
                tableTitles.push_back(widget->windowTitle().toStdString());
                tablePlaces.insert({widget->x(), widget->y()});
            }
        std::sort(tableTitles.begin(), tableTitles.end());
        EXPECT_EQ(tableTitles, (std::vector<std::string>{"Table: count", "Table: distances"}));
        EXPECT_EQ(tablePlaces.size(), tableTitles.size()) << "the two tables of the run open one over the other";
        ASSERT_EQ(shell_.requests().size(), 2u);
        EXPECT_EQ(shell_.requests()[0].file, "distances.txt");
        EXPECT_EQ(shell_.requests()[1].file, "nodes.txt");
        EXPECT_EQ(testing_support::readFile(folder_.pathOf("lib/defaults.txt")),
                  "1:F\r\n2:20\r\n3:T\r\n4:T\r\n5:T\r\n6:" + out.toStdString() + "\r\n");

        actionNamed(*toolbar, "Open Documentation")->trigger();
        ASSERT_EQ(shell_.requests().size(), 3u);
        EXPECT_EQ(shell_.requests()[2].file, "Veltrano_ID.pdf");
        EXPECT_EQ(shell_.requests()[2].directory, folder_.pathOf("lib"));
        EXPECT_TRUE(boxes_.boxes().empty()) << boxes_.texts().front();
    }
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("Veltrano Inputs Analysis Complete:"), std::string::npos) << reports[0];
    EXPECT_NE(reports[0].find("Analysis Layer = patches"), std::string::npos) << reports[0];
    EXPECT_NE(reports[0].find("Saved to " + folder_.pathOf("out") + "/nodes.txt"), std::string::npos) << reports[0];

    const gishost::app::InstallationResult removed = gishost::app::uninstallPlugin(library_);
    ASSERT_TRUE(removed.succeeded) << removed.error;
    EXPECT_TRUE(keysMentioning("Veltrano").empty());
    EXPECT_TRUE(keysMentioning("{3645C76C-F3EA-47CB-B5D8-27A4DA04926D}").empty());
}

}  // namespace
