#include "gis_extension/clsToolBar.h"

#include "gis_extension/clsManual.h"
#include "gis_extension/cmdWithinDistance.h"
#include "gis_toolkit/ErrorHandler.h"

namespace gis_extension {
namespace {

using gis_toolkit::ErrorHandler;

const std::string module = "clsToolBar";

}  // namespace

std::int32_t clsToolBar::ItemCount() {
    std::int32_t result = 0;
    ErrorHandler handler("IToolBarDef_ItemCount", module);
    handler.run([&] { result = 2; });
    return result;
}

void clsToolBar::GetItemInfo(std::int32_t position, const com::ComPtr<gishost::IItemDef>& itemDef) {
    ErrorHandler handler("IToolBarDef_GetItemInfo", module);
    handler.run([&] {
        switch (position) {
            case 0:
                itemDef->put_ID(ProgID_cmdWithinDistance);
                break;
            case 1:
                itemDef->put_ID(ProgID_clsManual);
                itemDef->put_Group(true);
                break;
            default:
                break;
        }
    });
}

std::string clsToolBar::Name() {
    std::string result;
    ErrorHandler handler("IToolBarDef_Name", module);
    handler.run([&] { result = "Veltrano_IDToolBar"; });
    return result;
}

std::string clsToolBar::Caption() {
    std::string result;
    ErrorHandler handler("IToolBarDef_Caption", module);
    handler.run([&] { result = "Veltrano"; });
    return result;
}

}  // namespace gis_extension
