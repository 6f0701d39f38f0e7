#pragma once
// Why the host's object model does not open a data source, as the tests of its confinement
// read it.
#include <string>

#include "com/Error.h"
#include "gishost/model/FeatureTable.h"

namespace testing_support {

// The reason the model gives for not opening `source` (its first layer), without the
// "The data source ... cannot be read: " before it; "opened" when it opens.
inline std::string refusalOf(const std::string& source) {
    try {
        gishost::model::FeatureTable::open(source, "");
        return "opened";
    } catch (const com::Error& error) {
        const std::string start = "The data source " + source + " cannot be read: ";
        return error.Description.rfind(start, 0) == 0 ? error.Description.substr(start.size()) : error.Description;
    }
}

}  // namespace testing_support
