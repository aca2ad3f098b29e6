// SPDX-License-Identifier: GPL-2.0-or-later
#include "stardict_writer.h"

#include "index/language_indexes.h"
#include "platform/code_page.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace bench_data {
namespace {

std::string Utf8(std::string_view ansi) {
    return platform::ToUtf8(platform::FromAnsi(ansi));
}

// StarDict's order: ASCII letters without case first, then plain bytes.
int AsciiCaseCompare(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
        const int x = fold(static_cast<unsigned char>(a[i]));
        const int y = fold(static_cast<unsigned char>(b[i]));
        if (x != y) {
            return x - y;
        }
    }
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

void PutBigEndian(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
    }
}

} // namespace

void WriteStarDictIndex(std::vector<StarDictEntry> entries, const std::string& base,
                        const std::string& bookname) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const StarDictEntry& a, const StarDictEntry& b) {
                         const int c = AsciiCaseCompare(a.word, b.word);
                         return c != 0 ? c < 0 : a.word < b.word;
                     });
    std::string idx;
    for (const StarDictEntry& entry : entries) {
        idx += entry.word;
        idx.push_back('\0');
        PutBigEndian(idx, entry.offset);
        PutBigEndian(idx, entry.size);
    }
    std::ofstream(base + ".idx", std::ios::binary | std::ios::trunc)
        .write(idx.data(), static_cast<std::streamsize>(idx.size()));
    std::ofstream ifo(base + ".ifo", std::ios::binary | std::ios::trunc);
    ifo << "StarDict's dict ifo file\nversion=2.4.2\nwordcount=" << entries.size()
        << "\nidxfilesize=" << idx.size() << "\nbookname=" << bookname << "\nsametypesequence=m\n";
    if (!ifo) {
        throw std::runtime_error("cannot write " + base + ".ifo");
    }
}

std::size_t WriteStarDict(const DictionaryFolder& dictionary, const std::string& folder,
                          const std::string& name) {
    cIndexRu index;
    index.Load(dictionary.IndexPath(Language::Russian).c_str());
    std::vector<StarDictEntry> entries;
    entries.reserve(index.Count());
    for (std::uint32_t i = 0; i < index.Count(); ++i) {
        const std::vector<ArticleRef> refs = index.GetRefs(i);
        if (refs.empty()) {
            continue;
        }
        entries.push_back({Utf8(index.HeadwordText(i)), refs.front().start,
                           refs.back().end - refs.front().start});
    }
    std::filesystem::create_directories(folder);
    const std::string base = folder + "/" + name;
    std::filesystem::copy_file(dictionary.TextPath(Language::Russian), base + ".dict",
                               std::filesystem::copy_options::overwrite_existing);
    const std::size_t count = entries.size();
    WriteStarDictIndex(std::move(entries), base, name);
    return count;
}

} // namespace bench_data
