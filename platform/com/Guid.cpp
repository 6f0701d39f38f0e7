#include "com/Guid.h"

#include <cstdio>

namespace com {

std::string toString(const GUID& value) {
    char buffer[39];
    std::snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", value.Data1,
                  value.Data2, value.Data3, value.Data4[0], value.Data4[1], value.Data4[2], value.Data4[3],
                  value.Data4[4], value.Data4[5], value.Data4[6], value.Data4[7]);
    return buffer;
}

}  // namespace com
