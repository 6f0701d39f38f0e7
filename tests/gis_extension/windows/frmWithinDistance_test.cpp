// The parameters dialog as a user meets it: filled from the extension object, only
// feature layers offered, fields listed by type, the unit of the radius, OK enabled only
// when every choice is made, the distance keys filtered, OK, Cancel and the close box,
// Enter and Escape, the output folder's fallbacks, the folder browser, and anchoring.
#include "gis_extension/frmwithindistance.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "forms/Screen.h"
#include "gis_extension/support/ExtensionHost.h"
#include "sysutils/FormatSettings.h"
#include "winapi/Registry.h"

namespace {

using gis_extension::frmWithinDistance;
using testing_support::ExtensionHost;

void click(forms::CommandButton& button) { static_cast<QPushButton*>(button.widget())->click(); }
void click(forms::OptionButton& option) { static_cast<QRadioButton*>(option.widget())->click(); }
void click(forms::CheckBox& box) { static_cast<QCheckBox*>(box.widget())->click(); }

void type(forms::TextBox& box, const std::string& keys) {
    for (const char key : keys) QTest::keyClick(box.widget(), key);
}

std::vector<std::string> rows(forms::ListBox& list) {
    std::vector<std::string> texts;
    for (std::int32_t row = 0; row < list.ListCount(); ++row) texts.push_back(list.List(row));
    return texts;
}

// A new dialog handed the application, filled and shown, as the command does (but modeless).
void open(frmWithinDistance& dialog, ExtensionHost& host) {
    dialog.putref_ArcVariables(host.application);
    dialog.FillListbox();
    dialog.InitializeWorkspace();
    dialog.Show();
    QApplication::processEvents();
}

// Chooses a layer of squares and its fields "ID" and "Area".
void chooseLayerAndFields(frmWithinDistance& dialog, std::int32_t row = 0) {
    dialog.lbxTheme.put_ListIndex(row);
    dialog.lbxField.put_ListIndex(0);
    dialog.lbxAttribute.put_ListIndex(1);
}

// A layer of one square (a shapefile without a .prj file has no spatial reference).
testing_support::FixtureLayer layerWithFields(const std::string& format, int epsg,
                                              std::vector<testing_support::FixtureField> fields,
                                              std::vector<std::optional<std::string>> values) {
    testing_support::FixtureLayer layer;
    layer.format = format;
    layer.epsg = epsg;
    layer.fields = std::move(fields);
    layer.features.push_back({testing_support::squareWkt(0, 0, 1), std::move(values)});
    return layer;
}

TEST(frmWithinDistance, OpensWithTheStoredSettingsAndOffersOnlyFeatureLayers) {
    sysutils::ScopedDecimalSeparator comma(',');
    ExtensionHost host;
    const auto first = host.featureLayer("patches_a", testing_support::squares(), "patches");
    const auto second = host.featureLayer("patches_b", testing_support::squares(), "patches");
    const auto raster = gishost::model::openRasterLayer(testing_support::writeRaster(host.folder.pathOf("heights.tif")));
    host.start({first, raster, gishost::model::makeGroupLayer("group", {second})});
    host.settings->put_CalcAllFeatures(false);
    host.settings->put_DistanceLimit(250.5);
    host.settings->put_CalcNumberDBase(true);
    host.settings->put_CalcDistanceDBase(false);
    host.settings->put_CalcDistanceASCII(true);
    host.settings->put_DirectoryPath(host.folder.pathOf("out"));
    host.settings->put_ShouldContinue(true);

    frmWithinDistance dialog;
    open(dialog, host);

    EXPECT_EQ(dialog.Caption(), " ID Within Distance Parameters:");
    EXPECT_FALSE(host.settings->ShouldContinue());
    EXPECT_FALSE(dialog.optAll.Value());
    EXPECT_TRUE(dialog.optWithinDistance.Value());
    EXPECT_EQ(dialog.txtDistance.Text(), "250,5");
    EXPECT_TRUE(dialog.txtDistance.Enabled());
    EXPECT_EQ(dialog.chkdBASE.Value(), forms::CheckBoxChecked);
    EXPECT_EQ(dialog.chkdBASEDistance.Value(), forms::CheckBoxUnchecked);
    EXPECT_EQ(dialog.chkTextFile.Value(), forms::CheckBoxChecked);
    EXPECT_EQ(dialog.lblMapUnits.Caption(), "Map Units");
    EXPECT_EQ(rows(dialog.lbxTheme), (std::vector<std::string>{"1] patches", "2] patches"}));
    EXPECT_EQ(dialog.lbxTheme.ListIndex(), -1);
    EXPECT_EQ(dialog.lbxField.ListCount(), 0);
    EXPECT_FALSE(dialog.cmdOK.Enabled());
    EXPECT_EQ(dialog.txtOutput.Text(), host.folder.pathOf("out") + "/");
    EXPECT_FALSE(dialog.lblWorking.Visible());
    EXPECT_FALSE(dialog.imgIcon.Visible());
    // Above the host's window, its centre at a third of the screen's width (placed while
    // loading, before the window had a frame).
    EXPECT_TRUE(dialog.topLevelWindow()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_NEAR(dialog.Left(), forms::Screen().Width() / 3 - 5655 / 2.0, 15);
    EXPECT_NEAR(dialog.Top(), forms::Screen().Height() / 2 - 6105 / 2.0, 15);
    EXPECT_TRUE(host.reports.shown().empty());
}

TEST(frmWithinDistance, AMapWithoutFeatureLayersLeavesNothingToConfirm) {
    ExtensionHost host;
    host.start({gishost::model::openRasterLayer(testing_support::writeRaster(host.folder.pathOf("heights.tif")))});
    host.settings->put_CalcAllFeatures(true);
    host.settings->put_CalcDistanceASCII(true);
    frmWithinDistance dialog;
    open(dialog, host);
    EXPECT_EQ(dialog.lbxTheme.ListCount(), 0);
    EXPECT_TRUE(dialog.optAll.Value());
    EXPECT_EQ(dialog.txtDistance.Text(), "");
    EXPECT_FALSE(dialog.txtDistance.Enabled());
    EXPECT_FALSE(dialog.cmdOK.Enabled());
    EXPECT_TRUE(host.reports.shown().empty());
}

TEST(frmWithinDistance, ChoosingALayerListsItsFieldsByTypeAndNamesItsUnit) {
    using testing_support::FixtureField;
    ExtensionHost host;
    const std::vector<FixtureField> allKinds = {{"ID", OFTInteger}, {"Small", OFTInteger, 0, 0, OFSTInt16},
                                                {"Area", OFTReal},  {"Name", OFTString, 20},
                                                {"Day", OFTDate},   {"Ratio", OFTReal, 0, 0, OFSTFloat32}};
    const std::vector<std::optional<std::string>> values = {"1", "2", "3.5", "a", "2024-01-02", "0.5"};
    host.start({host.featureLayer("metres", layerWithFields("gpkg", 3035, allKinds, values)),
                host.featureLayer("degrees", layerWithFields("shp", 4326, {{"ID", OFTInteger}}, {"1"})),
                host.featureLayer("unreferenced", layerWithFields("shp", 0, {{"ID", OFTInteger}}, {"1"})),
                host.featureLayer("texts", layerWithFields("shp", 3035, {{"Code", OFTString, 10}}, {"x"}))});
    frmWithinDistance dialog;
    open(dialog, host);

    struct Case {
        std::int32_t row;
        std::vector<std::string> idFields;
        std::vector<std::string> attributeFields;
        std::string units;
    };
    const Case cases[] = {
        // Never the object-ID, the shape or a date; attributes only numeric.
        {0, {"ID", "Small", "Area", "Name", "Ratio"}, {"ID", "Small", "Area", "Ratio"}, "Meters"},
        {1, {"ID"}, {"ID"}, "Decimal Degrees"},
        {2, {"ID"}, {"ID"}, "Map Units"},
        {3, {"Code"}, {}, "Meters"},
    };
    for (const Case& c : cases) {
        dialog.lbxTheme.put_ListIndex(c.row);
        EXPECT_EQ(rows(dialog.lbxField), c.idFields) << c.row;
        EXPECT_EQ(rows(dialog.lbxAttribute), c.attributeFields) << c.row;
        EXPECT_EQ(dialog.lblMapUnits.Caption(), c.units) << c.row;
    }
    EXPECT_TRUE(host.reports.shown().empty());
}

TEST(frmWithinDistance, OkIsEnabledOnlyOnceEveryChoiceIsMade) {
    ExtensionHost host;
    host.start({host.featureLayer("patches", testing_support::squares()),
                host.featureLayer("texts", layerWithFields("shp", 3035, {{"Code", OFTString, 10}}, {"x"}))});
    frmWithinDistance dialog;
    open(dialog, host);  // the extension's first values: within a distance of 0, no output

    struct Step {
        const char* what;
        std::function<void()> act;
        bool okEnabled;
    };
    const Step steps[] = {
        {"a layer", [&] { dialog.lbxTheme.put_ListIndex(0); }, false},
        {"an ID field", [&] { dialog.lbxField.put_ListIndex(0); }, false},
        {"an attribute field", [&] { dialog.lbxAttribute.put_ListIndex(1); }, false},
        {"an output, with a radius of 0", [&] { click(dialog.chkTextFile); }, true},
        {"no radius", [&] { dialog.txtDistance.put_Text(""); }, false},
        {"all features", [&] { click(dialog.optAll); }, true},
        {"within a distance again", [&] { click(dialog.optWithinDistance); }, false},
        {"a radius typed with signs and letters", [&] { type(dialog.txtDistance, "-2a.5."); }, true},
        {"no output", [&] { click(dialog.chkTextFile); }, false},
        {"another output", [&] { click(dialog.chkdBASEDistance); }, true},
        {"another layer", [&] { dialog.lbxTheme.put_ListIndex(1); }, false},
        {"a field of a layer without numeric fields", [&] { dialog.lbxField.put_ListIndex(0); }, false},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(dialog.cmdOK.Enabled(), step.okEnabled) << step.what;
        if (std::string(step.what) == "all features") {
            EXPECT_EQ(dialog.txtDistance.Text(), "");
            for (forms::Control* control : std::initializer_list<forms::Control*>{
                     &dialog.line1, &dialog.line2, &dialog.lbl_txtDistance, &dialog.txtDistance, &dialog.lblMapUnits})
                EXPECT_FALSE(control->Enabled()) << control->Name();
        }
        if (std::string(step.what) == "within a distance again") {
            EXPECT_EQ(dialog.txtDistance.Text(), "");
            EXPECT_TRUE(dialog.txtDistance.Enabled());
        }
        if (std::string(step.what) == "a radius typed with signs and letters") {
            EXPECT_EQ(dialog.txtDistance.Text(), "2.5");
        }
        if (std::string(step.what) == "another layer") {
            EXPECT_EQ(dialog.lbxField.ListIndex(), -1);
            EXPECT_EQ(dialog.lbxAttribute.ListCount(), 0);
        }
    }
    EXPECT_TRUE(host.reports.shown().empty());
}

// Records the named widgets that were shown while it lives.
class ShownWidgets : public QObject {
public:
    ShownWidgets() { qApp->installEventFilter(this); }
    ~ShownWidgets() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Show && !object->objectName().isEmpty())
            names.insert(object->objectName().toStdString());
        return false;
    }
    std::set<std::string> names;
};

