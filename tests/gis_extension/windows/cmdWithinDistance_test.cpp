// A click on "ID Within Distance" from the settings file to the report window, with the
// dialog and the report window answered as a user would, found by their captions and
// their controls' names: saving and reading back the settings, a radius in the file that
// is not a number, Cancel and the close box, a settings file that cannot be written, an
// analysis that leaves no report, and a host without the extension object.
#include "gis_extension/cmdWithinDistance.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QTimer>

#include "com/NumberedFiles.h"
#include "gis_extension/LibraryFolder.h"
#include "gis_extension/support/ExtensionHost.h"
#include "support/ModalWindows.h"
#include "sysutils/SafeFile.h"

namespace {

using testing_support::ExtensionHost;
using testing_support::chooseRow;
using testing_support::child;
using testing_support::WhenShown;

const QString dialogCaption = " ID Within Distance Parameters:";
const QString reportCaption = " Analysis Report:";

struct Choices {
    bool allFeatures = false;
    QString radius = "250";
    bool countTable = true;
    bool distanceTable = false;
    bool distanceFile = true;
    QString folder;
};

void confirm(QWidget* dialog, const Choices& choices) {
    chooseRow(dialog, "lbxTheme", "1] patches");
    chooseRow(dialog, "lbxField", "ID");
    chooseRow(dialog, "lbxAttribute", "Area");
    child<QRadioButton>(dialog, choices.allFeatures ? "optAll" : "optWithinDistance")->click();
    if (!choices.allFeatures) child<QLineEdit>(dialog, "txtDistance")->setText(choices.radius);
    child<QCheckBox>(dialog, "chkdBASE")->setChecked(choices.countTable);
    child<QCheckBox>(dialog, "chkdBASEDistance")->setChecked(choices.distanceTable);
    child<QCheckBox>(dialog, "chkTextFile")->setChecked(choices.distanceFile);
    child<QLineEdit>(dialog, "txtOutput")->setText(choices.folder);
    child<QPushButton>(dialog, "cmdOK")->click();
}

// Closes the report window with its Exit button, keeping what it showed.
std::function<void(QWidget*)> readAndExit(std::vector<std::string>& reports) {
    return [&reports](QWidget* window) {
        reports.push_back(window->findChild<QTextEdit*>()->toPlainText().toStdString());
        for (QPushButton* button : window->findChildren<QPushButton*>())
            if (button->text() == "&Exit") button->click();
    };
}

// The command created by the host, handed the application with the extension loaded,
// its library's folder "lib" in the test's folder.
class Click {
public:
    explicit Click(bool loadExtension = true) : library_(host.folder.pathOf("lib")) {
        std::filesystem::create_directory(host.folder.pathOf("lib"));
        layer = host.featureLayer("patches", testing_support::squares());
        if (loadExtension) {
            host.start({layer});
        } else {
            host.application = gishost::model::makeApplication(
                gishost::model::makeMxDocument(gishost::model::makeMap("Layers", {layer})), {host.mapDocumentPath()});
        }
        command = com::make<gishost::ICommand, gis_extension::cmdWithinDistance>();
        command->OnCreate(host.application);
    }

    std::string settingsPath() const { return host.folder.pathOf("lib/defaults.txt"); }
    std::string settingsFile() const { return testing_support::readFile(settingsPath()); }

