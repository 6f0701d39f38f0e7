#pragma once
// The settings file "defaults.txt" in the library's folder: the settings of the last
// confirmed within-distance analysis, one line each, a key of a digit and a colon
// followed at once by the value:
//   1:  CalcAllFeatures     T or F
//   2:  DistanceLimit       the number with the regional decimal separator (-9999 for all pairs)
//   3:  CalcNumberDBase     T or F
//   4:  CalcDistanceDBase   T or F
//   5:  CalcDistanceASCII   T or F
//   6:  DirectoryPath       the folder text exactly as stored, possibly empty
// Written with CR LF through numbered file 1. Read leniently, so that files edited by
// hand work: a line ends at CR, CR LF or LF; lines with other keys, or shorter than a
// key, are skipped; a repeated key takes its last line; a missing key leaves its
// setting as it was; a flag is True exactly when the line's last character is "T".
#include <string>
#include <vector>

#include "com/ComPtr.h"
#include "gis_extension/clsExtension.h"

namespace gis_extension::DefaultsFile {

// The file's path in `folder`: "/defaults.txt" appended, or only "defaults.txt" when
// the folder already ends in "/".
std::string SettingsPath(const std::string& folder);

// Reads the file into the settings. Raises the run-time's errors: a file that cannot be
// read, or a "2:" value that is not a number under the regional settings ("Type
// mismatch"). File number 1 is closed again whatever happens.
void ReadSettings(const std::string& path, const com::ComPtr<_clsExtension>& settings);

// The six lines of the file for the settings, without their line ends.
std::vector<std::string> SettingsLines(const com::ComPtr<_clsExtension>& settings);

// Writes the six lines. The new contents go to a temporary file beside the settings
// file, which replaces it only once complete. False when the file cannot be replaced so
// (its folder takes no new file, a write fails, a folder stands in its place): the file
// then stays exactly as it was, never emptied. Raises only when a setting has no text
// form. File number 1 is closed again whatever happens.
bool WriteSettings(const std::string& path, const com::ComPtr<_clsExtension>& settings);

}  // namespace gis_extension::DefaultsFile
