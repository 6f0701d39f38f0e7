// The host program driven as a user would, with the test plug-in installed in a registry
// of the test's own, scripted message boxes and dialogs, on the offscreen platform: the
// plug-in's toolbar and its buttons, a click that drives the status bar and shows a
// table, table windows opened a step apart within the screen, a failing command, the
// layers of a map document drawn, invalid layers, a bad document, Add Data and the
// catalog browser with the folders they remember, and the extensions shut down at the end.
#include <gtest/gtest.h>

#include <algorithm>

#include <QAbstractItemModel>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QProgressBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <fstream>
#include <functional>

#include "LayerFixtures.h"
#include "ProjectionLayers.h"
#include "ReachingLayers.h"
#include "WritingLayers.h"
#include "TestPlugin.h"
#include "com/ComponentCategories.h"
#include "com/Creation.h"
#include "gishost/app/HostClasses.h"
#include "gishost/app/HostDialogs.h"
#include "gishost/app/HostStatusBar.h"
#include "gishost/app/Installation.h"
#include "gishost/app/MainWindow.h"
#include "gishost/app/MapView.h"
#include "gishost/app/RegistryDamage.h"
#include "gishost/app/TableWindow.h"
#include "gishost/model/HostModel.h"
#include "support/ScopedEnvironment.h"
#include "support/TestFiles.h"
#include "sysutils/MessageBoxes.h"
#include "winapi/Registry.h"

namespace {

using namespace gishost;
using gishost::app::MainWindow;

std::optional<std::string> setting(const char* value) {
    return winapi::registry::readString(winapi::HKEY_CURRENT_USER, "Software\\ESRI\\ArcCatalog\\Settings", value);
}

com::ComPtr<test_plugin::ITestLog> pluginLog(const com::ComPtr<IApplication>& application) {
    const auto uid = com::createInstanceAs<IUID>(CLSID_UID);
    uid->put_Value(test_plugin::ProgID_Extension);
    const com::ComPtr<IExtension> extension = application->FindExtensionByCLSID(uid);
    return extension ? extension.as<test_plugin::ITestLog>() : com::ComPtr<test_plugin::ITestLog>();
}

QAction* actionNamed(QToolBar& toolbar, const char* text) {
    for (QAction* action : toolbar.actions())
        if (action->text() == QString::fromUtf8(text)) return action;
    return nullptr;
}

std::vector<app::TableView*> tableWindows() {
    std::vector<app::TableView*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* view = dynamic_cast<app::TableView*>(widget); view != nullptr && view->isVisible())
            windows.push_back(view);
    return windows;
}

app::TableView* tableWindowTitled(const std::string& title) {
    for (app::TableView* view : tableWindows())
        if (view->windowTitle().toStdString() == title) return view;
    return nullptr;
}

class HostProgram : public ::testing::Test {
protected:
    void SetUp() override { app::registerHostProgramClasses(); }

    void install() {
        const app::InstallationResult result = app::installPlugin(TEST_PLUGIN_PATH, folder_.path().string());
        ASSERT_TRUE(result.succeeded) << result.error;
    }

    // Two squares of side 10 at (0,0) and (100,50), metres.
    std::string writePatches() {
        testing_support::FixtureLayer patches;
        patches.layerName = "patches";
        patches.epsg = 3035;
        patches.fields = {{"ID", OFTInteger, 9}};
        patches.features = {{testing_support::squareWkt(0, 0, 10), {"1"}},
                            {testing_support::squareWkt(100, 50, 10), {"2"}}};
        return testing_support::writeLayer(folder_.pathOf("patches.shp"), patches);
    }

    std::string writeRoads() {
        testing_support::FixtureLayer roads;
        roads.format = "geojson";
        roads.layerName = "roads";
        roads.geometryType = wkbLineString;
        roads.features = {{"LINESTRING (0 -20, 110 -20)", {}}};
        return testing_support::writeLayer(folder_.pathOf("roads.geojson"), roads);
    }

    std::string writeDocument() {
        writePatches();
        writeRoads();
        return folder_.write("study.gmap",
                             "gishost map document 1\n"
                             "map\tStudy\n"
                             "layer\tPatches\tpatches.shp\n"
                             "group\tSurroundings\n"
                             "layer\tRoads\troads.geojson\n"
                             "layer\tGone\tgone.shp\n"
                             "end\n");
    }

