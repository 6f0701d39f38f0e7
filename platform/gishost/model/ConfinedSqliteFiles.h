#pragma once
// SQLite's file layers, confined. The GeoPackage and SQLite drivers open their databases
// and the files beside them (journal, write-ahead log, shared memory) with SQLite's own
// file layers, not GDAL's; so does the projection library its database. Every file layer
// SQLite has (its default and the others a database address may name with "vfs=") is
// replaced, under its own name, by one that:
//
// - refuses to open a pipe, a device or a socket;
// - opens files for reading only: a database opened for writing (an ATTACH or a
//   "VACUUM INTO" that would make one, a statement that would change one, GDAL's own
//   reopening of a logged database to tidy its log) is refused, and so is deleting a
//   file. Only the temporary files that SQLite makes for a query, and deletes itself,
//   are written;
// - reads a database in write-ahead-log mode without writing beside it: the log is read
//   when it is there and taken as empty when it is not, and the index of the log that
//   SQLite would keep in a shared-memory file beside the database is kept in the
//   process's memory instead (as SQLite does for a database whose shared memory it may
//   not write);
// - loads no extension library.
//
// The in-memory layer ("memdb") reaches no file and stays as it is.
namespace gishost::model::gdal {

// Replaces SQLite's file layers as above, once per process; later calls do nothing. It
// must come before the projection library opens its database: the library's own file
// layer wraps the default one and takes its size to be the same from open to close.
void confineSqliteFiles();

}  // namespace gishost::model::gdal
