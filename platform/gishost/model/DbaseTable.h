#pragma once
// dBASE tables in a folder: created whole in a temporary file and linked into place
// only when complete, never over an existing file; rows inserted through a cursor reach
// the file at Flush (at once without buffering), appended with shapelib.
#include <memory>
#include <string>

#include "com/ComPtr.h"
#include "gishost/Geodatabase.h"

namespace gishost::model {

// Creates the table `folder`/`name`.dbf from the fields given and returns it.
com::ComPtr<ITable> createDbaseTable(const std::string& folder, const std::string& name,
                                     const com::ComPtr<IFields>& fields);

}  // namespace gishost::model
