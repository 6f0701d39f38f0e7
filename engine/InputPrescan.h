#pragma once
// The shape checks run on both input files before anything is allocated or read.
#include <string>

namespace engine {

// Counts the values of the first line that holds any (columns) and the non-empty
// lines (lines) of a node or connection file. Every line whose value count differs
// from the first one's is reported in its own box and counted as an error. A file
// that cannot be opened (a folder, a pipe or a device among them: only regular files
// are read), or that holds no value at all, is reported and counted as one error; the
// outputs are then left as they were.
int countColumnsAndLines(const std::string& fileName, int& columns, int& lines);

// The number of node records whose third value is 0 (candidate nodes), with the
// node reader's messages for a value that is not a number.
int countNodesToAdd(const std::string& fileName);

}  // namespace engine
