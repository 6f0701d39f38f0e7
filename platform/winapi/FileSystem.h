#pragma once
// The file-system services that the extension asks the system for.
#include "winapi/Types.h"

namespace winapi {

// The temporary folder ($TMPDIR, else /tmp) with a trailing "/", copied with its NUL
// into `buffer` when it fits. Returns its length without the NUL; when it does not
// fit, the size needed (with the NUL) and the buffer is untouched.
DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer);

// The long form of an existing path. This system has no short names, so the long form
// is the path itself. Returns its length without the NUL; the size needed (with the
// NUL) when the buffer is too small; 0 when the path does not exist.
DWORD GetLongPathNameA(LPCSTR shortPath, LPSTR longPath, DWORD bufferLength);

}  // namespace winapi
