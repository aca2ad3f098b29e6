// SPDX-License-Identifier: GPL-2.0-or-later
// Index Load from arbitrary bytes, then lookups with queries cut from the same
// input; then the file is cut short under the loaded index and the lookups run
// again. Properties: never a read outside the tables or the file's pages (the
// sanitizers watch), ranges within [0, N] before and after the cut, a record
// pointing outside its blocks only ever the read error of the lookup that
// reaches it, and a cut that changes the file's size is reported by CheckFile.
#include "errors/exc_msg.h"
#include "fuzz_support.h"
#include "index/language_indexes.h"

#include <string_view>

#include <unistd.h>

namespace {

void LookUp(const cIndex& index, std::string_view queries) {
    const pro_less& order = index.GetLess();
    for (std::size_t begin = 0; begin <= queries.size();) {
        const std::size_t end = std::min(queries.find('\n', begin), queries.size());
        const std::string_view query = queries.substr(begin, end - begin);
        const HeadwordRange range = index.FindPrefix(query);
        fuzz::Require(range.first <= range.last && range.last <= index.Count());
        fuzz::Require(range.first != range.last || range.first == 0);
        for (std::uint32_t i = range.first; i < range.last && i < range.first + 60; ++i) {
            (void)index.GetHeadword(i);
            (void)index.GetRefs(i);
        }
        begin = end + 1;
    }
    for (std::uint32_t i = 0; i < index.Count() && i < 1000; ++i) {
        (void)order.less(index.HeadwordText(i), index.HeadwordText(index.Count() - 1 - i));
        (void)index.GetRefs(i);
    }
}

void Exercise(cIndex& index, const std::string& path, std::size_t fileSize, std::size_t cut,
              std::string_view queries) {
    try {
        index.Load(path.c_str());
    } catch (const cExcMsg&) {
        fuzz::Require(index.Count() == 0);
        return;
    }
    const auto lookUp = [&] {
        try {
            LookUp(index, queries);
        } catch (const cExcMsg&) {
            // A damaged record, told when a lookup reads it.
        }
    };
    lookUp();
    fuzz::Require(::truncate(path.c_str(), static_cast<off_t>(cut)) == 0);
    lookUp();
    bool reported = false;
    try {
        index.CheckFile();
    } catch (const cExcMsg&) {
        reported = true;
    }
    fuzz::Require(reported || cut == fileSize);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first two bytes split the input: an index file of that many bytes,
    // then queries, one a line.
    if (size < 2) {
        return 0;
    }
    // The file is cut to (its size times the first byte) / 256 after the load.
    const std::size_t fileSize = std::min<std::size_t>(size - 2, data[0] | data[1] << 8);
    const std::size_t cut = fileSize * data[0] / 256;
    const std::string path = fuzz::ScratchPath("index.bsi");
    const std::string_view queries(reinterpret_cast<const char*>(data + 2 + fileSize),
                                   size - 2 - fileSize);
    fuzz::WriteFile(path, data + 2, fileSize);
    cIndexRu ru;
    Exercise(ru, path, fileSize, cut, queries);
    fuzz::WriteFile(path, data + 2, fileSize);
    cIndexEo eo;
    Exercise(eo, path, fileSize, cut, queries);
    return 0;
}
