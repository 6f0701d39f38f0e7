#pragma once
// Text, path and file utilities of the extension (module "aml_func_mod"). Texts are
// compared case-sensitively. Paths are split and joined on "/", this system's folder
// separator. Every procedure except ParseString and ExistFileDir reports its own
// errors (ErrorHandler.h) and then returns its result as it stood.
#include <optional>
#include <string>
#include <vector>

#include "com/ComPtr.h"
#include "com/Variant.h"
#include "gishost/Framework.h"
#include "gishost/Geodatabase.h"

namespace gis_toolkit::aml_func_mod {

// Splits `text` at the one-character `delimiter` into `parts`. Text between single
// quotes is not split and loses its quotes; runs of blanks count as one blank
// delimiter; parts are trimmed of blanks. A text that is empty once every delimiter is
// removed leaves `parts` untouched. A tokenizer of texts, not of paths: a quote in a
// folder name would stop its splitting.
void ParseString(const std::string& text, std::vector<std::string>& parts, const std::string& delimiter);

// Without a replacement: removes every occurrence of `search`. With one: overwrites,
// from each occurrence on, as many characters as the replacement has (the text keeps
// its length).
std::string Subst(const std::string& text, const std::string& search,
                  const std::optional<std::string>& replacement = std::nullopt);

// The text in front of the first occurrence of `search` (empty when there is none).
std::string Before(const std::string& text, const std::string& search);
// The text behind the first occurrence of `search` (empty when there is none).
std::string After(const std::string& text, const std::string& search);

// Both split the path at every "/" and take its parts as they are, blanks, quotes and
// any other character included; one trailing "/" is dropped. A path of nothing but "/"
// and blanks (the empty text too) is reported and gives "".
//
// The folder part of a path, ending in "/" (/data/out/nodes.txt gives /data/out/; a
// path that ends in "/" loses its last folder: /data/out/ gives /data/; a bare name
// comes back with "/" appended).
std::string ReturnDir(const std::string& path);
// The last part of a path (/data/it's here/nodes.txt gives nodes.txt, /data/out/ gives out).
std::string ReturnFilename(const std::string& path);

// True when the path (its last part may hold the wildcards * and ?) names at least one
// ordinary file that is not hidden.
bool FileExists(const std::string& path);
// True when the path names anything that exists (file or folder); never reports.
bool ExistFileDir(const std::string& path);
// The path itself when nothing has that name, else the first free "<stem>_<k><extension>"
// for k = 2, 3, ... The extension is the text from the last "." when that lies in the
// last five characters, else empty.
std::string MakeUniqueFilename(const std::string& path);

// The system's temporary folder, ending in "/".
std::string TempPathLocation();
// The long form of a path (on this system the path itself when it exists).
std::string GetFullFileString(const std::string& path);
// One of the host's folders from the registry: 0 last browsed, 1 last exported to,
// 2 last location, 3 last saved to (current user, "Software\ESRI\ArcCatalog\Settings"),
// 4 the host's installation (local machine, "Software\ESRI\ArcGIS"), without a trailing
// "/". A value that cannot be read gives the selector's failure text; another selector "".
std::string ReturnArcGISGeneralDir(std::int32_t selector);

// The value's text with its integer digits grouped by three with ",": 1234567 gives
// 1,234,567; the part behind a "." is kept as it is.
std::string InsertCommas(const com::Variant& value);

// ---- Host layers and tables (aml_func_mod_layers.cpp, aml_func_mod_dbase.cpp) ----------

// The name of a host geometry type code ("Point", "Polygon", "Circular Arc" ...), or
// "Unknown Geometry" for a code without one.
std::string ReturnShapeName(std::int32_t code);

// The full path of the open map document: the last item of the application's templates.
std::string GetMxDocPath(const com::ComPtr<gishost::IApplication>& application);

// Creates the empty dBASE table at `path` (the folder of the path, its file name less a
// trailing ".dbf") through the host's workspace factory of file tables, and returns it.
// Without a field set the table gets one Integer field "Unique_ID" of precision 8, and
// `fields` receives that set. A missing folder shows "Folder does not exist: " and the
// folder, and gives no table; a folder whose path is longer than the system allows is
// reported as the run-time's "Bad file name or number" saying that the path is too long
// and naming the table's path, and gives no table; a failure of the host is reported
// and gives no table.
com::ComPtr<gishost::ITable> CreatedBASETable(const std::string& path, com::ComPtr<gishost::IFields>& fields);

}  // namespace gis_toolkit::aml_func_mod