    ExtensionHost host;
    com::ComPtr<gishost::IFeatureLayer> layer;
    com::ComPtr<gishost::ICommand> command;

private:
    gis_extension::ScopedLibraryFolder library_;
};

TEST(cmdWithinDistance, AConfirmedClickSavesTheSettingsRunsTheAnalysisAndShowsTheReport) {
    Click click;
    const std::string out = click.host.folder.pathOf("out") + "/";
    std::vector<std::string> reports;
    WhenShown reportWindow(reportCaption, readAndExit(reports));

    // No settings file yet: the dialog opens with the extension's first values.
    std::vector<std::string> seen;
    const auto look = [&](QWidget* dialog) {
        seen = {child<QRadioButton>(dialog, "optWithinDistance")->isChecked() ? "within" : "all",
                child<QLineEdit>(dialog, "txtDistance")->text().toStdString(),
                child<QCheckBox>(dialog, "chkdBASE")->isChecked() ? "count" : "-",
                child<QLineEdit>(dialog, "txtOutput")->text().toStdString()};
    };
    {
        WhenShown dialog(dialogCaption, [&](QWidget* window) {
            look(window);
            confirm(window, {.folder = QString::fromStdString(out)});
        });
        click.command->OnClick();
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"within", "0", "-", click.host.folder.pathOf("maps") + "/"}));
    EXPECT_EQ(click.settingsFile(), "1:F\r\n2:250\r\n3:T\r\n4:F\r\n5:T\r\n6:" + out + "\r\n");
    EXPECT_EQ(testing_support::everythingIn(out), (std::set<std::string>{"count.dbf", "distances.txt", "nodes.txt"}));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("Veltrano Inputs Analysis Complete:"), std::string::npos) << reports[0];
    EXPECT_NE(reports[0].find(out + "nodes.txt"), std::string::npos) << reports[0];
    EXPECT_EQ(gishost::model::shownTableWindows(click.host.application).size(), 1u);
    EXPECT_EQ(click.host.shell.requests().size(), 2u);  // the two text files opened
    EXPECT_FALSE(click.host.settings->SelectedLayer());
    EXPECT_EQ(click.host.settings->ReportOfAnalysis(), "");
    EXPECT_FALSE(com::files::IsOpen(1) || com::files::IsOpen(2));

    // The next click opens the dialog with the saved settings; all pairs are saved as -9999.
    {
        WhenShown dialog(dialogCaption, [&](QWidget* window) {
            look(window);
            confirm(window, {.allFeatures = true, .countTable = false, .folder = QString::fromStdString(out)});
        });
        click.command->OnClick();
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"within", "250", "count", out}));
    EXPECT_EQ(click.settingsFile(), "1:T\r\n2:-9999\r\n3:F\r\n4:F\r\n5:T\r\n6:" + out + "\r\n");
    EXPECT_EQ(reports.size(), 2u);
    EXPECT_TRUE(click.host.reports.shown().empty());
}

TEST(cmdWithinDistance, ARadiusInTheSettingsFileThatIsNotANumberEndsTheClickBeforeTheDialog) {
    for (const std::string line : {"2:abc", "2:"}) {
        Click click;
        const std::string contents = "1:T\r\n" + line + "\r\n5:T\r\n";
        click.host.folder.write("lib/defaults.txt", contents);
        WhenShown dialog(dialogCaption, [](QWidget* window) { window->close(); });
        click.command->OnClick();
        click.command->OnClick();  // the next click reads the file again
        EXPECT_EQ(dialog.times(), 0) << line;
        ASSERT_EQ(click.host.reports.shown().size(), 2u) << line;
        for (const std::string& report : click.host.reports.shown()) {
            EXPECT_NE(report.find("\tICommand_OnClick cmdWithinDistance Line : 20\r\n"), std::string::npos) << report;
            EXPECT_NE(report.find("Type mismatch"), std::string::npos) << report;
        }
        EXPECT_EQ(click.settingsFile(), contents) << line;
        EXPECT_FALSE(com::files::IsOpen(1)) << line;
    }
}

TEST(cmdWithinDistance, CancelAndTheCloseBoxRunNothingAndWriteNothing) {
    const std::map<std::string, std::function<void(QWidget*)>> answers = {
        {"Cancel", [](QWidget* dialog) { child<QPushButton>(dialog, "cmdCancel")->click(); }},
        {"the close box", [](QWidget* dialog) { dialog->close(); }},
    };
    for (const auto& [name, answer] : answers) {
        Click click;
        const std::string contents = "1:F\r\n2:12\r\n3:T\r\n6:" + click.host.folder.pathOf("out") + "/\r\n";
        click.host.folder.write("lib/defaults.txt", contents);
        click.host.settings->putref_SelectedLayer(click.layer);
        click.host.settings->put_ReportOfAnalysis("{\\rtf1 an old report}");
        WhenShown dialog(dialogCaption, answer);
        int reportWindows = 0;
        WhenShown report(reportCaption, [&](QWidget* window) {
            ++reportWindows;
            window->close();
        });
        click.command->OnClick();
        EXPECT_EQ(dialog.times(), 1) << name;
        EXPECT_EQ(reportWindows, 0) << name;
        EXPECT_EQ(click.settingsFile(), contents) << name;
        EXPECT_TRUE(testing_support::everythingIn(click.host.folder.pathOf("out")).empty()) << name;
        EXPECT_FALSE(click.host.settings->SelectedLayer()) << name;
        EXPECT_EQ(click.host.settings->ReportOfAnalysis(), "") << name;
        EXPECT_EQ(click.host.settings->DistanceLimit(), 12.0) << name;  // read from the file
        EXPECT_TRUE(click.host.reports.shown().empty()) << name;
    }
}