    testing_support::ScopedRegistry registry_;
    testing_support::TemporaryFolder folder_;
    sysutils::ScriptedMessageBoxes boxes_;
    app::ScriptedHostDialogs dialogs_;
};

TEST_F(HostProgram, ShowsTheToolbarOfAnInstalledPlugin) {
    install();
    MainWindow window;
    auto* toolbar = window.findChild<QToolBar*>("TestPlugin_ToolBar");
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(toolbar->windowTitle(), "Test Tools");
    const QList<QAction*> actions = toolbar->actions();
    ASSERT_EQ(actions.size(), 3) << "two buttons with a separator; the unregistered command is left out";
    EXPECT_FALSE(actions[0]->isSeparator());
    EXPECT_TRUE(actions[1]->isSeparator()) << "the failing command starts a group";

    QAction* record = actions[0];
    EXPECT_EQ(record->text(), "Record Things");
    EXPECT_EQ(toolbar->widgetForAction(record)->accessibleName(), "Record Things");
    EXPECT_EQ(record->toolTip(), "Record things and fill a table");
    EXPECT_EQ(record->statusTip(), "Records its calls, steps the progress bar and fills a table");
    EXPECT_TRUE(record->isEnabled());
    EXPECT_FALSE(record->isChecked());
    const QImage icon = record->icon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(icon.size(), QSize(16, 16));
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << "magenta is transparent";
    EXPECT_EQ(icon.pixel(8, 8), qRgba(0, 0, 0, 255));

    QAction* fail = actions[2];
    EXPECT_EQ(fail->text(), "Fail");
    EXPECT_TRUE(fail->icon().isNull());
    EXPECT_TRUE(fail->isCheckable() && fail->isChecked());
    auto* failButton = qobject_cast<QToolButton*>(toolbar->widgetForAction(fail));
    ASSERT_NE(failButton, nullptr);
    EXPECT_EQ(failButton->text(), "Fail") << "a command without a bitmap shows its caption";

    EXPECT_NE(window.hostStatusBar().messagePane()->text().toStdString().find(
                  std::string("The command ") + test_plugin::ProgID_Missing + " could not be created"),
              std::string::npos)
        << window.hostStatusBar().messagePane()->text().toStdString();
    EXPECT_EQ(
        pluginLog(window.application())->Calls(),
        (std::vector<std::string>{"Startup(application)", "TestPlugin_Record.OnCreate", "TestPlugin_Fail.OnCreate"}))
        << "the extension starts before the commands are created";
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(HostProgram, AClickDrivesTheStatusBarAndShowsATableAndAFailureIsShown) {
    install();
    MainWindow window;
    ASSERT_TRUE(window.openMapDocument(writeDocument()));
    window.show();
    auto* toolbar = window.findChild<QToolBar*>("TestPlugin_ToolBar");
    ASSERT_NE(toolbar, nullptr);
    QAction* record = actionNamed(*toolbar, "Record Things");
    ASSERT_NE(record, nullptr);
    record->trigger();

    const auto log = pluginLog(window.application());
    EXPECT_EQ(log->Calls().at(3), "TestPlugin_Record.OnClick");
    EXPECT_EQ(log->Calls().at(4), "TableWindow.IsVisible = True");
    app::HostStatusBar& statusBar = window.hostStatusBar();
    EXPECT_EQ(statusBar.messagePane()->text(), "Counted 3 of 10");
    EXPECT_TRUE(statusBar.progressBar()->isVisible());
    EXPECT_EQ(statusBar.progressBar()->value(), 3);
    EXPECT_EQ(statusBar.progressBar()->maximum(), 10);

    std::vector<app::TableView*> windows = tableWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0]->windowTitle(), "Table: visits1");
    const QAbstractItemModel* rows = windows[0]->rows()->model();
    ASSERT_NE(rows, nullptr);
    ASSERT_EQ(rows->rowCount(), 2);
    EXPECT_EQ(rows->headerData(1, Qt::Horizontal).toString(), "Place");
    EXPECT_EQ(rows->index(0, 0).data().toString(), "7");
    EXPECT_EQ(rows->index(0, 1).data().toString(), QString::fromUtf8("M\u00e4rsta"));
    EXPECT_EQ(windows[0]->rows()->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(model::shownTableWindows(window.application()).size(), 1u);
    EXPECT_EQ(window.application()->Document()->FocusMap().as<IStandaloneTableCollection>()->StandaloneTableCount(), 1);

    actionNamed(*toolbar, "Fail")->trigger();
    ASSERT_EQ(boxes_.boxes().size(), 1u);
    EXPECT_EQ(boxes_.boxes()[0].text,
              "A plug-in failed while carrying out the command Fail:\n\n"
              "The failing command failed (error 1234, TestPlugin)");
    EXPECT_TRUE(actionNamed(*toolbar, "Fail")->isChecked()) << "the command's state, not the click's";

    record->trigger();
    EXPECT_EQ(tableWindows().size(), 2u) << "the host goes on after a failure";
    window.close();
    EXPECT_TRUE(tableWindows().empty()) << "the table windows close with the main window";
}

