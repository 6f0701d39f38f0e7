#include "gis_extension/clsManual.h"

#include "gis_extension/LibraryFolder.h"
#include "gis_toolkit/Application.h"
#include "gis_toolkit/MyGeneralOperations.h"
#include "gis_toolkit/aml_func_mod.h"
#include "sysutils/MessageBoxes.h"

namespace gis_extension {
namespace {

using gis_toolkit::ErrorHandler;

constexpr CommandConstants constants{"clsManual",          "Veltrano_OpenManual",
                                     "Open Documentation", "Open Documentation",
                                     "Open ID Within Distances Documentation...", BitmapManual};

constexpr const char* manualName = "Veltrano_ID.pdf";

}  // namespace

clsManual::clsManual() : ToolbarCommand(constants) {}

clsManual::~clsManual() {
    ErrorHandler handler("Class_Terminate", constants.module);
    handler.run([&] {
        ReleaseBitmap();
        document_.reset();
        application_.reset();
    });
}

void clsManual::OnCreate(const com::ComPtr<com::IUnknown>& hook) {
    ErrorHandler handler("ICommand_OnCreate", constants.module);
    handler.run([&] {
        application_ = hook.as<gishost::IApplication>();
        document_ = application_->Document();
    });
}

void clsManual::OnClick() {
    ErrorHandler handler("ICommand_OnClick", constants.module);
    handler.run([&] {
        handler.line(10);
        const std::string folder = LibraryFolder();
        // The separator is added whatever the folder ends in: "//" reads as "/" here.
        if (gis_toolkit::aml_func_mod::FileExists(folder + "/" + manualName)) {
            handler.line(20);
            gis_toolkit::MyGeneralOperations::OpenDoc(manualName, folder);
            return;
        }
        handler.line(30);
        sysutils::messageBoxes().show({"Unable to find Veltrano Documentation file!\r\n\r\n"
                                       "File 'Veltrano_ID.pdf' should be located in the following folder:\r\n"
                                       "  --> " + folder,
                                       gis_toolkit::ApplicationTitle, sysutils::MessageButtons::Ok,
                                       sysutils::MessageIcon::None});
    });
}

}  // namespace gis_extension