TEST(frmWithinDistance, OkStoresTheChoicesOfTheChosenRowAndShowsTheDialogBusy) {
    struct Case {
        const char* name;
        bool allFeatures;
        std::string radius;
        char separator;
        double distanceLimit;
    };
    const Case cases[] = {{"all features", true, "", '.', -9999.0},
                          {"a radius with a decimal comma", false, "250,5", ',', 250.5}};
    for (const Case& c : cases) {
        sysutils::ScopedDecimalSeparator separator(c.separator);
        ExtensionHost host;
        const auto first = host.featureLayer("patches_a", testing_support::squares(), "patches");
        const auto second = host.featureLayer("patches_b", testing_support::squares(), "patches");
        host.start({first, second});
        frmWithinDistance dialog;
        open(dialog, host);
        chooseLayerAndFields(dialog, 1);
        click(c.allFeatures ? dialog.optAll : dialog.optWithinDistance);
        if (!c.allFeatures) dialog.txtDistance.put_Text(c.radius);
        click(dialog.chkdBASE);
        click(dialog.chkTextFile);
        dialog.txtOutput.put_Text("/data/typed");
        ShownWidgets shown;
        click(dialog.cmdOK);

        EXPECT_TRUE(com::sameObject(host.settings->SelectedLayer(), second)) << c.name;
        EXPECT_EQ(host.settings->FieldName(), "ID") << c.name;
        EXPECT_EQ(host.settings->AttributeFieldName(), "Area") << c.name;
        EXPECT_EQ(host.settings->CalcAllFeatures(), c.allFeatures) << c.name;
        EXPECT_EQ(host.settings->DistanceLimit(), c.distanceLimit) << c.name;
        EXPECT_TRUE(host.settings->CalcNumberDBase()) << c.name;
        EXPECT_FALSE(host.settings->CalcDistanceDBase()) << c.name;
        EXPECT_TRUE(host.settings->CalcDistanceASCII()) << c.name;
        EXPECT_EQ(host.settings->DirectoryPath(), "/data/typed") << c.name;
        EXPECT_TRUE(host.settings->ShouldContinue()) << c.name;
        EXPECT_FALSE(dialog.Loaded()) << c.name;
        EXPECT_TRUE(shown.names.count("lblWorking") == 1 && shown.names.count("imgIcon") == 1) << c.name;
        EXPECT_TRUE(host.reports.shown().empty()) << c.name;
    }
}

