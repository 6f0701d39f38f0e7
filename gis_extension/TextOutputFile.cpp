#include "gis_extension/TextOutputFile.h"

#include "com/NumberedFiles.h"

namespace gis_extension {

TextOutputFile::TextOutputFile(int fileNumber, std::string path)
    : fileNumber_(fileNumber), path_(std::move(path)), file_(path_, ".tmp") {
    if (!file_.created()) throw com::files::OpenFailure(file_.systemError(), com::files::OpenMode::Output, path_);
    file_.closeDescriptor();
    com::files::Open(fileNumber_, file_.path(), com::files::OpenMode::Output);
}

TextOutputFile::~TextOutputFile() {
    if (finished_) return;
    try {
        com::files::Close(fileNumber_);
    } catch (const com::Error&) {
        // the error that ended the analysis is the one reported; what reached the file stays
    }
    file_.commitAsNewFile();  // failing, the temporary file goes
}

void TextOutputFile::Discard() {
    if (finished_) return;
    try {
        com::files::Close(fileNumber_);
    } catch (const com::Error&) {
        // what did not reach the file is removed with it
    }
    file_.discard();
    finished_ = true;
}

void TextOutputFile::Close() {
    com::files::Close(fileNumber_);
    if (!file_.commitAsNewFile())
        throw com::Error(com::errors::PathFileAccessError, "",
                         com::runtimeErrorDescription(com::errors::PathFileAccessError) + ": " + file_.error());
    finished_ = true;
}

}  // namespace gis_extension
