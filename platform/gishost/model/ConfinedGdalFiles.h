#pragma once
// GDAL's virtual file layer, confined: the file system for plain paths opens regular
// files for reading only, and the file systems that reach beyond this machine's files
// refuse every path.
#include <string>
#include <vector>

namespace gishost::model::gdal {

// Wraps GDAL's file system for plain paths so that it refuses to open a pipe, a device
// or a socket (a symbolic link followed) before it can wait, and refuses every write:
// opening for writing or appending, making or removing a folder, deleting, renaming,
// syncing into it. The archive and slice file systems (/vsizip/, /vsigzip/, /vsitar/,
// /vsisubfile/ ...) open their container through it, so they are covered wherever they
// are nested. Every file system whose prefix is not in `kept` (standard input and output,
// the network ones) refuses every path. Called once.
void confineGdalFiles(const std::vector<std::string>& kept);

}  // namespace gishost::model::gdal
