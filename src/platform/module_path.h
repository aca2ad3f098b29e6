#pragma once
// The full path of the running executable, standing in for GetModuleFileName.

#include <string>

namespace platform {

// The executable's path as UTF-16, resolved through symbolic links, with no
// length limit; empty when the system cannot tell.
std::u16string ModuleFileName();

} // namespace platform