TEST(frmWithinDistance, ARadiusThatIsNotANumberIsReportedAndTheDialogStaysOpen) {
    ExtensionHost host;
    host.start({host.featureLayer("patches", testing_support::squares())});
    frmWithinDistance dialog;
    open(dialog, host);
    chooseLayerAndFields(dialog);
    click(dialog.chkTextFile);
    dialog.txtDistance.put_Text("abc");  // pasted: no key passes the filter
    click(dialog.cmdOK);

    ASSERT_EQ(host.reports.shown().size(), 1u);
    EXPECT_NE(host.reports.shown()[0].find("\tcmdOK_Click frmwithindistance Line : 20\r\n"), std::string::npos)
        << host.reports.shown()[0];
    EXPECT_NE(host.reports.shown()[0].find("\t13\r\n"), std::string::npos) << host.reports.shown()[0];
    EXPECT_TRUE(dialog.Loaded());
    EXPECT_FALSE(host.settings->ShouldContinue());
    EXPECT_EQ(host.settings->FieldName(), "ID");  // written before the radius
}

TEST(frmWithinDistance, CancelClearsTheLayerAndTheCloseBoxWritesNothing) {
    for (const bool cancel : {true, false}) {
        ExtensionHost host;
        const auto layer = host.featureLayer("patches", testing_support::squares());
        host.start({layer});
        host.settings->putref_SelectedLayer(layer);
        host.settings->put_DistanceLimit(3.0);
        host.settings->put_DirectoryPath("/before/");
        frmWithinDistance dialog;
        open(dialog, host);
        chooseLayerAndFields(dialog);
        click(dialog.optAll);
        click(dialog.chkdBASEDistance);
        dialog.txtOutput.put_Text("/after/");
        if (cancel) {
            click(dialog.cmdCancel);
        } else {
            dialog.topLevelWindow()->close();
        }
        EXPECT_FALSE(dialog.Loaded()) << cancel;
        EXPECT_FALSE(host.settings->ShouldContinue()) << cancel;
        EXPECT_EQ(static_cast<bool>(host.settings->SelectedLayer()), !cancel) << cancel;
        EXPECT_FALSE(host.settings->CalcAllFeatures()) << cancel;
        EXPECT_EQ(host.settings->DistanceLimit(), 3.0) << cancel;
        EXPECT_FALSE(host.settings->CalcDistanceDBase()) << cancel;
        EXPECT_EQ(host.settings->DirectoryPath(), "/before/") << cancel;
        EXPECT_EQ(host.settings->FieldName(), "") << cancel;
        EXPECT_TRUE(host.reports.shown().empty()) << cancel;
    }
}

