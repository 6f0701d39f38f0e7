#include "gis_extension/frmwithindistance.h"

#include <array>
#include <initializer_list>

#include <QFont>

#include "com/Creation.h"
#include "forms/Screen.h"
#include "gis_extension/DialogPictures.h"
#include "gis_toolkit/ErrorHandler.h"
#include "gis_toolkit/MyGeneralOperations.h"
#include "gis_toolkit/ToolkitPictures.h"
#include "gis_toolkit/aml_func_mod.h"
#include "gishost/Geometry.h"
#include "sysutils/FloatConversion.h"
#include "winapi/Windows.h"

namespace gis_extension {
namespace {

using gis_toolkit::ErrorHandler;
using gis_toolkit::Report;
namespace aml_func_mod = gis_toolkit::aml_func_mod;

constexpr const char* module = "frmwithindistance";

void keepOnTop(forms::Form& form, bool onTop) {
    winapi::SetWindowPos(form.hWnd(), onTop ? winapi::HWND_TOPMOST : winapi::HWND_NOTOPMOST, 0, 0, 0, 0,
                         winapi::SWP_NOMOVE | winapi::SWP_NOSIZE);
}

std::string withTrailingSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

bool checked(forms::CheckBox& box) { return box.Value() == forms::CheckBoxChecked; }

}  // namespace

frmWithinDistance::frmWithinDistance()
    : forms::Form({.caption = " ID Within Distance Parameters:",
                   .clientWidth = 5655,
                   .clientHeight = 6105,
                   .icon = pictures::withinDistanceIcon()}),
      imgBackTop(*this, "imgBackTop", {.left = 45, .top = 2370, .width = 5610, .height = 1320, .border = true}),
      imgBackBottom(*this, "imgBackBottom", {.left = 45, .top = 3705, .width = 5610, .height = 1980, .border = true}),
      lblSelectTheme(*this, "lblSelectTheme",
                     {.left = 480, .top = 90, .width = 1065, .height = 195, .caption = "- Select Layer -", .tabIndex = 0}),
      lbxTheme(*this, "lbxTheme", {.left = 45, .top = 315, .width = 2250, .height = 2010, .tabIndex = 2}),
      lblSelectField(*this, "lblSelectField", {.left = 2535, .top = 90, .width = 1215, .height = 195,
                                               .caption = "- Select ID Field -", .tabIndex = 1}),
      lbxField(*this, "lbxField", {.left = 2310, .top = 315, .width = 1665, .height = 2010, .tabIndex = 3}),
      lblAttribute(*this, "lblAttribute", {.left = 4020, .top = 90, .width = 1635, .height = 195,
                                           .caption = "- Select Attribute Field -", .tabIndex = 22}),
      lbxAttribute(*this, "lbxAttribute", {.left = 3990, .top = 315, .width = 1665, .height = 2010, .tabIndex = 21}),
      optAll(*this, "optAll", {.left = 682, .top = 2550, .width = 3870, .height = 330,
                               .caption = "Calculate distances between all features", .tabIndex = 6}),
      optWithinDistance(*this, "optWithinDistance",
                        {.left = 682, .top = 2880, .width = 4320, .height = 330,
                         .caption = "Restrict analysis to features within specified distance", .tabIndex = 7}),
      line1(*this, "line1", {.left = 757, .top = 3090, .width = 30, .height = 195, .caption = "|", .tabIndex = 4}),
      line2(*this, "line2", {.left = 757, .top = 3165, .width = 390, .height = 195, .caption = "|____", .tabIndex = 5}),
      lbl_txtDistance(*this, "lbl_txtDistance", {.left = 1012, .top = 3240, .width = 1635, .height = 195,
                                                 .caption = " Include features within", .tabIndex = 8}),
      txtDistance(*this, "txtDistance", {.left = 2707, .top = 3210, .width = 990, .height = 300, .tabIndex = 9}),
      lblMapUnits(*this, "lblMapUnits", {.left = 3757, .top = 3240, .width = 1215, .height = 195,
                                         .caption = "Decimal Degrees", .tabIndex = 10}),
      lblOutputOptions(*this, "lblOutputOptions", {.left = 1672, .top = 3795, .width = 2190, .height = 195,
                                                   .caption = "--  --  --  Output Options:  --  --  --",
                                                   .tabIndex = 16}),
      chkdBASE(*this, "chkdBASE", {.left = 652, .top = 3990, .width = 4275, .height = 330,
                                   .caption = "dBASE Table of Number of Features within Distance", .tabIndex = 11}),
      chkdBASEDistance(*this, "chkdBASEDistance", {.left = 652, .top = 4290, .width = 4275, .height = 330,
                                                   .caption = "dBASE Table of Distances to Each Feature",
                                                   .tabIndex = 12}),
      chkTextFile(*this, "chkTextFile", {.left = 652, .top = 4590, .width = 4275, .height = 330,
                                         .caption = "ASCII Text File of Distances to Each Feature", .tabIndex = 13}),
      lbl3(*this, "lbl3", {.left = 180, .top = 5010, .width = 2190, .height = 195,
                           .caption = "Specify folder for output tables:", .tabIndex = 19}),
      txtOutput(*this, "txtOutput", {.left = 150, .top = 5265, .width = 4860, .height = 330, .tabIndex = 17}),
      cmdGetFile(*this, "cmdGetFile", {.left = 5100, .top = 5250, .width = 465, .height = 360, .tabIndex = 18,
                                       .toolTipText = "Browse for Output Filename...",
                                       .picture = pictures::folderButton()}),
      cmdCancel(*this, "cmdCancel",
                {.left = 1815, .top = 5745, .width = 975, .height = 360, .caption = "Cancel", .tabIndex = 14}),
      cmdOK(*this, "cmdOK", {.left = 2805, .top = 5745, .width = 975, .height = 360, .caption = "OK", .tabIndex = 15}),
      icon_CornerBars(*this, "icon_CornerBars", {.left = 5430, .top = 5880, .width = 225, .height = 225,
                                                 .picture = gis_toolkit::pictures::cornerBars()}),
      lblWorking(*this, "lblWorking", {.left = 2737, .top = 2910, .width = 1245, .height = 285,
                                       .caption = "Working...", .tabIndex = 20,
                                       .font = {.name = "Tahoma", .size = 12, .bold = true}}),
      imgIcon(*this, "imgIcon", {.left = 1612, .top = 2827, .width = 960, .height = 450, .picture = pictures::busy()}) {
    lbxTheme.Click = [this] { lbxTheme_Click(); };
    lbxField.Click = [this] { lbxField_Click(); };
    lbxAttribute.Click = [this] { lbxAttribute_Click(); };
    optAll.Click = [this] { optAll_Click(); };
    optWithinDistance.Click = [this] { optWithinDistance_Click(); };
    txtDistance.Change = [this] { txtDistance_Change(); };
    txtDistance.KeyPress = [this](std::int16_t& keyAscii) { txtDistance_KeyPress(keyAscii); };
    chkdBASE.Click = [this] { chkdBASE_Click(); };
    chkdBASEDistance.Click = [this] { chkdBASEDistance_Click(); };
    chkTextFile.Click = [this] { chkTextFile_Click(); };
    cmdGetFile.Click = [this] { cmdGetFile_Click(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
}

frmWithinDistance::~frmWithinDistance() = default;

std::array<forms::Control*, 27> frmWithinDistance::Controls() {
    return {&imgBackTop,      &imgBackBottom, &lblSelectTheme, &lbxTheme,         &lblSelectField,   &lbxField,
            &lblAttribute,    &lbxAttribute,  &optAll,         &optWithinDistance, &line1,           &line2,
            &lbl_txtDistance, &txtDistance,   &lblMapUnits,    &lblOutputOptions, &chkdBASE,         &chkdBASEDistance,
            &chkTextFile,     &lbl3,          &txtOutput,      &cmdGetFile,       &cmdCancel,        &cmdOK,
            &icon_CornerBars, &lblWorking,    &imgIcon};
}

void frmWithinDistance::Form_Load() {
    ErrorHandler handler("Form_Load", module);
    handler.run([&] {
        handler.line(10);
        keepOnTop(*this, true);
        handler.line(20);
        put_Left(forms::Screen().Width() / 3 - Width() / 2);
        put_Top(forms::Screen().Height() / 2 - Height() / 2);
        handler.line(30);
        anchors_ = std::make_unique<gis_toolkit::AnchorObjectList>();
        const struct {
            forms::Control& control;
            std::int32_t horizontal;
            std::int32_t vertical;
        } anchored[] = {
            {lblSelectTheme, 4, 2},   {lbxTheme, 0, 3},        {lblSelectField, 4, 2},   {lbxField, 0, 3},
            {lblAttribute, 4, 2},     {lbxAttribute, 0, 3},    {imgBackTop, 3, 5},       {optAll, 3, 5},
            {optWithinDistance, 3, 5}, {line1, 2, 5},          {line2, 2, 5},            {lbl_txtDistance, 2, 5},
            {txtDistance, 3, 5},      {lblMapUnits, 5, 5},     {imgBackBottom, 3, 5},    {lblOutputOptions, 2, 5},
            {chkdBASE, 2, 5},         {chkdBASEDistance, 2, 5}, {chkTextFile, 2, 5},     {lbl3, 2, 5},
            {txtOutput, 3, 5},        {cmdGetFile, 5, 5},      {cmdCancel, 5, 5},        {cmdOK, 5, 5},
            {icon_CornerBars, 5, 5},
        };
        for (const auto& entry : anchored) anchors_->Item(entry.control).SetAnchors(entry.horizontal, entry.vertical);
        anchors_->putref_Form(this);
        // The captions were measured for a narrower font than this system's: a condensed
        // form of the run-time's font lets them fit the widths the dialog gives them.
        QFont font = window()->font();
        font.setStretch(QFont::Condensed);
        window()->setFont(font);
        // Named like their controls, so that a test finds them as a user sees them.
        window()->setObjectName("frmWithinDistance");
        for (forms::Control* control : Controls())
            control->widget()->setObjectName(QString::fromStdString(control->Name()));
        handler.line(40);
        lblWorking.put_Visible(false);
        imgIcon.put_Visible(false);
        handler.line(50);
        CheckEnable();
    });
}

void frmWithinDistance::putref_ArcVariables(const com::ComPtr<gishost::IApplication>& application) {
    ErrorHandler handler("ArcVariables", module);
    handler.run([&] {
        handler.line(10);
        application_ = application;
        document_ = application_->Document();
        focusMap_ = document_->FocusMap();
        handler.line(20);
        extension_ = FindExtension(application_);
        settings_ = extension_.as<_clsExtension>();
        handler.line(30);
        settings_->put_ShouldContinue(false);
        handler.line(40);
        const bool allFeatures = settings_->CalcAllFeatures();
        if (allFeatures) {
            optAll.put_Value(true);
        } else {
            optWithinDistance.put_Value(true);
        }
        handler.line(50);
        txtDistance.put_Text(allFeatures ? std::string() : sysutils::FloatToStr(settings_->DistanceLimit()));
        handler.line(60);
        chkdBASE.put_Value(settings_->CalcNumberDBase() ? forms::CheckBoxChecked : forms::CheckBoxUnchecked);
        chkdBASEDistance.put_Value(settings_->CalcDistanceDBase() ? forms::CheckBoxChecked : forms::CheckBoxUnchecked);
        chkTextFile.put_Value(settings_->CalcDistanceASCII() ? forms::CheckBoxChecked : forms::CheckBoxUnchecked);
        handler.line(70);
        lblMapUnits.put_Caption("Map Units");
    });
}

void frmWithinDistance::FillListbox() {
    ErrorHandler handler("FillListbox", module);
    handler.run([&] {
        handler.line(10);
        layers_ = gis_toolkit::MyGeneralOperations::ReturnLayersByType(focusMap_, 1);
        // The array also holds raster and surface layers; only feature layers can be
        // analysed, so the others are kept out of the array and the list alike.
        for (std::int32_t k = layers_->Count() - 1; k >= 0; --k)
            if (!layers_->Element(k).tryAs<gishost::IFeatureLayer>()) layers_->Remove(k);
        handler.line(20);
        lbxTheme.Clear();
        for (std::int32_t k = 0; k < layers_->Count(); ++k)
            lbxTheme.AddItem(std::to_string(k + 1) + "] " + layers_->Element(k).as<gishost::IFeatureLayer>()->Name());
        handler.line(30);
        lbxField.Clear();
        lbxTheme.put_ListIndex(-1);
        handler.line(40);
        CheckEnable();
    });
}

void frmWithinDistance::InitializeWorkspace() {
    ErrorHandler handler("InitializeWorkspace", module);
    handler.run([&] {
        handler.line(10);
        std::string folder = settings_->DirectoryPath();
        handler.line(20);
        if (!aml_func_mod::ExistFileDir(folder)) folder = aml_func_mod::ReturnArcGISGeneralDir(3);
        handler.line(30);
        if (!aml_func_mod::ExistFileDir(folder))
            folder = aml_func_mod::ReturnDir(aml_func_mod::GetFullFileString(aml_func_mod::GetMxDocPath(application_)));
        handler.line(40);
        txtOutput.put_Text(withTrailingSeparator(folder));
    });
}

std::string frmWithinDistance::MapUnitsText(const com::ComPtr<gishost::IFeatureClass>& featureClass) {
    const com::ComPtr<gishost::ISpatialReference> reference =
        featureClass.as<gishost::IGeoDataset>()->SpatialReference();
    if (reference.tryAs<gishost::IGeographicCoordinateSystem>()) return "Decimal Degrees";
    if (const auto projected = reference.tryAs<gishost::IProjectedCoordinateSystem>()) {
        std::string unit = projected->CoordinateUnit()->Name();
        if (unit.empty() || unit.back() != 's') unit += "s";
        return unit;
    }
    return "Map Units";
}

void frmWithinDistance::lbxTheme_Click() {
    ErrorHandler handler("lbxTheme_Click", module);
    handler.run([&] {
        handler.line(10);
        lbxField.Clear();
        lbxAttribute.Clear();
        const std::int32_t row = lbxTheme.ListIndex();
        if (row != -1) {
            handler.line(20);
            const com::ComPtr<gishost::IFeatureClass> featureClass =
                layers_->Element(row).as<gishost::IFeatureLayer>()->FeatureClass();
            const com::ComPtr<gishost::IFields> fields = featureClass->Fields();
            for (std::int32_t k = 0; k < fields->FieldCount(); ++k) {
                const com::ComPtr<gishost::IField> field = fields->Field(k);
                const std::int32_t type = field->Type();
                if (type == gishost::fieldType::Date || type == gishost::fieldType::OID ||
                    type == gishost::fieldType::Geometry)
                    continue;
                lbxField.AddItem(field->Name());
                if (type == gishost::fieldType::SmallInteger || type == gishost::fieldType::Integer ||
                    type == gishost::fieldType::Single || type == gishost::fieldType::Double)
                    lbxAttribute.AddItem(field->Name());
            }
            handler.line(30);
            lblMapUnits.put_Caption(MapUnitsText(featureClass));
        }
        handler.line(40);
        CheckEnable();
    });
}

void frmWithinDistance::CheckEnable() {
    ErrorHandler handler("CheckEnable", module, Report::PassUp);
    handler.run([&] {
        handler.line(10);
        const bool allFeatures = optAll.Value();
        for (forms::Control* control : std::initializer_list<forms::Control*>{&line1, &line2, &lbl_txtDistance,
                                                                              &txtDistance, &lblMapUnits})
            control->put_Enabled(!allFeatures);
        if (allFeatures) txtDistance.put_Text("");
        handler.line(20);
        const bool anyOutput = checked(chkdBASE) || checked(chkTextFile) || checked(chkdBASEDistance);
        const bool distanceGiven = allFeatures || (optWithinDistance.Value() && !txtDistance.Text().empty());
        cmdOK.put_Enabled(lbxTheme.ListIndex() != -1 && lbxField.ListIndex() != -1 &&
                          lbxAttribute.ListIndex() != -1 && anyOutput && distanceGiven);
    });
}

void frmWithinDistance::CheckEnableOn(const char* procedure) {
    ErrorHandler handler(procedure, module);
    handler.run([&] { CheckEnable(); });
}

void frmWithinDistance::lbxField_Click() { CheckEnableOn("lbxField_Click"); }
void frmWithinDistance::lbxAttribute_Click() { CheckEnableOn("lbxAttribute_Click"); }
void frmWithinDistance::optAll_Click() { CheckEnableOn("optAll_Click"); }
void frmWithinDistance::optWithinDistance_Click() { CheckEnableOn("optWithinDistance_Click"); }
void frmWithinDistance::txtDistance_Change() { CheckEnableOn("txtDistance_Change"); }
void frmWithinDistance::chkdBASE_Click() { CheckEnableOn("chkdBASE_Click"); }
void frmWithinDistance::chkdBASEDistance_Click() { CheckEnableOn("chkdBASEDistance_Click"); }
void frmWithinDistance::chkTextFile_Click() { CheckEnableOn("chkTextFile_Click"); }

void frmWithinDistance::txtDistance_KeyPress(std::int16_t& keyAscii) {
    ErrorHandler handler("txtDistance_KeyPress", module);
    handler.run([&] { gis_toolkit::MyGeneralOperations::CheckNumericRealPositive(keyAscii, txtDistance); });
}

void frmWithinDistance::cmdGetFile_Click() {
    ErrorHandler handler("cmdGetFile_Click", module);
    handler.run([&] {
        handler.line(10);
        keepOnTop(*this, false);
        handler.line(20);
        std::string start = withTrailingSeparator(txtOutput.Text());
        if (!aml_func_mod::ExistFileDir(start))
            start = aml_func_mod::ReturnDir(aml_func_mod::GetFullFileString(aml_func_mod::GetMxDocPath(application_)));
        // A folder without an ordinary file, or one that does not exist, is no place to start.
        if (!aml_func_mod::FileExists(withTrailingSeparator(start) + "*"))
            start = aml_func_mod::GetFullFileString(aml_func_mod::TempPathLocation());
        handler.line(30);
        const auto browser = com::createInstanceAs<gishost::ICatalogBrowser>(gishost::CLSID_CatalogBrowser);
        const auto filter = com::createInstanceAs<gishost::ICatalogObjectFilter>(gishost::CLSID_FolderFilter);
        browser->put_AllowMultiSelect(false);
        browser->put_StartingLocation(start);
        browser->put_Title("Please select (don't open!) folder to contain your Output Tables:");
        browser->putref_ObjectFilter(filter);
        handler.line(40);
        com::ComPtr<gishost::IEnumCatalogObject> selection;
        if (browser->DoModalOpen(hWnd(), selection)) {
            handler.line(50);
            selection->Reset();
            txtOutput.put_Text(withTrailingSeparator(selection->Next()->FullName()));
        }
        handler.line(60);
        keepOnTop(*this, true);
    });
}

void frmWithinDistance::cmdOK_Click() {
    ErrorHandler handler("cmdOK_Click", module);
    handler.run([&] {
        handler.line(10);
        const std::int32_t row = lbxTheme.ListIndex();
        settings_->putref_SelectedLayer(row != -1 ? layers_->Element(row).as<gishost::IFeatureLayer>()
                                                  : com::ComPtr<gishost::IFeatureLayer>());
        settings_->put_FieldName(lbxField.Text());
        settings_->put_AttributeFieldName(lbxAttribute.Text());
        const bool allFeatures = optAll.Value();
        settings_->put_CalcAllFeatures(allFeatures);
        handler.line(20);
        // Pasted text may not be a number: the conversion then fails and the dialog stays open.
        settings_->put_DistanceLimit(allFeatures ? -9999.0 : sysutils::StrToFloat(txtDistance.Text()));
        handler.line(30);
        settings_->put_CalcNumberDBase(checked(chkdBASE));
        settings_->put_CalcDistanceDBase(checked(chkdBASEDistance));
        settings_->put_CalcDistanceASCII(checked(chkTextFile));
        settings_->put_DirectoryPath(txtOutput.Text());
        settings_->put_ShouldContinue(true);

        handler.line(40);
        for (forms::Control* control : Controls()) control->put_Enabled(false);
        for (forms::Control* control : std::initializer_list<forms::Control*>{
                 &optAll, &optWithinDistance, &line2, &line1, &txtDistance, &lblMapUnits, &lbl_txtDistance})
            control->put_Visible(false);
        for (forms::Control* control : std::initializer_list<forms::Control*>{&lblWorking, &imgIcon}) {
            control->put_Visible(true);
            control->put_Enabled(true);
        }
        handler.line(50);
        Refresh();
        Unload();
    });
}

void frmWithinDistance::cmdCancel_Click() {
    ErrorHandler handler("cmdCancel_Click", module);
    handler.run([&] {
        settings_->putref_SelectedLayer(com::ComPtr<gishost::IFeatureLayer>());
        settings_->put_ShouldContinue(false);
        Unload();
    });
}

void frmWithinDistance::Form_Unload() {
    ErrorHandler handler("Form_Unload", module);
    handler.run([&] {
        application_.reset();
        document_.reset();
        focusMap_.reset();
        extension_.reset();
        settings_.reset();
        layers_.reset();
    });
}

}  // namespace gis_extension
