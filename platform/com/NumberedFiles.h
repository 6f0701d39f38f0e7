#pragma once
// The run-time's numbered files: a program opens a path for input or output under a
// file number and then reads or writes lines by that number. Opening a number that is
// still open closes the file it held first, so a file left open by a failed run never
// blocks the next use of its number. Failures raise the run-time's errors (com::Error):
// a missing file "File not found" (53), a missing folder "Path not found" (76), a path
// that cannot be opened as asked, or that is not a regular file (a folder, a pipe, a
// device), "Path/File access error" (75), reading past the end "Input past end of file"
// (62), a number that is not open "Bad file name or number" (52), a path longer than the
// system allows (in all or in one of its names) "Bad file name or number" (52) saying
// that the path is too long, a failed write "Device I/O error" (57).
//
// Lines end, when read, at a carriage return, a carriage return and line feed, or a
// line feed alone (files edited with the usual tools of this system); they are written
// with carriage return and line feed.
#include <string>
#include <string_view>

#include "com/Error.h"

namespace com::files {

enum class OpenMode { Input, Output, Append };

// Output creates the file or empties an existing one; Append creates it or adds to it.
void Open(int number, const std::string& path, OpenMode mode);
// The next line without its line end.
std::string LineInput(int number);
// True when nothing is left to read.
bool Eof(int number);
// Writes the text and a line end (carriage return, line feed).
void PrintLine(int number, std::string_view text);
// Closes the file; a number that is not open is no error. A write that fails on the
// way to the disk raises "Device I/O error".
void Close(int number);
// Closes every open file, whatever fails on the way.
void Reset();
bool IsOpen(int number);

// The error Open raises when the system refuses to open `path` as `mode` asks, with the
// system's error number `systemError`: for writers that create their files otherwise.
Error OpenFailure(int systemError, OpenMode mode, const std::string& path);

}  // namespace com::files