TEST(cmdWithinDistance, ASettingsFileThatCannotBeWrittenLeavesTheFileAndTheAnalysisRuns) {
    Click click;
    // A folder where the file belongs: it can be neither read nor written.
    std::filesystem::create_directory(click.settingsPath());
    std::vector<std::string> reports;
    WhenShown reportWindow(reportCaption, readAndExit(reports));
    WhenShown dialog(dialogCaption, [&](QWidget* window) {
        confirm(window, {.folder = QString::fromStdString(click.host.folder.pathOf("out"))});
    });
    click.command->OnClick();
    EXPECT_EQ(reports.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_directory(click.settingsPath()));
    EXPECT_TRUE(testing_support::everythingIn(click.host.folder.pathOf("lib")) ==
                std::set<std::string>{"defaults.txt"});
    EXPECT_TRUE(click.host.reports.shown().empty());
}

// The settings file writable, its folder refusing the new file that would replace it:
// the file stays as it was (or missing), no message, and the analysis runs.
TEST(cmdWithinDistance, ASettingsFolderThatTakesNoNewFileCostsNoMessageAndTheAnalysisRuns) {
    const std::optional<std::string> files[] = {"1:T\r\n2:-9999\r\n3:F\r\n", std::nullopt};
    for (const std::optional<std::string>& old : files) {
        SCOPED_TRACE(old ? "an existing file" : "no file yet");
        Click click;
        if (old) click.host.folder.write("lib/defaults.txt", *old);
        sysutils::ScopedFolderRefusingNewFiles refusing(click.host.folder.pathOf("lib"));
        std::vector<std::string> reports;
        WhenShown reportWindow(reportCaption, readAndExit(reports));
        WhenShown dialog(dialogCaption, [&](QWidget* window) {
            confirm(window, {.folder = QString::fromStdString(click.host.folder.pathOf("out"))});
        });
        click.command->OnClick();
        EXPECT_TRUE(click.host.reports.shown().empty()) << click.host.reports.shown().front();
        EXPECT_EQ(reports.size(), 1u);
        EXPECT_EQ(testing_support::everythingIn(click.host.folder.pathOf("out")),
                  (std::set<std::string>{"count.dbf", "distances.txt", "nodes.txt"}));
        if (old) {
            EXPECT_EQ(click.settingsFile(), *old);
            EXPECT_EQ(testing_support::everythingIn(click.host.folder.pathOf("lib")), std::set<std::string>{"defaults.txt"});
        } else {
            EXPECT_TRUE(testing_support::everythingIn(click.host.folder.pathOf("lib")).empty());
        }
    }
}

TEST(cmdWithinDistance, AnAnalysisThatLeavesNoReportShowsNoReportWindowButItsSettingsAreSaved) {
    Click click;
    const std::string gone = click.host.folder.pathOf("gone");
    int reportWindows = 0;
    WhenShown report(reportCaption, [&](QWidget* window) {
        ++reportWindows;
        window->close();
    });
    WhenShown dialog(dialogCaption, [&](QWidget* window) {
        confirm(window, {.countTable = false, .folder = QString::fromStdString(gone)});
    });
    click.command->OnClick();
    EXPECT_EQ(reportWindows, 0);
    ASSERT_EQ(click.host.reports.shown().size(), 1u);
    EXPECT_NE(click.host.reports.shown()[0].find("CalcWithinDistance WithinDistance"), std::string::npos)
        << click.host.reports.shown()[0];
    EXPECT_EQ(click.settingsFile(), "1:F\r\n2:250\r\n3:F\r\n4:F\r\n5:T\r\n6:" + gone + "\r\n");
    EXPECT_FALSE(click.host.settings->SelectedLayer());
}

TEST(cmdWithinDistance, WithoutTheExtensionObjectEveryClickFailsBeforeTheDialog) {
    Click click(/*loadExtension=*/false);
    WhenShown dialog(dialogCaption, [](QWidget* window) { window->close(); });
    click.command->OnClick();
    EXPECT_EQ(dialog.times(), 0);
    ASSERT_EQ(click.host.reports.shown().size(), 1u);
    EXPECT_NE(click.host.reports.shown()[0].find("\tICommand_OnClick cmdWithinDistance Line : 10\r\n"),
              std::string::npos)
        << click.host.reports.shown()[0];
    EXPECT_NE(click.host.reports.shown()[0].find("\t91\r\n"), std::string::npos);
}

}  // namespace
