#pragma once
// The projection library, confined. It reads files by itself, with the C library's own
// calls, beyond GDAL's file layer: the init files and grids a coordinate system written
// as a projection string names ("+init=/x/p.init:1", "+nadgrids=", "+geoidgrids=", a grid
// list with "@"), its settings file, and, through SQLite, its database. Any layer can
// carry such a coordinate system (a GeoJSON "crs", a virtual layer's LayerSRS, a GML
// srsName).
//
// Every context of the library's is confined as it is made: GDAL makes one per thread
// that uses coordinate systems, and the GeoTIFF library one of its own, so the host
// stands in for the library's context maker, which builds the context and then confines
// it (the library copies no file interface into a new context from its default one).
// A confined context
// - opens files through a file interface of the host's that reads regular files only,
//   refusing a pipe, a device or a socket with its path and every write, folder made,
//   deletion or renaming;
// - reads nothing from the network, whatever the user's environment or the library's
//   settings file say: networking is off and every network request fails.
// The library's database goes through SQLite, whose file layers are confined too
// (ConfinedSqliteFiles.h), before the first context is made.

namespace gishost::model::gdal {

// Confines SQLite's file layers and the library's default context (the one used where no
// context is given), once per process. Every context made later is confined as it is made.
void confineProjFiles();

}  // namespace gishost::model::gdal
