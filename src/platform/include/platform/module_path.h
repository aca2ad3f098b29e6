// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The full path of the running executable, standing in for GetModuleFileName,
// and the folder it lies in, where the program finds its data files.
//
// A path on this system is a string of bytes, usually but not always UTF-8:
// both are kept exactly as the system gives them, so that any folder a user
// can make (é, ŝ, 日本, or a byte that is no UTF-8 at all) works.

#include <string>
#include <string_view>

namespace platform {

// The executable's path, resolved through symbolic links, with no length
// limit; empty when the system cannot tell.
std::string ModuleFileName();

// The folder of an executable path, with its trailing '/'; empty for a path
// without any '/'.
std::string ModuleFolder(std::string_view modulePath);

} // namespace platform