TEST_F(HostProgram, OpensEachTableWindowAStepFromTheNewestOneWithinTheScreen) {
    install();
    MainWindow window;
    ASSERT_TRUE(window.openMapDocument(writeDocument()));
    window.show();
    QAction* record = actionNamed(*window.findChild<QToolBar*>("TestPlugin_ToolBar"), "Record Things");
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    std::vector<QPoint> places;
    bool wrapped = false;
    for (int click = 1; click <= 40 && !wrapped; ++click) {
        record->trigger();
        app::TableView* newest = tableWindowTitled("Table: visits" + std::to_string(click));
        ASSERT_NE(newest, nullptr);
        const QPoint at = newest->pos();
        EXPECT_TRUE(area.contains(newest->frameGeometry())) << click;
        EXPECT_TRUE(std::find(places.begin(), places.end(), at) == places.end())
            << "window " << click << " opens where another one is";
        if (!places.empty()) {
            const QPoint step = at - places.back();
            wrapped = at == area.topLeft();
            EXPECT_TRUE(wrapped || (step.x() > 0 && step.x() == step.y())) << "window " << click;
        }
        places.push_back(at);
    }
    EXPECT_TRUE(wrapped) << "the windows start again at the top left before they leave the screen";
}

TEST_F(HostProgram, DrawsTheLayersOfADocumentAndMarksThoseItCannotRead) {
    MainWindow window;
    window.resize(900, 700);
    window.show();
    const std::string document = writeDocument();
    ASSERT_TRUE(window.openMapDocument(document));
    QApplication::processEvents();  // lays the window out

    QTreeWidget& tree = window.layerTree();
    ASSERT_EQ(tree.topLevelItemCount(), 2);
    EXPECT_EQ(tree.topLevelItem(0)->text(0), "Patches");
    QTreeWidgetItem* group = tree.topLevelItem(1);
    EXPECT_EQ(group->text(0), "Surroundings");
    ASSERT_EQ(group->childCount(), 2);
    EXPECT_EQ(group->child(0)->text(0), "Roads");
    EXPECT_EQ(group->child(1)->text(0), "Gone (invalid)");
    EXPECT_NE(group->child(1)->toolTip(0).toStdString().find(folder_.pathOf("gone.shp")), std::string::npos);

    const com::ComPtr<IMap> map = window.application()->Document()->FocusMap();
    EXPECT_EQ(map->Name(), "Study");
    EXPECT_EQ(map->LayerCount(), 2);
    const auto templates = window.application()->Templates();
    EXPECT_EQ(templates->Item(templates->Count() - 1), document);

    app::MapView& view = window.mapView();
    ASSERT_EQ(view.layers().size(), 2u) << "the invalid layer is not drawn";
    const QRectF visible = view.visibleExtent();
    EXPECT_TRUE(visible.contains(QRectF(QPointF(0, -20), QPointF(110, 60))));
    // The square at the top right is coloured where it is; the place mirrored across the
    // middle of the map is left white.
    const QImage picture = view.grab().toImage();
    const auto pixelAt = [&](QPointF point) {
        const double x = (point.x() - visible.left()) / visible.width() * view.width();
        const double y = (visible.bottom() - point.y()) / visible.height() * view.height();
        return picture.pixelColor(static_cast<int>(x), static_cast<int>(y));
    };
    EXPECT_NE(pixelAt({105, 55}), QColor(Qt::white));
    EXPECT_EQ(pixelAt({105, -15}), QColor(Qt::white));
}

