// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Lemmas of Russian words from a compiled lttoolbox analyser (Apertium's
// Russian morphology). The analyser is read on first need, never before:
// constructing one costs nothing. When its file is absent, unreadable or
// damaged the analyser knows no lemmas and says nothing about it. lttoolbox
// itself is in the Russian engines' plugin (forms/russian_engines.h), loaded
// with the analyser; without the plugin the analyser knows no lemmas either,
// and Problem() says why.

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

struct kelimbo_russian_engines;

namespace forms {

// The system's Russian analyser (Debian apertium-rus-ukr).
inline constexpr const char* kSystemRussianAnalyser =
    "/usr/share/apertium/apertium-rus-ukr/rus-ukr.automorf.bin";

class RussianAnalyser {
public:
    // `engines`: the plugin's path (empty: beside the program).
    explicit RussianAnalyser(std::string path = kSystemRussianAnalyser, std::string engines = {});
    ~RussianAnalyser();
    RussianAnalyser(const RussianAnalyser&) = delete;
    RussianAnalyser& operator=(const RussianAnalyser&) = delete;

    // The lemmas of a word in Windows-1251, in Windows-1251, in the analyser's
    // order and none twice: любви → любовь, люди → человек, меня → я. Empty for
    // a word it does not know, and for a lemma the code page cannot hold. The
    // first call reads the analyser. Safe to call from several threads.
    std::vector<std::string> Lemmas(std::string_view word) const;
    // The lemmas of many words, each as Lemmas gives them, in one pass of the
    // analyser over them all: far cheaper than a call a word. A large batch
    // is split between two analysers on two threads.
    std::vector<std::vector<std::string>> Lemmas(const std::vector<std::string>& words) const;

    // Whether the analyser has been read: false until a first Lemmas call,
    // and after it when the file could not be read.
    bool Loaded() const;

    // Why the analyser's file was there but the plugin to read it was not;
    // empty otherwise.
    std::string Problem() const;

    struct Transducer; // the loaded analyser

private:
    Transducer* LoadedTransducer() const; // under m_mutex
    // The analyser's output for UTF-8 input, one word a line.
    std::string Analyse(const std::string& input) const;
    // The same, the second half of the lines given to the spare analyser on
    // a thread of its own.
    std::string AnalyseInTwo(const std::string& input) const;

    const std::string m_path;
    const std::string m_engines;
    mutable std::mutex m_mutex;
    mutable std::string m_problem;
    mutable bool m_tried = false;
    mutable const kelimbo_russian_engines* m_loadedEngines = nullptr;
    mutable std::unique_ptr<Transducer> m_transducer;
    // The second analyser, read when a first batch is split: its mutex is
    // taken before m_mutex, never while it is held.
    mutable std::mutex m_spareMutex;
    mutable bool m_spareTried = false;
    mutable std::unique_ptr<Transducer> m_spare;
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
