#include "gishost/app/RegistryDamage.h"

#include "winapi/Registry.h"

namespace gishost::app {

std::string damagedRegistryText() {
    std::string text;
    for (const winapi::DamagedHive& damaged : winapi::registry::damagedHives()) {
        if (!text.empty()) text += '\n';
        text += "The registry file " + damaged.file;
        text +=
            damaged.damage.line == 0 ? " cannot be read" : " is damaged at line " + std::to_string(damaged.damage.line);
        text += " (" + damaged.damage.why + ").";
    }
    return text;
}

}  // namespace gishost::app
