// SPDX-License-Identifier: GPL-2.0-or-later
// Hunspell is not reentrant, so every call into it holds the stemmer's mutex;
// the same mutex guards the one-time load.

#include "forms/russian_stemmer.h"
#include "forms/russian_words.h"


#include <hunspell/hunspell.hxx>

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
    Dictionary(const std::string& aff, const std::string& dic)
        : hunspell(aff.c_str(), dic.c_str()) {}

    Hunspell hunspell;
    Encoding encoding = Encoding::Utf8;
};

RussianStemmer::RussianStemmer(std::string dictionary) : m_path(std::move(dictionary)) {}

RussianStemmer::~RussianStemmer() = default;

RussianStemmer::Dictionary* RussianStemmer::LoadedDictionary() const {
    if (!m_tried) {
        m_tried = true;
        const std::string aff = m_path + ".aff";
        const std::string dic = m_path + ".dic";
        if (Readable(aff) && Readable(dic)) {
            auto dictionary = std::make_unique<Dictionary>(aff, dic);
            if (EncodingOf(dictionary->hunspell.get_dict_encoding(), dictionary->encoding)) {
                m_dictionary = std::move(dictionary);
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
    for (const std::string& stem :
         dictionary->hunspell.stem(utf8 ? Utf8OfAnsi(word) : std::string(word))) {
        AppendOnce(stems, utf8 ? AnsiOfUtf8(stem) : stem);
    }
    return stems;
}

bool RussianStemmer::Loaded() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_dictionary != nullptr;
}

} // namespace forms
