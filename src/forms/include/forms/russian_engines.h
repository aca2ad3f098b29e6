// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Where the Russian engines' plugin is found, and its opening. The plugin
// lies in the folder plugins/ beside the program that uses it
// (lib/kelimbo/plugins in an installed tree, bin/plugins in a build tree):
// a shared object directly in a library folder would make the Debian package
// run ldconfig for a library no one else links.

#include "forms/russian_engines_abi.h"

#include <string>

namespace forms {

// The plugin's path relative to the program's folder.
inline constexpr const char* kRussianEnginesFile = "plugins/kelimbo-russian.so";

// The plugin's path: `path` when given, else kRussianEnginesFile in the
// running program's folder.
std::string RussianEnginesPath(const std::string& path);

// Opens the plugin at RussianEnginesPath(path) and returns its engines, or
// null with `problem` saying, in English, what was missing. The plugin is
// never closed, so what it made stays valid for the life of the process
// (a load given up on its deadline may still be running inside it).
const kelimbo_russian_engines* OpenRussianEngines(const std::string& path, std::string& problem);

} // namespace forms
