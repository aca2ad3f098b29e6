// SPDX-License-Identifier: GPL-2.0-or-later
// The added dictionaries' order file from arbitrary bytes, read, written back
// and read again. Properties: every entry has a name a dictionary may take,
// no name twice; what is written back reads back as the same entries, with no
// message.
#include "articles/dictionary_set.h"
#include "fuzz_support.h"

#include <set>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const OrderFile first =
        ParseOrderFile(std::string_view(reinterpret_cast<const char*>(data), size));
    std::set<std::string> names;
    for (const OrderEntry& entry : first.entries) {
        fuzz::Require(DictionaryNameProblem(entry.name).empty());
        fuzz::Require(names.insert(entry.name).second);
    }
    const OrderFile second = ParseOrderFile(FormatOrderFile(first.entries));
    fuzz::Require(second.entries == first.entries);
    fuzz::Require(second.messages.empty());
    return 0;
}
