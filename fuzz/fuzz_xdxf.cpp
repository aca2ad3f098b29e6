// SPDX-License-Identifier: GPL-2.0-or-later
// The XDXF reader on any file, plain or gzip-compressed.
#include "format_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::ScratchPath("fuzz.xdxf");
    fuzz::WriteFile(path, data, size);
    fuzz::ReadEverything(formats::Format::Xdxf, path);
    return 0;
}
