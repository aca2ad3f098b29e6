// SPDX-License-Identifier: GPL-2.0-or-later
// The full-text search's two inputs: the query as typed, and the index file.
//
// The first byte chooses. Even: the rest is a query (UTF-8, any bytes). Its
// words are at most kMaxQueryWords, its phrases never empty, its keys only
// letters and digits, and the engine's query made of it is accepted by the
// engine on a real index: no text typed ever becomes the engine's syntax.
// Odd: the rest changes a good index of a small dictionary (made once at
// start): 5-byte records, a 32-bit offset and a byte, the last a cut when its
// offset is past the end. The damaged index is opened and searched: it is
// ready or told as damaged or stale, and every hit's articles lie inside the
// text.
#include "dictbuild/dictionary_build.h"
#include "forms/russian_analyser.h"
#include "fulltext/index_file.h"
#include "fulltext/query.h"
#include "fuzz_support.h"
#include "platform/code_page.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

namespace fs = std::filesystem;

struct Fixture {
    Fixture() {
        fs::create_directories(folder);
        std::string tsv;
        for (int n = 0; n < 120; ++n) {
            const std::string word = "vorto" + std::to_string(n);
            tsv += word + "\t" + word + " la hundoj bojas, bonan tagon " + std::to_string(n % 9) +
                   "; собаки лают\n";
        }
        std::istringstream in(tsv);
        BuildFromSource(Language::Esperanto, ReadTsvSource(in), folder);
        fulltext::WriteIndex(Path("EoRu_kelimbo.txt"), Path("EoRu_kelimbo.bsi"), Path("good.fts"),
                             true, analyser);
        std::ifstream good(Path("good.fts"), std::ios::binary);
        index.assign(std::istreambuf_iterator<char>(good), std::istreambuf_iterator<char>());
        textSize = fs::file_size(Path("EoRu_kelimbo.txt"));
        std::string message;
        fuzz::Require(reader.Open(Path("good.fts"), Path("EoRu_kelimbo.txt"), message) ==
                      fulltext::IndexState::Ready);
    }
    ~Fixture() { fs::remove_all(folder); }
    std::string Path(const char* name) const { return (folder / name).string(); }

    const fs::path folder = fuzz::ScratchPath("fulltext");
    const forms::RussianAnalyser analyser{"/nonexistent"};
    std::string index;
    std::uint64_t textSize = 0;
    fulltext::IndexReader reader;
};

Fixture& TheFixture() {
    static Fixture fixture;
    return fixture;
}

bool KeyByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || u >= 0x80;
}

void Query(Fixture& fixture, std::string_view typed) {
    fulltext::BaseKeys keys(fixture.analyser);
    const fulltext::Query query = fulltext::ParseQuery(platform::FromUtf8(typed), keys);
    std::size_t words = 0;
    for (const auto& phrase : query.phrases) {
        fuzz::Require(!phrase.empty());
        for (const std::string& key : phrase) {
            fuzz::Require(!key.empty() && key.size() <= fulltext::kMaxKeyBytes);
            for (const char c : key) {
                fuzz::Require(KeyByte(c));
            }
            ++words;
        }
    }
    fuzz::Require(words <= fulltext::kMaxQueryWords);
    fuzz::Require(query.error.empty() == !query.phrases.empty());
    if (!query.phrases.empty()) {
        try {
            fixture.reader.Count(query.phrases, 60, nullptr);
            fixture.reader.Select(query.phrases, 0, 51, nullptr);
        } catch (const fulltext::IndexError&) {
            fuzz::Require(false); // the engine refused the query
        }
    }
}

void Damage(Fixture& fixture, const std::uint8_t* data, std::size_t size) {
    std::string bytes = fixture.index;
    for (std::size_t at = 0; at + 5 <= size; at += 5) {
        const std::uint32_t offset = static_cast<std::uint32_t>(data[at]) |
                                     static_cast<std::uint32_t>(data[at + 1]) << 8 |
                                     static_cast<std::uint32_t>(data[at + 2]) << 16 |
                                     static_cast<std::uint32_t>(data[at + 3]) << 24;
        if (offset < bytes.size()) {
            bytes[offset] = static_cast<char>(data[at + 4]);
        } else {
            bytes.resize(offset % (bytes.size() + 1));
        }
    }
    const std::string path = fixture.Path("damaged.fts");
    fuzz::WriteFile(path, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    fulltext::IndexReader reader;
    std::string message;
    const fulltext::IndexState state = reader.Open(path, fixture.Path("EoRu_kelimbo.txt"), message);
    fuzz::Require((state == fulltext::IndexState::Ready) == message.empty());
    if (state != fulltext::IndexState::Ready) {
        return;
    }
    fulltext::BaseKeys keys(fixture.analyser);
    for (const char16_t* typed : {u"hundo", u"\"bona tago\"", u"vorto7 la"}) {
        try {
            const fulltext::Query query = fulltext::ParseQuery(typed, keys);
            reader.Count(query.phrases, 200, nullptr);
            for (const fulltext::Entry& entry : reader.Select(query.phrases, 0, 51, nullptr)) {
                for (const ArticleRef& ref : entry.refs) {
                    fuzz::Require(ref.start <= ref.end && ref.end <= fixture.textSize);
                }
                reader.HeadwordOf(entry.refs); // a history step's title
            }
        } catch (const fulltext::IndexError&) {
            // told as damaged: the search says so
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Fixture& fixture = TheFixture();
    if (size == 0) {
        return 0;
    }
    if (data[0] % 2 == 0) {
        Query(fixture, std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    } else {
        Damage(fixture, data + 1, size - 1);
    }
    return 0;
}
