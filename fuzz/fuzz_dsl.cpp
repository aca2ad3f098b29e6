// SPDX-License-Identifier: GPL-2.0-or-later
// The DSL reader on any file: any encoding, plain or gzip-compressed.
#include "format_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::ScratchPath("fuzz.dsl");
    fuzz::WriteFile(path, data, size);
    fuzz::ReadEverything(formats::Format::Dsl, path);
    return 0;
}
