// Opens a library shipped beside the one holding this code: first in the folder of the module
// that contains `anchor` (found with dladdr), then in that folder's ../lib (a program in bin/
// with its libraries in lib/), then by name on the library path.
#pragma once

namespace info {

// The dlopen handle, or null when neither place has the library.
void* OpenSiblingLibrary(const char* name, const void* anchor, int flags);

}  // namespace info