TEST_F(HostProgram, KeepsItsMapWhenADocumentCannotBeRead) {
    MainWindow window;
    const std::string good = writeDocument();
    ASSERT_TRUE(window.openMapDocument(good));
    const std::string bad = folder_.write("bad.gmap", "gishost map document 1\nlayer\tonly a name\n");
    EXPECT_FALSE(window.openMapDocument(bad));
    ASSERT_EQ(boxes_.boxes().size(), 1u);
    EXPECT_NE(boxes_.boxes()[0].text.find("line 2: expected \"layer NAME SOURCE [LAYER]\""), std::string::npos)
        << boxes_.boxes()[0].text;
    EXPECT_EQ(window.layerTree().topLevelItemCount(), 2);
    const auto templates = window.application()->Templates();
    EXPECT_EQ(templates->Item(templates->Count() - 1), good);
}

TEST_F(HostProgram, AddsDataChosenInItsDialogAndRemembersTheFolder) {
    MainWindow window;
    const std::string patches = writePatches();
    dialogs_.cancelNext();
    dialogs_.chooseNext({patches, folder_.write("notes.txt", "no layer")});
    QAction* addData = window.findChild<QAction*>("addData");
    ASSERT_NE(addData, nullptr);
    addData->trigger();
    EXPECT_EQ(window.layerTree().topLevelItemCount(), 0);
    EXPECT_FALSE(setting("LastBrowseLocation"));
    addData->trigger();
    ASSERT_EQ(dialogs_.requests().size(), 2u);
    EXPECT_EQ(dialogs_.requests()[1].title, "Add Data");
    EXPECT_TRUE(dialogs_.requests()[1].multiple);
    ASSERT_EQ(window.layerTree().topLevelItemCount(), 1);
    EXPECT_EQ(window.layerTree().topLevelItem(0)->text(0), "patches");
    ASSERT_EQ(boxes_.boxes().size(), 1u) << "the file that holds no layer is named";
    EXPECT_NE(boxes_.boxes()[0].text.find("notes.txt"), std::string::npos);
    EXPECT_EQ(setting("LastBrowseLocation"), folder_.path().string());
    EXPECT_EQ(setting("LastLocation"), folder_.path().string());
    const auto templates = window.application()->Templates();
    EXPECT_EQ(templates->Item(templates->Count() - 1), app::untitledDocumentPath());
}

TEST_F(HostProgram, BrowsesForAFolderTheFilterAccepts) {
    const auto browser = com::createInstanceAs<ICatalogBrowser>(CLSID_CatalogBrowser);
    browser->put_AllowMultiSelect(false);
    browser->put_StartingLocation("/tmp/");
    browser->put_Title("Please choose");
    browser->putref_ObjectFilter(com::createInstanceAs<ICatalogObjectFilter>(CLSID_FolderFilter));
    const std::string file = folder_.write("notes.txt", "a file");
    dialogs_.chooseNext({file});
    dialogs_.chooseNext({folder_.path().string()});
    dialogs_.cancelNext();
    com::ComPtr<IEnumCatalogObject> selection;
    ASSERT_TRUE(browser->DoModalOpen(nullptr, selection));
    EXPECT_EQ(selection->Next()->FullName(), folder_.path().string());
    EXPECT_FALSE(selection->Next());
    ASSERT_EQ(dialogs_.requests().size(), 2u);
    EXPECT_EQ(dialogs_.requests()[0],
              (app::ChooseRequest{app::ChooseRequest::Kind::Folders, "Please choose", "/tmp/", "", false}));
    ASSERT_EQ(boxes_.boxes().size(), 1u) << "the file the filter refused is named";
    EXPECT_NE(boxes_.boxes()[0].text.find(file), std::string::npos);
    EXPECT_EQ(setting("LastBrowseLocation"), folder_.path().string());

    com::ComPtr<IEnumCatalogObject> none;
    EXPECT_FALSE(browser->DoModalOpen(nullptr, none));
    EXPECT_FALSE(none);
}

