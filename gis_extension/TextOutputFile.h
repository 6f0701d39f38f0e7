#pragma once
// A text output of the analysis, written through a numbered file of the run-time into a
// temporary file beside the output's name (hidden, ending in ".tmp", so that no reader
// takes it for the output), which takes that name only once closed: a process killed
// while it writes leaves nothing under the name. When an error ends the analysis first,
// the file is closed and still given its name with the lines written so far, so that the
// files the analysis began stay on disk as they always have, unless it is discarded.
#include <string>

#include "sysutils/SafeFile.h"

namespace gis_extension {

class TextOutputFile {
public:
    // Opens the file for output as numbered file `fileNumber`. Raises the error that an
    // opening of `path` for output would raise when the file cannot be created.
    TextOutputFile(int fileNumber, std::string path);
    ~TextOutputFile();
    TextOutputFile(const TextOutputFile&) = delete;
    TextOutputFile& operator=(const TextOutputFile&) = delete;

    const std::string& path() const { return path_; }

    // Closes the numbered file and gives the file its name. Raises "Device I/O error"
    // when lines did not reach the file, "Path/File access error" when the name cannot
    // be given (a file took it meanwhile, which is never replaced).
    void Close();

    // Closes the numbered file and removes what was written: nothing is left under the
    // output's name, nor beside it.
    void Discard();

private:
    int fileNumber_;
    std::string path_;
    sysutils::TemporaryFileBeside file_;
    bool finished_ = false;  // named or discarded
};

}  // namespace gis_extension
