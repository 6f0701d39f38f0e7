#pragma once
// The toolbar definition through which the host learns about the extension's toolbar
// "Veltrano_IDToolBar" (caption "Veltrano"): two items, "ID Within Distance" and, after
// a separator, "Open Documentation", each named by the ProgID of its command class,
// from which the host creates the command. Holds no state. Every member reports its own
// errors under "IToolBarDef_<member>" (module "clsToolBar") and returns normally.
#include <cstdint>
#include <string>

#include "com/Object.h"
#include "gishost/Framework.h"

namespace gis_extension {

inline constexpr com::CLSID CLSID_clsToolBar = com::guid("{F25B4313-8895-43AE-A320-8262600ED714}");
inline constexpr const char* ProgID_clsToolBar = "Veltrano.clsToolBar";

// The class's default interface: no members.
struct _clsToolBar : com::IDispatch {
    static constexpr com::IID iid = com::guid("{6B842D07-C277-4B86-B1A0-E88C2585E949}");
    using Base = com::IDispatch;

protected:
    ~_clsToolBar() = default;
};

class clsToolBar final : public com::Object<_clsToolBar, gishost::IToolBarDef> {
public:
    // Always 2.
    std::int32_t ItemCount() override;
    // Position 0 names the within-distance command; position 1 the documentation command
    // and starts a new group. Other positions leave the item definition untouched.
    void GetItemInfo(std::int32_t position, const com::ComPtr<gishost::IItemDef>& itemDef) override;
    std::string Name() override;
    std::string Caption() override;
};

}  // namespace gis_extension