TEST_F(HostProgram, RefusesAPipeGivenAsALayerBeforeOpeningIt) {
    // Every reader finds a writer, so that a host that opens the pipe fails instead of waiting.
    const testing_support::NamedPipe pipe(folder_.pathOf("layer.shp"), "", /*everyReader=*/true);
    const testing_support::NamedPipe pipedDocument(folder_.pathOf("document.gmap"), "", /*everyReader=*/true);
    const std::string document =
        folder_.write("piped.gmap", "gishost map document 1\nmap\tPiped\nlayer\tPiped\tlayer.shp\n");
    MainWindow window;
    const auto lastBox = [&] { return boxes_.boxes().empty() ? std::string() : boxes_.boxes().back().text; };
    const struct Case {
        const char* entry;
        std::function<std::string()> shown;  // what the host shows of the refusal
        std::string says;
    } cases[] = {
        {"command line",
         [&] {
             EXPECT_FALSE(window.addData({pipe.path()}));
             return lastBox();
         },
         pipe.path() + ": it is a pipe"},
        {"map document",
         [&] {
             EXPECT_TRUE(window.openMapDocument(document));
             QTreeWidgetItem* item = window.layerTree().topLevelItem(0);
             if (item == nullptr) return lastBox();
             EXPECT_EQ(item->text(0), "Piped (invalid)");
             return item->toolTip(0).toStdString();
         },
         pipe.path() + ": it is a pipe"},
        {"the document itself",
         [&] {
             EXPECT_FALSE(window.openMapDocument(pipedDocument.path()));
             return lastBox();
         },
         "The map document " + pipedDocument.path() + " cannot be opened:\n\nit is a pipe"},
    };
    for (const Case& test : cases) {
        const std::string shown = test.shown();
        EXPECT_NE(shown.find(test.says), std::string::npos) << test.entry << ": " << shown;
    }
}

TEST_F(HostProgram, OpensLayersThatReachAFileThroughAnotherAndRefusesThoseThatReachAPipeWithTheRestOfTheMap) {
    writePatches();
    std::filesystem::create_directory(folder_.pathOf("real"));
    std::filesystem::create_directory(folder_.pathOf("piped"));
    const auto real = testing_support::layersReaching(folder_.pathOf("real"), testing_support::writeReachedFile);
    // Every reader finds a writer, so that a host that opens a pipe fails instead of waiting.
    std::vector<std::unique_ptr<testing_support::NamedPipe>> pipes;
    const auto piped = testing_support::layersReaching(folder_.pathOf("piped"), [&](const std::string& path) {
        pipes.push_back(std::make_unique<testing_support::NamedPipe>(path, "", /*everyReader=*/true));
    });
    MainWindow window;
    const auto documentWith = [&](const testing_support::ReachingLayer& layer) {
        return folder_.write("reaching.gmap", "gishost map document 1\nlayer\tPatches\tpatches.shp\nlayer\tReaching\t" +
                                                  layer.source + "\n");
    };
    for (const auto& layer : real) {
        EXPECT_TRUE(window.openMapDocument(documentWith(layer))) << layer.kind;
        ASSERT_EQ(window.layerTree().topLevelItemCount(), 2) << layer.kind;
        EXPECT_EQ(window.layerTree().topLevelItem(1)->text(0), "Reaching") << layer.kind;
        EXPECT_TRUE(window.addData({layer.source})) << layer.kind;
    }
    EXPECT_TRUE(boxes_.boxes().empty());
    for (const auto& layer : piped) {
        const std::string reason = layer.source + ": it reads " + layer.reached + ", which is a pipe";
        EXPECT_TRUE(window.openMapDocument(documentWith(layer))) << layer.kind;
        ASSERT_EQ(window.layerTree().topLevelItemCount(), 2) << layer.kind;
        EXPECT_EQ(window.layerTree().topLevelItem(0)->text(0), "Patches") << layer.kind;
        EXPECT_EQ(window.layerTree().topLevelItem(1)->text(0), "Reaching (invalid)") << layer.kind;
        EXPECT_EQ(window.layerTree().topLevelItem(1)->toolTip(0).toStdString(), reason) << layer.kind;
        EXPECT_FALSE(window.addData({layer.source})) << layer.kind;
        ASSERT_FALSE(boxes_.boxes().empty());
        EXPECT_NE(boxes_.boxes().back().text.find("\n" + reason), std::string::npos)
            << layer.kind << ": " << boxes_.boxes().back().text;
    }
}

