// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Lemmas of Russian words from a compiled lttoolbox analyser (Apertium's
// Russian morphology). The analyser is read on first need, never before:
// constructing one costs nothing. When its file is absent, unreadable or
// damaged the analyser knows no lemmas and says nothing about it.

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace forms {

// The system's Russian analyser (Debian apertium-rus-ukr).
inline constexpr const char* kSystemRussianAnalyser =
    "/usr/share/apertium/apertium-rus-ukr/rus-ukr.automorf.bin";

class RussianAnalyser {
public:
    explicit RussianAnalyser(std::string path = kSystemRussianAnalyser);
    ~RussianAnalyser();
    RussianAnalyser(const RussianAnalyser&) = delete;
    RussianAnalyser& operator=(const RussianAnalyser&) = delete;

    // The lemmas of a word in Windows-1251, in Windows-1251, in the analyser's
    // order and none twice: любви → любовь, люди → человек, меня → я. Empty for
    // a word it does not know, and for a lemma the code page cannot hold. The
    // first call reads the analyser. Safe to call from several threads.
    std::vector<std::string> Lemmas(std::string_view word) const;
    // The lemmas of many words, each as Lemmas gives them, in one pass of the
    // analyser over them all: far cheaper than a call a word.
    std::vector<std::vector<std::string>> Lemmas(const std::vector<std::string>& words) const;

    // Whether the analyser has been read: false until a first Lemmas call,
    // and after it when the file could not be read.
    bool Loaded() const;

    struct Transducer; // the loaded analyser

private:
    Transducer* LoadedTransducer() const; // under m_mutex
    // The analyser's output for UTF-8 input, one word a line.
    std::string Analyse(const std::string& input) const;

    const std::string m_path;
    mutable std::mutex m_mutex;
    mutable bool m_tried = false;
    mutable std::unique_ptr<Transducer> m_transducer;
};

// The lemmas of one line of the analyser's output, "^surface/lemma<tags>/…$",
// none twice: those read as a pronoun, determiner, preposition or conjunction
// first (such words are far more frequent in running text: «тем» is тот before
// it is тема), each group in the order given. Each is cut at its first tag and
// stripped of
// the homonym marks (год² → год). Nothing for an unknown word ("^x/*x$") or a
// line not of this shape. UTF-8 in and out.
std::vector<std::string> LemmasOfAnalysis(std::string_view line);

} // namespace forms
