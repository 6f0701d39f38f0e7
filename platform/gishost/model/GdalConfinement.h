#pragma once
// What GDAL may reach in the host's process, and that it reaches it for reading only.
// A layer names one path, but GDAL opens many more on its behalf: the sources of a
// virtual layer (and theirs), the archive behind a /vsizip/ or /vsigzip/ path, the file
// of a "GPKG:file:layer" name, a shapefile's companion files, a database's journal, the
// init file or grid that a layer's map projection names. Checking the one path given
// cannot see those, so GDAL itself is confined, once per process, together with every
// library its kept drivers bring that opens files by itself:
//
// - Drivers: only those the host reads data with stay registered (permittedDrivers());
//   every other driver is deregistered and kept out of a later GDALAllRegister
//   (GDAL_SKIP).
// - GDAL's file layer (ConfinedGdalFiles.h): the file system for plain paths opens
//   regular files for reading only; the archive and slice file systems open their
//   containers through it; those that reach beyond this machine (standard input and
//   output, the network) refuse every path. Every kept driver reads through it, except:
// - SQLite (ConfinedSqliteFiles.h), with which the GeoPackage and SQLite drivers and the
//   projection library open databases: every file layer of SQLite's reads regular files
//   only, writes nothing beside a logged database, and loads no extension.
// - The projection library (ConfinedProjFiles.h), which reads init files, grids and its
//   settings with its own calls: every context of it reads regular files only, through a
//   file interface of the host's, and nothing from the network.
// - Libraries kept out: the spatial extension of the SQLite-based drivers (its virtual
//   tables read the file they name with their own calls), the XML parser that fetches
//   what a GML document refers to (the GML driver reads with expat, which parses what
//   GDAL hands it), the XML library with which GDAL checks a virtual layer against its
//   schema (it reads the schema by itself), and Python for a virtual raster's pixel
//   functions.
// - GDAL's own network requests (such as a schema download) fail at once.
//
// A refusal is reported to the innermost gdal::ErrorScope of the thread (Gdal.h): a
// path that is no regular file as its failure ("it reads /data/src.gpkg, which is a
// pipe"), a write as the reason for whatever fails after it ("it would write
// /data/copy.gpkg").
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
