// SPDX-License-Identifier: GPL-2.0-or-later
#include "import_sources.h"

#include "index/language_indexes.h"
#include "platform/code_page.h"
#include "stardict_writer.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace bench_data {
namespace {

constexpr std::size_t kMaxExcerpt = 240;

void AppendUtf16Le(std::string& out, std::string_view utf8) {
    for (const char16_t unit : platform::FromUtf8(utf8)) {
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>(unit >> 8));
    }
}

// The first lines of an article (LF line ends), at most kMaxExcerpt bytes,
// cut at a character boundary.
std::string Excerpt(std::string_view article) {
    std::string text;
    int lines = 0;
    for (const char c : article) {
        if (c == '\r') {
            continue;
        }
        if (c == '\n' && ++lines == 3) {
            break;
        }
        text.push_back(c);
    }
    if (text.size() > kMaxExcerpt) {
        std::size_t cut = kMaxExcerpt;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        text.resize(cut);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

// DSL's special characters written with their escape.
std::string DslEscaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (std::string_view("{}[]()\\~@#<>").find(c) != std::string_view::npos) {
            out.push_back('\\');
        }
        out.push_back(c);
    }
    return out;
}

} // namespace

std::size_t WriteImportSources(const DictionaryFolder& dictionary, const std::string& folder) {
    cIndexRu index;
    index.Load(dictionary.IndexPath(Language::Russian).c_str());
    std::ifstream in(dictionary.TextPath(Language::Russian), std::ios::binary);
    const std::string articles{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
    std::filesystem::create_directories(folder);
    const std::string base = folder + "/import";
    std::ofstream dict(base + ".dict", std::ios::binary | std::ios::trunc);
    std::ofstream dsl(base + ".dsl", std::ios::binary | std::ios::trunc);
    std::vector<StarDictEntry> entries;
    std::string card;
    // U+FEFF first: the byte-order mark FF FE.
    AppendUtf16Le(card, "\xEF\xBB\xBF#NAME \"Benchmark\"\n#INDEX_LANGUAGE \"Russian\"\n"
                        "#CONTENTS_LANGUAGE \"Esperanto\"\n\n");
    std::uint64_t offset = 0;
    for (std::uint32_t i = 0; i < index.Count(); ++i) {
        const std::vector<ArticleRef> refs = index.GetRefs(i);
        if (refs.empty() || refs.front().end > articles.size()) {
            continue;
        }
        const std::string word = platform::ToUtf8(platform::FromAnsi(index.HeadwordText(i)));
        const std::string text = Excerpt(std::string_view(articles).substr(
            refs.front().start, refs.front().end - refs.front().start));
        entries.push_back(
            {word, static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(text.size())});
        dict.write(text.data(), static_cast<std::streamsize>(text.size()));
        offset += text.size();

        std::string source = DslEscaped(word) + "\n";
        std::size_t at = 0;
        for (int line = 0; at <= text.size(); ++line) {
            const std::size_t end = std::min(text.find('\n', at), text.size());
            const std::string escaped = DslEscaped(text.substr(at, end - at));
            source += line == 0 ? "\t[m1][trn]" + escaped + "[/trn][/m]\n"
                                : "\t[m2][ex]" + escaped + "[/ex][/m]\n";
            at = end + 1;
        }
        source += "\n";
        AppendUtf16Le(card, source);
        dsl.write(card.data(), static_cast<std::streamsize>(card.size()));
        card.clear();
    }
    if (!dict || !dsl || offset > UINT32_MAX) {
        throw std::runtime_error("cannot write " + base);
    }
    const std::size_t count = entries.size();
    WriteStarDictIndex(std::move(entries), base, "Benchmark");
    return count;
}

} // namespace bench_data
