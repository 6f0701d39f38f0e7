#pragma once
// General operations of the extension (module "MyGeneralOperations"): binary texts,
// the elapsed-time lines of the analysis report, opening documents and testing
// collections for a key.
#include <cstdint>
#include <string>

#include "com/Collection.h"
#include "sysutils/DateTime.h"

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

}  // namespace gis_toolkit::MyGeneralOperations
