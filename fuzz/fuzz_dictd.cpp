// SPDX-License-Identifier: GPL-2.0-or-later
// The dictd reader on any .index and .dict (plain, gzip or dictzip): the
// input's two parts.
#include "format_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string_view> parts = fuzz::SplitParts(data, size);
    const std::string base = fuzz::ScratchPath("dictd");
    fuzz::WritePart(base + ".index", parts[0]);
    fuzz::WritePart(base + ".dict", parts.size() > 1 ? parts[1] : std::string_view());
    fuzz::ReadEverything(formats::Format::Dictd, base + ".index");
    return 0;
}
