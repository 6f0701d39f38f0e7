#include "gishost/model/FileRefusals.h"

#include <optional>
#include <string>

#include "gishost/model/Gdal.h"
#include "sysutils/NonRegularFiles.h"

namespace gishost::model::gdal {

bool refusedAsNoRegularFile(const char* path) {
    if (path == nullptr) return false;
    const std::optional<std::string> kind = sysutils::nonRegularFileKind(path);
    if (kind) recordRefusal(path, *kind);
    return kind.has_value();
}

bool refuseWrite(const char* act, const char* path) {
    recordWriteRefusal(act, path != nullptr ? path : "a file");
    return false;
}

}  // namespace gishost::model::gdal
