// Where a loaded library lives on disk.
#pragma once

#include <string>

namespace server {

// Absolute path of the library (or program) file that contains `address`, found with dladdr;
// empty when the address belongs to no loaded file.
std::string ModulePath(const void* address);

}  // namespace server
