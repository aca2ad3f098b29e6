// SPDX-License-Identifier: GPL-2.0-or-later
// The StarDict reader on any .ifo, .idx, .dict (plain, gzip or dictzip) and
// .syn: the input's parts in that order.
#include "format_fuzz.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string_view> parts = fuzz::SplitParts(data, size);
    const std::string base = fuzz::ScratchPath("stardict");
    const char* const suffixes[] = {".ifo", ".idx", ".dict", ".syn"};
    for (std::size_t k = 0; k < 4; ++k) {
        const std::string path = base + suffixes[k];
        std::remove(path.c_str());
        if (k < parts.size()) {
            fuzz::WritePart(path, parts[k]);
        }
    }
    fuzz::ReadEverything(formats::Format::StarDict, base + ".ifo");
    return 0;
}
