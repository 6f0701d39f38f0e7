#pragma once
// The parameters dialog of the within-distance analysis (module "frmwithindistance").
// The command makes a new dialog for every click, hands it the application
// (ArcVariables), lets it fill its lists (FillListbox) and output folder
// (InitializeWorkspace) from the extension object and shows it modally. OK writes the
// choices back into the extension object and sets ShouldContinue; Cancel clears the
// selected layer; the close box writes nothing. The window is sizable, its controls
// anchored, and it stays above the host's window.
#include <array>
#include <cstdint>
#include <memory>

#include "com/ComPtr.h"
#include "forms/CheckBox.h"
#include "forms/CommandButton.h"
#include "forms/Form.h"
#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/ListBox.h"
#include "forms/OptionButton.h"
#include "forms/TextBox.h"
#include "gis_extension/clsExtension.h"
#include "gis_toolkit/AnchorObjectList.h"
#include "gishost/Carto.h"
#include "gishost/Framework.h"

namespace gis_extension {

class frmWithinDistance : public forms::Form {
public:
    frmWithinDistance();
    ~frmWithinDistance() override;

    // The frames come first, so that the controls they frame lie above them.
    forms::Image imgBackTop;
    forms::Image imgBackBottom;
    forms::Label lblSelectTheme;
    forms::ListBox lbxTheme;
    forms::Label lblSelectField;
    forms::ListBox lbxField;
    forms::Label lblAttribute;
    forms::ListBox lbxAttribute;
    forms::OptionButton optAll;
    forms::OptionButton optWithinDistance;
    forms::Label line1;
    forms::Label line2;
    forms::Label lbl_txtDistance;
    forms::TextBox txtDistance;
    forms::Label lblMapUnits;
    forms::Label lblOutputOptions;
    forms::CheckBox chkdBASE;
    forms::CheckBox chkdBASEDistance;
    forms::CheckBox chkTextFile;
    forms::Label lbl3;
    forms::TextBox txtOutput;
    forms::CommandButton cmdGetFile;
    forms::CommandButton cmdCancel;
    forms::CommandButton cmdOK;
    forms::Image icon_CornerBars;
    // The busy display, hidden until OK.
    forms::Label lblWorking;
    forms::Image imgIcon;

    // Keeps the application, its document and focus map and the extension object, and
    // sets the controls from the extension's settings; ShouldContinue becomes False.
    void putref_ArcVariables(const com::ComPtr<gishost::IApplication>& application);
    // Lists the focus map's feature layers ("1] name", "2] name" ...), none selected.
    void FillListbox();
    // The output folder: the stored one, else the host's last save-to folder, else the
    // map document's folder, ending in "/".
    void InitializeWorkspace();

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void CheckEnable();
    void lbxTheme_Click();
    void lbxField_Click();
    void lbxAttribute_Click();
    void optAll_Click();
    void optWithinDistance_Click();
    void txtDistance_Change();
    void txtDistance_KeyPress(std::int16_t& keyAscii);
    void chkdBASE_Click();
    void chkdBASEDistance_Click();
    void chkTextFile_Click();
    void cmdGetFile_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    // Every control of the dialog.
    std::array<forms::Control*, 27> Controls();
    // Runs CheckEnable under the handler of an event that only re-applies the rule.
    void CheckEnableOn(const char* procedure);
    // The unit of the layer's coordinates, for lblMapUnits.
    static std::string MapUnitsText(const com::ComPtr<gishost::IFeatureClass>& featureClass);

    com::ComPtr<gishost::IApplication> application_;
    com::ComPtr<gishost::IMxDocument> document_;
    com::ComPtr<gishost::IMap> focusMap_;
    com::ComPtr<gishost::IExtension> extension_;
    com::ComPtr<_clsExtension> settings_;
    // Row i of lbxTheme is element i.
    com::ComPtr<gishost::IArray> layers_;
    std::unique_ptr<gis_toolkit::AnchorObjectList> anchors_;
};

}  // namespace gis_extension
