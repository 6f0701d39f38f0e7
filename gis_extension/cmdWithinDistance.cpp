#include "gis_extension/cmdWithinDistance.h"

#include <unistd.h>

#include "com/NumberedFiles.h"
#include "forms/Form.h"
#include "gis_extension/DefaultsFile.h"
#include "gis_extension/LibraryFolder.h"
#include "gis_extension/WithinDistance.h"
#include "gis_extension/frmwithindistance.h"
#include "gis_toolkit/aml_func_mod.h"
#include "gis_toolkit/frmReport_modal.h"

namespace gis_extension {
namespace {

using gis_toolkit::ErrorHandler;

constexpr CommandConstants constants{"cmdWithinDistance",      "Veltrano_WithinDistance", "ID Within Distance",
                                     "ID Within Distance",     "Calculate Distances Between Features...",
                                     BitmapWithinDistance};

constexpr int settingsFileNumber = 1;

// True when the file can be opened for writing. Unlike an opening for output, the test
// leaves an existing file's contents alone, and a file that it had to create goes again,
// so that a file that then cannot be written is not left behind empty. A failure is the
// answer, never an error.
bool IsFileWritable(const std::string& path) {
    const bool existed = gis_toolkit::aml_func_mod::ExistFileDir(path);
    try {
        com::files::Open(settingsFileNumber, path, com::files::OpenMode::Append);
        com::files::Close(settingsFileNumber);
    } catch (const com::Error&) {
        return false;  // a failed Open or Close leaves the number closed
    }
    if (!existed) ::unlink(path.c_str());
    return true;
}

// Shows the report of the analysis in a new report window, modally.
void ShowReport(const std::string& report) {
    gis_toolkit::frmReport_modal window;
    window.txtReport.put_TextRTF(report);
    window.put_Caption(" Analysis Report:");
    window.Show(forms::Modal);
}

}  // namespace

cmdWithinDistance::cmdWithinDistance() : ToolbarCommand(constants) {}

cmdWithinDistance::~cmdWithinDistance() {
    ErrorHandler handler("Class_Terminate", constants.module);
    handler.run([&] {
        ReleaseBitmap();
        application_.reset();
        document_.reset();
        extension_.reset();
        settings_.reset();
    });
}

void cmdWithinDistance::OnCreate(const com::ComPtr<com::IUnknown>& hook) {
    ErrorHandler handler("ICommand_OnCreate", constants.module);
    handler.run([&] {
        handler.line(10);
        application_ = hook.as<gishost::IApplication>();
        document_ = application_->Document();
        handler.line(20);
        extension_ = FindExtension(application_);
        settings_ = extension_.as<_clsExtension>();
    });
}

void cmdWithinDistance::OnClick() {
    ErrorHandler handler("ICommand_OnClick", constants.module);
    handler.run([&] {
        handler.line(10);
        settings_->put_ReportOfAnalysis("");
        const std::string settingsPath = DefaultsFile::SettingsPath(LibraryFolder());
        handler.line(20);
        if (gis_toolkit::aml_func_mod::FileExists(settingsPath)) DefaultsFile::ReadSettings(settingsPath, settings_);

        handler.line(30);
        {
            frmWithinDistance dialog;
            dialog.putref_ArcVariables(application_);
            dialog.FillListbox();
            dialog.InitializeWorkspace();
            dialog.Show(forms::Modal);
        }

        handler.line(40);
        if (settings_->ShouldContinue()) {
            com::files::Reset();
            handler.line(50);
            // A settings file that cannot be replaced whole stays as it was, and costs no message.
            if (IsFileWritable(settingsPath)) DefaultsFile::WriteSettings(settingsPath, settings_);
            handler.line(60);
            // Copies, so that nothing the analysis changes flows back into the extension.
            const com::ComPtr<gishost::IFeatureLayer> layer = settings_->SelectedLayer();
            const std::string fieldName = settings_->FieldName();
            const std::string attributeFieldName = settings_->AttributeFieldName();
            const bool calcAllFeatures = settings_->CalcAllFeatures();
            const double distanceLimit = settings_->DistanceLimit();
            const bool calcNumberDBase = settings_->CalcNumberDBase();
            const bool calcDistanceDBase = settings_->CalcDistanceDBase();
            const bool calcDistanceASCII = settings_->CalcDistanceASCII();
            std::string directoryPath = settings_->DirectoryPath();
            WithinDistance::CalcWithinDistance(layer, fieldName, attributeFieldName, calcAllFeatures, distanceLimit,
                                               calcNumberDBase, calcDistanceDBase, calcDistanceASCII, directoryPath,
                                               document_, application_);
            handler.line(70);
            const std::string report = settings_->ReportOfAnalysis();
            if (!report.empty()) ShowReport(report);
        }

        handler.line(80);
        settings_->putref_SelectedLayer(com::ComPtr<gishost::IFeatureLayer>());
        settings_->put_ReportOfAnalysis("");
    });
}

}  // namespace gis_extension
