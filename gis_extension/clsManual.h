#pragma once
// The command behind the toolbar button "Open Documentation": a click opens the
// extension's manual "Veltrano_ID.pdf" in the library's folder with the program the
// system associates with PDF files, or, when the manual is not there, says in a message
// which folder it belongs in. Errors are reported under "ICommand_<member>" (module
// "clsManual").
#include "com/ComPtr.h"
#include "gis_extension/ToolbarCommand.h"
#include "gishost/Framework.h"

namespace gis_extension {

inline constexpr com::CLSID CLSID_clsManual = com::guid("{DE890070-76AD-4C9F-BC55-BEFF602CA0A8}");
inline constexpr const char* ProgID_clsManual = "Veltrano.clsManual";

// The class's default interface: no members.
struct _clsManual : com::IDispatch {
    static constexpr com::IID iid = com::guid("{F20263F6-F781-4794-BF1C-015ED8657501}");
    using Base = com::IDispatch;

protected:
    ~_clsManual() = default;
};

class clsManual final : public ToolbarCommand<_clsManual> {
public:
    clsManual();
    ~clsManual() override;

    // Keeps the application and its document (the click needs neither).
    void OnCreate(const com::ComPtr<com::IUnknown>& hook) override;
    void OnClick() override;

private:
    com::ComPtr<gishost::IApplication> application_;
    com::ComPtr<gishost::IMxDocument> document_;
};

}  // namespace gis_extension
