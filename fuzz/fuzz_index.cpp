// Index Load from arbitrary bytes, then lookups with queries cut from the same
// input. Properties: never a read outside the tables (the sanitizers watch),
// ranges within [0, N], and every headword of a range matches the query
// whenever the query holds no ignored punctuation.
#include "errors/exc_msg.h"
#include "fuzz_support.h"
#include "index/language_indexes.h"

#include <string_view>

namespace {

void Exercise(cIndex& index, const std::string& path, std::string_view queries) {
    try {
        index.Load(path.c_str());
    } catch (const cExcMsg&) {
        fuzz::Require(index.Count() == 0);
        return;
    }
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first two bytes split the input: an index file of that many bytes,
    // then queries, one a line.
    if (size < 2) {
        return 0;
    }
    const std::size_t fileSize = std::min<std::size_t>(size - 2, data[0] | data[1] << 8);
    const std::string path = fuzz::ScratchPath("index.bsi");
    fuzz::WriteFile(path, data + 2, fileSize);
    const std::string_view queries(reinterpret_cast<const char*>(data + 2 + fileSize),
                                   size - 2 - fileSize);
    cIndexRu ru;
    Exercise(ru, path, queries);
    cIndexEo eo;
    Exercise(eo, path, queries);
    return 0;
}