TEST(frmWithinDistance, EnterAndEscapePressNeitherButton) {
    ExtensionHost host;
    host.start({host.featureLayer("patches", testing_support::squares())});
    frmWithinDistance dialog;
    open(dialog, host);
    dialog.topLevelWindow()->activateWindow();
    chooseLayerAndFields(dialog);
    click(dialog.chkTextFile);
    ASSERT_TRUE(dialog.cmdOK.Enabled());
    for (forms::Control* focus : std::initializer_list<forms::Control*>{&dialog.txtDistance, &dialog.lbxTheme,
                                                                        &dialog.cmdOK, &dialog.cmdCancel}) {
        focus->SetFocus();
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(focus->widget(), key);
        QApplication::processEvents();
        EXPECT_TRUE(dialog.Loaded()) << focus->Name();
    }
    EXPECT_FALSE(host.settings->ShouldContinue());
    EXPECT_TRUE(host.reports.shown().empty());
}

TEST(frmWithinDistance, TheOutputFolderFallsBackToTheLastSaveFolderThenToTheMapDocumentsFolder) {
    struct Case {
        const char* name;
        std::string stored;        // relative to the test's folder; "" for none
        std::string lastSaveTo;    // likewise; "" for no registry value
        std::string expected;      // likewise
    };
    const Case cases[] = {
        {"the stored folder", "out", "layers", "out/"},
        {"the stored folder ending in a separator", "out/", "layers", "out/"},
        {"a vanished folder gives the last save folder", "gone", "layers", "layers/"},
        {"then the map document's folder", "gone", "also_gone", "maps/"},
        {"no stored folder, no registry value", "", "", "maps/"},
    };
    for (const Case& c : cases) {
        ExtensionHost host;
        host.start({host.featureLayer("patches", testing_support::squares())});
        if (!c.stored.empty()) host.settings->put_DirectoryPath(host.folder.pathOf(c.stored));
        if (!c.lastSaveTo.empty())
            winapi::registry::writeString(winapi::HKEY_CURRENT_USER, "Software\\ESRI\\ArcCatalog\\Settings",
                                          "LastSaveToLocation", host.folder.pathOf(c.lastSaveTo));
        frmWithinDistance dialog;
        open(dialog, host);
        EXPECT_EQ(dialog.txtOutput.Text(), host.folder.pathOf(c.expected)) << c.name;
        EXPECT_TRUE(host.reports.shown().empty()) << c.name;
    }
}

