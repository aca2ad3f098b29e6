// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Stems of Russian words from a Hunspell spelling dictionary. The dictionary
// is read on first need, never before: constructing a stemmer costs nothing.
// When its files are absent or unreadable the stemmer knows no stems and says
// nothing about it. Hunspell itself is in the Russian engines' plugin
// (forms/russian_engines.h), loaded with the dictionary; without the plugin
// the stemmer knows no stems either, and Problem() says why.

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace forms {

// The system's Russian dictionary: this path with ".aff" and ".dic".
inline constexpr const char* kSystemRussianDictionary = "/usr/share/hunspell/ru_RU";

class RussianStemmer {
public:
    // `dictionary` is the path of the two files without ".aff" and ".dic";
    // `engines` the plugin's path (empty: beside the program).
    explicit RussianStemmer(std::string dictionary = kSystemRussianDictionary,
                            std::string engines = {});
    ~RussianStemmer();
    RussianStemmer(const RussianStemmer&) = delete;
    RussianStemmer& operator=(const RussianStemmer&) = delete;

    // The stems of a word in Windows-1251, in Windows-1251, as the dictionary
    // gives them (the word itself among them when it is a stem). The first call
    // reads the dictionary. Safe to call from several threads.
    std::vector<std::string> Stems(std::string_view word) const;

    // Whether the dictionary has been read: false until a first Stems call,
    // and after it when the files could not be read.
    bool Loaded() const;

    // Why the dictionary's files were there but the plugin to read them was
    // not; empty otherwise.
    std::string Problem() const;

private:
    struct Dictionary;

    Dictionary* LoadedDictionary() const; // under m_mutex

    const std::string m_path;
    const std::string m_engines;
    mutable std::mutex m_mutex;
    mutable std::string m_problem;
    mutable bool m_tried = false;
    mutable std::unique_ptr<Dictionary> m_dictionary;
};

} // namespace forms
