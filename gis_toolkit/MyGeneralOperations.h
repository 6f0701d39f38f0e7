#pragma once
// General operations of the extension (module "MyGeneralOperations"): binary texts,
// the elapsed-time lines of the analysis report, opening documents, testing
// collections for a key, listing a map's layers by kind, and filtering the keys typed
// into a text box that holds a positive real number.
#include <cstdint>
#include <string>

#include "com/Collection.h"
#include "com/ComPtr.h"
#include "gishost/Carto.h"
#include "gishost/System.h"
#include "sysutils/DateTime.h"

namespace forms {
class TextBox;
}

namespace gis_toolkit::MyGeneralOperations {

// The binary digits of `value`, most significant first, padded in front with "0" to
// `minimumLength` (a longer text is not cut): 6 with 8 gives 00000110. A value of 0
// gives "0"; a negative value the digits of its 32-bit two's complement.
std::string ConvertLongBinary(std::int32_t value, std::int32_t minimumLength);

// Three rich-text lines for the analysis report, each ending in CR LF: when the
// analysis began, when it was complete (the long date, " at ", the long time), and the
// time elapsed ("Time Elapsed: 1 hour, 2 minutes, 5 seconds..."), at `fontSize` points.
std::string ReturnTimeElapsedRTF(sysutils::TDateTime start, sysutils::TDateTime end, std::int32_t fontSize);

// The elapsed-time text of ReturnTimeElapsedRTF for a number of whole seconds.
std::string ElapsedTimeText(std::int64_t seconds);

// Asks the shell to open the file, resolved against `folder`, with its associated
// program. The shell's answer is not examined.
void OpenDoc(const std::string& fileName, const std::string& folder);

// True when the collection holds an item under `key`.
template <class T>
bool CollectionKeyExists(com::Collection<T>& collection, const std::string& key) {
    return collection.find(key) != nullptr;
}

// A new host array of the map's layers and tables that the mask selects, in map order,
// group layers entered, standalone tables last. The mask's eight binary digits (of its
// lowest eight bits) select: 1 every valid feature layer, 4 the standalone tables, 8
// valid point layers, 16 valid polyline layers, 32 valid polygon layers, 64 valid
// multipoint layers; 2 and 128 nothing. Valid raster and surface layers are added
// whatever the mask. Reports its own errors and returns the array as it stood.
com::ComPtr<gishost::IArray> ReturnLayersByType(const com::ComPtr<gishost::IMap>& map, std::int32_t mask);

// Filters a key typed into `textBox`, which is to hold a positive real number: sets
// `keyAscii` to 0 (the key is dropped) for control keys other than backspace, blanks,
// signs, "/" and every character from ":" up; keeps backspace, digits and ","; keeps
// "." only when the text with a "." inserted at the caret is a number under the
// regional settings. Reports its own errors.
void CheckNumericRealPositive(std::int16_t& keyAscii, forms::TextBox& textBox);

}  // namespace gis_toolkit::MyGeneralOperations