TEST(frmWithinDistance, TheFolderBrowserStartsInAFolderWithFilesAndTakesTheChosenFolder) {
    struct Case {
        const char* name;
        std::string typed;  // relative to the test's folder
        std::string start;  // likewise
        bool confirm;
        std::string result;  // likewise
    };
    const Case cases[] = {
        {"a folder with files", "layers/", "layers/", true, "out/"},
        {"a folder without a slash", "layers", "layers/", true, "out/"},
        {"an empty folder gives the temporary folder", "out/", "tmp/", true, "layers/"},
        {"a vanished folder gives the map document's folder", "gone/", "maps/", false, "gone/"},
    };
    for (const Case& c : cases) {
        ExtensionHost host;
        host.start({host.featureLayer("patches", testing_support::squares())});
        frmWithinDistance dialog;
        open(dialog, host);
        dialog.txtOutput.put_Text(host.folder.pathOf(c.typed));
        if (c.confirm) {
            host.browser.chooseNext({host.folder.pathOf(c.result.substr(0, c.result.size() - 1))});
        } else {
            host.browser.cancelNext();
        }
        click(dialog.cmdGetFile);

        EXPECT_EQ(host.browser.calls(),
                  (std::vector<std::string>{"AllowMultiSelect = False", "StartingLocation = " + host.folder.pathOf(c.start),
                                            "Title = Please select (don't open!) folder to contain your Output Tables:",
                                            "ObjectFilter = Folders", "DoModalOpen(a window)"}))
            << c.name;
        EXPECT_EQ(dialog.txtOutput.Text(), host.folder.pathOf(c.result)) << c.name;
        EXPECT_TRUE(dialog.topLevelWindow()->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) << c.name;
        EXPECT_TRUE(host.reports.shown().empty()) << c.name;
    }
}

