#pragma once
// The checks that every confined file layer (GDAL's, SQLite's, the projection library's)
// makes before it hands a path on, so that a refusal reads the same whichever library
// asked: a pipe, a device or a socket is not opened ("it reads /x/p.init, which is a
// pipe"), and nothing is written, renamed or deleted ("it would write /x/copy.gpkg").
// Each refusal goes to the thread's innermost gdal::ErrorScope (Gdal.h).

namespace gishost::model::gdal {

// True, and the refusal recorded, when `path` names a pipe, a device or a socket, whose
// open for reading would wait for a writer, perhaps for ever, or never end.
bool refusedAsNoRegularFile(const char* path);

// Records that a library was refused to `act` ("write", "delete", "rename", "make the
// folder") on `path`; always false, as the refused call's result.
bool refuseWrite(const char* act, const char* path);

}  // namespace gishost::model::gdal
