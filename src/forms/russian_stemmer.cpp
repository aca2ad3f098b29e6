// SPDX-License-Identifier: GPL-2.0-or-later
// Hunspell is not reentrant, so every call into it holds the stemmer's mutex;
// the same mutex guards the one-time load.

#include "forms/russian_stemmer.h"
#include "forms/russian_engines.h"
#include "forms/russian_words.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace forms {
namespace {

// How the dictionary's words are written. Other encodings are not read.
enum class Encoding { Utf8, Cp1251 };

bool EncodingOf(std::string name, Encoding& encoding) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (name == "utf-8" || name == "utf8") {
        encoding = Encoding::Utf8;
        return true;
    }
    if (name == "microsoft-cp1251" || name == "cp1251" || name == "windows-1251") {
        encoding = Encoding::Cp1251;
        return true;
    }
    return false;
}

bool Readable(const std::string& path) {
    return std::ifstream(path).good();
}

} // namespace

struct RussianStemmer::Dictionary {
    Dictionary(const kelimbo_russian_engines& e, void* s) : engines(e), stemmer(s) {}
    ~Dictionary() { engines.stemmer_close(stemmer); }
    Dictionary(const Dictionary&) = delete;
    Dictionary& operator=(const Dictionary&) = delete;

    const kelimbo_russian_engines& engines;
    void* const stemmer;
    Encoding encoding = Encoding::Utf8;
};

RussianStemmer::RussianStemmer(std::string dictionary, std::string engines)
    : m_path(std::move(dictionary)), m_engines(std::move(engines)) {}

RussianStemmer::~RussianStemmer() = default;

RussianStemmer::Dictionary* RussianStemmer::LoadedDictionary() const {
    if (!m_tried) {
        m_tried = true;
        const std::string aff = m_path + ".aff";
        const std::string dic = m_path + ".dic";
        if (Readable(aff) && Readable(dic)) {
            const kelimbo_russian_engines* engines = OpenRussianEngines(m_engines, m_problem);
            void* stemmer =
                engines != nullptr ? engines->stemmer_open(aff.c_str(), dic.c_str()) : nullptr;
            if (stemmer != nullptr) {
                auto dictionary = std::make_unique<Dictionary>(*engines, stemmer);
                if (EncodingOf(engines->stemmer_encoding(stemmer), dictionary->encoding)) {
                    m_dictionary = std::move(dictionary);
                }
            }
        }
    }
    return m_dictionary.get();
}

std::vector<std::string> RussianStemmer::Stems(std::string_view word) const {
    std::vector<std::string> stems;
    if (word.empty()) {
        return stems;
    }
    const std::lock_guard<std::mutex> lock(m_mutex);
    Dictionary* dictionary = LoadedDictionary();
    if (dictionary == nullptr) {
        return stems;
    }
    const bool utf8 = dictionary->encoding == Encoding::Utf8;
    const std::string asked = utf8 ? Utf8OfAnsi(word) : std::string(word);
    std::vector<std::string> given;
    const auto sink = [](void* context, const char* bytes, std::size_t size) {
        static_cast<std::vector<std::string>*>(context)->emplace_back(bytes, size);
    };
    if (dictionary->engines.stemmer_stem(dictionary->stemmer, asked.data(), asked.size(), sink,
                                         &given) != 0) {
        return stems;
    }
    for (const std::string& stem : given) {
        AppendOnce(stems, utf8 ? AnsiOfUtf8(stem) : stem);
    }
    return stems;
}

bool RussianStemmer::Loaded() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_dictionary != nullptr;
}

std::string RussianStemmer::Problem() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_problem;
}

} // namespace forms
