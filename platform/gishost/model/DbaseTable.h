#pragma once
// dBASE tables in a folder: built in a temporary file beside their name, which they take
// with their first counted rows (at the first Flush, or when let go) and never over an
// existing file, so that a table under its name always counts every record it holds;
// rows inserted through a cursor reach the file at Flush (at once without buffering).
#include <cstddef>
#include <memory>
#include <string>

#include "com/ComPtr.h"
#include "gishost/Geodatabase.h"

namespace gishost::model {

// A table kept in a file of its own, which the host's windows read to show its rows
// (the temporary file until the table has its name).
struct ITableFile : com::IUnknown {
    static constexpr com::IID iid = com::guid("{2C7B5E90-4F1A-4D63-8E2B-7A9C0D1E3F54}");
    using Base = com::IUnknown;

    virtual std::string FilePath() = 0;

protected:
    ~ITableFile() = default;
};

// The rows a buffering insert cursor keeps before it writes them ahead of Flush: at most
// this many bytes and one record more, in one block taken at its first row. A megabyte
// written at once costs the file system no more per byte than larger writes, and it is
// memory that an analysis holds to its end.
inline constexpr std::size_t bufferedRowsBytes = std::size_t{1} << 20;

// Creates the table `folder`/`name`.dbf from the fields given and returns it; refused
// when a file or a table still on its way holds that name.
com::ComPtr<ITable> createDbaseTable(const std::string& folder, const std::string& name,
                                     const com::ComPtr<IFields>& fields);

}  // namespace gishost::model