TEST(frmWithinDistance, ControlsFollowTheWindowWhenItGrows) {
    ExtensionHost host;
    host.start({host.featureLayer("patches", testing_support::squares())});
    frmWithinDistance dialog;
    open(dialog, host);
    const double grownWidth = 3000;
    const double grownHeight = 1500;
    dialog.window()->resize(static_cast<int>((5655 + grownWidth) / 15), static_cast<int>((6105 + grownHeight) / 15));
    QApplication::processEvents();
    const double scale = (5655 + grownWidth) / 5655;
    const double pixel = 15;
    // The lists share the width and take the height; their titles stay centred over them.
    EXPECT_NEAR(dialog.lbxTheme.Width(), 2250 * scale, 2 * pixel);
    EXPECT_NEAR(dialog.lbxAttribute.Left(), 3990 * scale, 2 * pixel);
    EXPECT_NEAR(dialog.lbxField.Height(), 2010 + grownHeight, pixel);
    EXPECT_NEAR(dialog.lblSelectField.Left() + dialog.lblSelectField.Width() / 2, (2535 + 1215 / 2.0) * scale,
                2 * pixel);
    // Below the lists everything moves down; the frames and boxes stretch; the buttons
    // follow the right edge.
    EXPECT_NEAR(dialog.optAll.Top(), 2550 + grownHeight, pixel);
    EXPECT_NEAR(dialog.imgBackBottom.Width(), 5610 + grownWidth, pixel);
    EXPECT_NEAR(dialog.txtOutput.Width(), 4860 + grownWidth, pixel);
    EXPECT_NEAR(dialog.chkdBASE.Left(), 652, pixel);
    struct Corner {
        forms::Control& control;
        double left, top;
    };
    for (const Corner& c : {Corner{dialog.cmdOK, 2805, 5745}, Corner{dialog.cmdCancel, 1815, 5745},
                            Corner{dialog.cmdGetFile, 5100, 5250}, Corner{dialog.icon_CornerBars, 5430, 5880},
                            Corner{dialog.lblMapUnits, 3757, 3240}}) {
        EXPECT_NEAR(c.control.Left(), c.left + grownWidth, pixel) << c.control.Name();
        EXPECT_NEAR(c.control.Top(), c.top + grownHeight, pixel) << c.control.Name();
    }
    EXPECT_TRUE(host.reports.shown().empty());
}

}  // namespace
