#pragma once
// What GDAL may reach in the host's process. A layer names one path, but GDAL opens
// many more on its behalf: the sources of a virtual layer (and theirs), the archive
// behind a /vsizip/ or /vsigzip/ path, the file of a "GPKG:file:layer" name, a
// shapefile's companion files, a database's journal. Checking the one path given cannot
// see those, so GDAL itself is confined, once per process:
//
// - Drivers: only those the host reads data with stay registered (permittedDrivers()),
//   each of which does all its file access through GDAL's virtual file layer; every
//   other driver is deregistered and kept out of a later GDALAllRegister (GDAL_SKIP).
//   The SQLite-based drivers (GeoPackage, SQLite) open their databases and journals
//   with SQLite's own file layer, which is confined like GDAL's (below).
// - Files: GDAL's file system for plain paths is wrapped, so that every open of a path
//   that names a pipe, a device or a socket (a symbolic link followed) is refused before
//   it can wait; so is every file layer of SQLite's (the default and those a database
//   address names with "vfs="). The archive and slice file systems (/vsizip/, /vsigzip/,
//   /vsitar/, /vsisubfile/ ...) open their container through that same file system, so
//   they are covered wherever they are nested.
// - Database extensions: the SQLite-based drivers are kept from loading the spatial
//   extension, whose virtual tables (a shapefile, a text or a dBASE file seen as a table
//   of the database) read the file they name with the C library's own calls, beyond
//   both file layers. GDAL reads the geometry of a spatial database without it.
// - Everything else: the file systems that reach beyond this machine's files (standard
//   input and output, the network) refuse every path, and GDAL's own network requests
//   (such as a schema download) fail at once.
//
// A refusal is reported to the innermost gdal::ErrorScope of the thread (Gdal.h), which
// then holds it as its failure: "it reads /data/src.gpkg, which is a pipe".
#include <string>
#include <vector>

namespace gishost::model::gdal {

// The short names of the drivers that stay registered.
const std::vector<std::string>& permittedDrivers();

// The virtual file systems that stay as GDAL has them, under the wrapped plain files.
const std::vector<std::string>& permittedFileSystems();

// Registers GDAL's drivers and confines GDAL as above. Idempotent and thread-safe.
void confine();

}  // namespace gishost::model::gdal
