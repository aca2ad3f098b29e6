#pragma once
// The full path of the running executable, standing in for GetModuleFileName,
// and the folder it lies in, where the program finds its data files.

#include <string>
#include <string_view>

namespace platform {

// The executable's path as UTF-16, resolved through symbolic links, with no
// length limit; empty when the system cannot tell.
std::u16string ModuleFileName();

// The folder of an executable path, with its trailing '/', in the ANSI code
// page; empty for a path without any '/'.
std::string ModuleFolder(std::u16string_view modulePath);

} // namespace platform
