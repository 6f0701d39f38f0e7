#pragma once
// The command behind the toolbar button "ID Within Distance". The host creates it, hands
// it the application once (OnCreate), and calls OnClick at every press. A click loads the
// settings file into the extension object, shows the parameters dialog, and for a
// confirmed dialog saves the settings file, runs the within-distance analysis and shows
// its report. Errors are reported under "ICommand_<member>" (module "cmdWithinDistance");
// an error inside a click ends that click.
#include <memory>

#include "com/ComPtr.h"
#include "gis_extension/ToolbarCommand.h"
#include "gis_extension/clsExtension.h"
#include "gishost/Framework.h"

namespace gis_extension {

inline constexpr com::CLSID CLSID_cmdWithinDistance = com::guid("{E66B3CE2-5474-477E-8846-511D81E27033}");
inline constexpr const char* ProgID_cmdWithinDistance = "Veltrano.cmdWithinDistance";

// The class's default interface: no members.
struct _cmdWithinDistance : com::IDispatch {
    static constexpr com::IID iid = com::guid("{7A5D3FB5-E917-4057-B2F5-1795B053DD4A}");
    using Base = com::IDispatch;

protected:
    ~_cmdWithinDistance() = default;
};

class cmdWithinDistance final : public ToolbarCommand<_cmdWithinDistance> {
public:
    cmdWithinDistance();
    ~cmdWithinDistance() override;

    // Keeps the application and its document, and finds the extension object through
    // the application; without a loaded extension every click fails.
    void OnCreate(const com::ComPtr<com::IUnknown>& hook) override;
    void OnClick() override;

private:
    com::ComPtr<gishost::IApplication> application_;
    com::ComPtr<gishost::IMxDocument> document_;
    com::ComPtr<gishost::IExtension> extension_;
    com::ComPtr<_clsExtension> settings_;
};

}  // namespace gis_extension
