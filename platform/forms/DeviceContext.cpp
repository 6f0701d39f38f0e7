#include "forms/DeviceContext.h"

#include <optional>
#include <set>

#include "forms/Printer.h"

namespace forms {
namespace {

std::set<HDC>& informationContexts() {
    static std::set<HDC> contexts;
    return contexts;
}

}  // namespace

int GetDeviceCaps(HDC deviceContext, int index) {
    if (deviceContext == nullptr) return 0;
    switch (index) {
    case PHYSICALOFFSETX: return deviceContext->physicalOffsetX;
    case PHYSICALOFFSETY: return deviceContext->physicalOffsetY;
    default: return 0;
    }
}

HDC CreateDCA(winapi::LPCSTR driver, winapi::LPCSTR device, winapi::LPCSTR, const void*) {
    if (device == nullptr) return nullptr;
    const std::optional<DeviceContext> metrics =
        Printer().informationContext(driver != nullptr ? driver : "", device);
    if (!metrics) return nullptr;
    auto* context = new DeviceContext(*metrics);
    informationContexts().insert(context);
    return context;
}

winapi::BOOL DeleteDC(HDC deviceContext) {
    if (informationContexts().erase(deviceContext) == 0) return 0;
    delete deviceContext;
    return 1;
}

}  // namespace forms
