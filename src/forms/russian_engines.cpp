// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/russian_engines.h"

#include "platform/module_path.h"

#include <dlfcn.h>

namespace forms {

std::string RussianEnginesPath(const std::string& path) {
    return path.empty() ? platform::ModuleFolder(platform::ModuleFileName()) + kRussianEnginesFile
                        : path;
}

const kelimbo_russian_engines* OpenRussianEngines(const std::string& path, std::string& problem) {
    const std::string file = RussianEnginesPath(path);
    // The loader counts the openings of one file and maps it once; the handle
    // is never closed (see the header).
    void* library = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* why = ::dlerror();
        problem = "Russian base forms need " + file + ", which could not be loaded (" +
                  (why != nullptr ? why : "no reason given") +
                  "), so Russian words get no lemmas or stems";
        return nullptr;
    }
    const auto entry = reinterpret_cast<kelimbo_russian_engines_entry>(
        ::dlsym(library, KELIMBO_RUSSIAN_ENGINES_ENTRY));
    const kelimbo_russian_engines* engines = entry != nullptr ? entry() : nullptr;
    if (engines == nullptr || engines->version != KELIMBO_RUSSIAN_ENGINES_VERSION) {
        problem = "Russian base forms need " + file +
                  ", which is not this program's version of it, so Russian words get no "
                  "lemmas or stems";
        return nullptr;
    }
    return engines;
}

} // namespace forms