TEST_F(HostProgram, OpensLayersWhoseCoordinateSystemNamesAFileAndRefusesThoseThatNameAPipeWithTheRestOfTheMap) {
    writePatches();
    std::filesystem::create_directory(folder_.pathOf("real"));
    std::filesystem::create_directory(folder_.pathOf("piped"));
    const auto real =
        testing_support::layersNamingProjectionFiles(folder_.pathOf("real"), testing_support::writeProjectionFile);
    // Every reader finds a writer, so that a host that opens a pipe fails instead of waiting.
    std::vector<std::unique_ptr<testing_support::NamedPipe>> pipes;
    const auto piped = testing_support::layersNamingProjectionFiles(folder_.pathOf("piped"), [&](const std::string& path) {
        pipes.push_back(std::make_unique<testing_support::NamedPipe>(path, "", /*everyReader=*/true));
    });
    MainWindow window;
    const auto documentWith = [&](const testing_support::ReachingLayer& layer) {
        return folder_.write("projected.gmap", "gishost map document 1\nlayer\tPatches\tpatches.shp\nlayer\tProjected\t" +
                                                   layer.source + "\n");
    };
    for (const auto& layer : real) {
        EXPECT_TRUE(window.openMapDocument(documentWith(layer))) << layer.kind;
        ASSERT_EQ(window.layerTree().topLevelItemCount(), 2) << layer.kind;
        EXPECT_EQ(window.layerTree().topLevelItem(1)->text(0), "Projected") << layer.kind;
        EXPECT_TRUE(window.addData({layer.source})) << layer.kind;
    }
    EXPECT_TRUE(boxes_.boxes().empty());
    // Each piped layer is opened at start-up only: the projection library remembers a grid
    // it was refused as missing, and takes an optional one as absent from then on.
    for (const auto& layer : piped) {
        EXPECT_TRUE(window.openMapDocument(documentWith(layer))) << layer.kind;
        ASSERT_EQ(window.layerTree().topLevelItemCount(), 2) << layer.kind;
        EXPECT_EQ(window.layerTree().topLevelItem(0)->text(0), "Patches") << layer.kind;
        if (layer.reached.empty()) {
            EXPECT_EQ(window.layerTree().topLevelItem(1)->text(0), "Projected") << layer.kind;
            continue;
        }
        EXPECT_EQ(window.layerTree().topLevelItem(1)->text(0), "Projected (invalid)") << layer.kind;
        EXPECT_EQ(window.layerTree().topLevelItem(1)->toolTip(0).toStdString(),
                  layer.source + ": it reads " + layer.reached + ", which is a pipe")
            << layer.kind;
    }
}

TEST_F(HostProgram, ReadsLayersWithoutWritingAFileAndRefusesThoseThatCannotBeReadWithoutWithTheRestOfTheMap) {
    writePatches();
    std::filesystem::create_directory(folder_.pathOf("layers"));
    const std::string path = folder_.pathOf("layers");
    const auto layers = testing_support::layersThatWouldWrite(path);
    const auto files = testing_support::filesIn(path);
    testing_support::FolderWatch watch(path);
    MainWindow window;
    for (const auto& layer : layers) {
        const std::string document = folder_.write(
            "reading.gmap", "gishost map document 1\nlayer\tPatches\tpatches.shp\nlayer\tRead\t" + layer.source + "\n");
        EXPECT_TRUE(window.openMapDocument(document)) << layer.kind;
        ASSERT_EQ(window.layerTree().topLevelItemCount(), 2) << layer.kind;
        EXPECT_EQ(window.layerTree().topLevelItem(0)->text(0), "Patches") << layer.kind;
        if (layer.refusal.empty()) {
            EXPECT_EQ(window.layerTree().topLevelItem(1)->text(0), "Read") << layer.kind;
            EXPECT_TRUE(window.addData({layer.source})) << layer.kind;
        } else {
            EXPECT_EQ(window.layerTree().topLevelItem(1)->text(0), "Read (invalid)") << layer.kind;
            EXPECT_EQ(window.layerTree().topLevelItem(1)->toolTip(0).toStdString(), layer.source + ": " + layer.refusal)
                << layer.kind;
            EXPECT_FALSE(window.addData({layer.source})) << layer.kind;
        }
        EXPECT_EQ(watch.changes(), "") << layer.kind;
    }
    EXPECT_EQ(testing_support::differences(files, testing_support::filesIn(path)), "");
}

TEST_F(HostProgram, StartsWithAnExtensionWhoseServerIsAPipeLeftOut) {
    const testing_support::NamedPipe pipe(folder_.pathOf("plugin.so"), "", /*everyReader=*/true);
    const com::CLSID clsid = com::guid("{5B7C1E2A-0D4F-4C7B-9E1A-3F6D2B8C4A10}");
    ASSERT_TRUE(winapi::registry::writeString(winapi::HKEY_CLASSES_ROOT,
                                              "CLSID\\" + com::toString(clsid) + "\\InprocServer32", "", pipe.path()));
    ASSERT_TRUE(com::enrolClassInCategory(clsid, CATID_Extensions));
    MainWindow window;
    const std::string message = window.hostStatusBar().messagePane()->text().toStdString();
    EXPECT_NE(message.find("cannot load " + pipe.path() + ": it is a pipe"), std::string::npos) << message;
}

TEST_F(HostProgram, SaysOnceAtStartUpWhichRegistryFileIsDamagedAndWhereAndLeavesItAsItIs) {
    install();
    const std::string file = registry_.hiveFile("local_machine.reg");
    const std::string whole = testing_support::readFile(file);
    const struct Case {
        const char* name;
        std::string damaged;
        const char* says;
        bool toolbarShown;  // what could be read is used
    } cases[] = {
        {"overwritten start", "\x7f\x01" + whole.substr(2),
         " is damaged at line 1 (it does not begin with the line \"PLATFORM REGISTRY 1\").", false},
        {"broken line", whole.substr(0, whole.find('\n') + 1) + "\"Lost=\n" + whole.substr(whole.find('\n') + 1),
         " is damaged at line 2 (a value outside any key).", true},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << test.damaged;
        boxes_.clear();
        {
            MainWindow window;
            EXPECT_EQ(window.findChild<QToolBar*>("TestPlugin_ToolBar") != nullptr, test.toolbarShown);
        }
        ASSERT_EQ(boxes_.boxes().size(), 1u) << "once, not at every lookup";
        EXPECT_EQ(boxes_.boxes()[0].text,
                  "The registry file " + file + test.says + "\n\n" + app::damagedRegistryAtStartUp);
        EXPECT_EQ(testing_support::readFile(file), test.damaged);
    }
}

TEST_F(HostProgram, ShutsItsExtensionsDownWhenItCloses) {
    install();
    com::ComPtr<test_plugin::ITestLog> log;
    {
        MainWindow window;
        log = pluginLog(window.application());
        ASSERT_TRUE(log);
    }
    EXPECT_EQ(log->Calls().back(), "Shutdown");
}

// Counts the paintings of a widget.
class PaintCounter : public QObject {
public:
    int paintings = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paintings;
        return false;
    }
};

TEST(HostStatusBar, PaintsAtOnceAndKeepsItsProgressWithinItsRange) {
    QStatusBar bar;
    const auto statusBar = com::make<app::HostStatusBar, app::HostStatusBar>(&bar);
    bar.show();
    QApplication::processEvents();  // the first painting, on showing
    PaintCounter counter;
    statusBar->messagePane()->installEventFilter(&counter);
    statusBar->ShowProgressBar("Measuring", 1, 3, 1, true);
    EXPECT_GT(counter.paintings, 0) << "painted without a return to the event loop";
    for (int k = 0; k < 5; ++k) statusBar->StepProgressBar();
    EXPECT_EQ(statusBar->ProgressBar()->Position(), 3);
    EXPECT_EQ(statusBar->progressBar()->value(), 3);
    EXPECT_EQ(statusBar->messagePane()->text(), "Measuring");
    statusBar->put_Message(2, "elsewhere");
    EXPECT_EQ(statusBar->Message(2), "elsewhere");
    EXPECT_EQ(statusBar->messagePane()->text(), "Measuring") << "only pane 0 is shown";
    statusBar->ProgressBar()->put_MaxRange(0);
    EXPECT_EQ(statusBar->progressBar()->maximum(), 1) << "a maximum below the minimum shows an empty bar";
    statusBar->HideProgressBar();
    EXPECT_TRUE(statusBar->progressBar()->isHidden());
}

}  // namespace
