// SPDX-License-Identifier: GPL-2.0-or-later
// lttoolbox (in the Russian engines' plugin) analyses a stream of words. Its
// processor is not reentrant, so every call holds the analyser's mutex; the
// same mutex guards the one-time load.
//
// lttoolbox trusts its file: a damaged one can make it count to billions
// before it fails. So a file must begin with lttoolbox's mark, and it is read
// on a thread of its own that is given a deadline; a load that misses it is
// abandoned to finish on its own, and the analyser knows no lemmas.

#include "forms/russian_analyser.h"
#include "forms/russian_engines.h"
#include "forms/russian_words.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <future>
#include <system_error>
#include <thread>

namespace forms {
namespace {

// A sound analyser loads in some tens of milliseconds.
constexpr std::chrono::seconds kLoadDeadline{2};

// A batch of at least this many words is analysed in two halves at once, on
// two analysers, when the machine has two cores: a dictionary's full-text
// index asks some ten thousand words at a time, at some 10 µs a word.
constexpr std::size_t kSplitWords = 2048;

// A word longer than this is no word: the analyser is not asked.
constexpr std::size_t kMaxWordBytes = 64;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Whether a word can be given to the analyser as one token: no character the
// stream format reads as markup or as a break between words.
bool Plain(std::string_view word) {
    return !word.empty() && word.size() <= kMaxWordBytes &&
           std::none_of(word.begin(), word.end(), [](char c) {
               const auto u = static_cast<unsigned char>(c);
               return u < 0x20 || c == ' ' || c == '^' || c == '$' || c == '/' || c == '\\' ||
                      c == '<' || c == '>' || c == '[' || c == ']' || c == '{' || c == '}' ||
                      c == '@' || c == '*' || c == '#' || c == '+' || c == '~';
           });
}

// The homonym marks lttoolbox dictionaries put after a lemma: ¹ ² ³ and the
// other superscript digits, in UTF-8.
std::string WithoutMarks(std::string_view lemma) {
    std::string out;
    for (std::size_t i = 0; i < lemma.size(); ++i) {
        const auto c = static_cast<unsigned char>(lemma[i]);
        if (c == 0xC2 && i + 1 < lemma.size()) {
            const auto d = static_cast<unsigned char>(lemma[i + 1]);
            if (d == 0xB2 || d == 0xB3 || d == 0xB9) {
                ++i;
                continue;
            }
        }
        if (c == 0xE2 && i + 2 < lemma.size() && static_cast<unsigned char>(lemma[i + 1]) == 0x81) {
            const auto d = static_cast<unsigned char>(lemma[i + 2]);
            if (d == 0xB0 || (d >= 0xB4 && d <= 0xB9)) {
                i += 2;
                continue;
            }
        }
        out += lemma[i];
    }
    return out;
}

// Whether a reading's tags ("<prn><dem>…") begin with a closed word class.
bool IsClosedClassTag(std::string_view tags) {
    for (const std::string_view tag : {"<prn>", "<det>", "<pr>", "<cnjcoo>", "<cnjsub>"}) {
        if (tags.substr(0, tag.size()) == tag) {
            return true;
        }
    }
    return false;
}

} // namespace

std::vector<std::string> LemmasOfAnalysis(std::string_view line) {
    std::vector<std::string> lemmas;
    const std::size_t open = line.find('^');
    if (open == std::string_view::npos) {
        return lemmas;
    }
    // The analysis ends at its '$'; a '^' before it is no analysis of one word.
    const std::size_t close = line.find_first_of("^$", open + 1);
    if (close == std::string_view::npos || line[close] != '$') {
        return lemmas;
    }
    std::string_view body = line.substr(open + 1, close - open - 1);
    std::size_t slash = body.find('/');
    if (slash == std::string_view::npos) {
        return lemmas;
    }
    body.remove_prefix(slash + 1);
    std::vector<bool> closed; // per lemma: read as a closed-class word at least once
    while (!body.empty()) {
        slash = body.find('/');
        const std::string_view reading = body.substr(0, slash);
        body.remove_prefix(slash == std::string_view::npos ? body.size() : slash + 1);
        if (reading.empty() || reading.front() == '*') {
            continue;
        }
        const std::size_t tags = reading.find_first_of("<#+");
        std::string lemma = WithoutMarks(reading.substr(0, tags));
        if (lemma.empty()) {
            continue;
        }
        const bool closedClass = IsClosedClassTag(
            tags == std::string_view::npos ? std::string_view{} : reading.substr(tags));
        const auto at = std::find(lemmas.begin(), lemmas.end(), lemma);
        if (at == lemmas.end()) {
            lemmas.push_back(std::move(lemma));
            closed.push_back(closedClass);
        } else if (closedClass) {
            closed[static_cast<std::size_t>(at - lemmas.begin())] = true;
        }
    }
    std::vector<std::string> ordered;
    ordered.reserve(lemmas.size());
    for (const bool wanted : {true, false}) {
        for (std::size_t i = 0; i < lemmas.size(); ++i) {
            if (closed[i] == wanted) {
                ordered.push_back(std::move(lemmas[i]));
            }
        }
    }
    return ordered;
}

struct RussianAnalyser::Transducer {
    Transducer(const kelimbo_russian_engines& e, void* a) : engines(e), analyser(a) {}
    ~Transducer() { engines.analyser_close(analyser); }
    Transducer(const Transducer&) = delete;
    Transducer& operator=(const Transducer&) = delete;

    const kelimbo_russian_engines& engines;
    void* const analyser;
};

RussianAnalyser::RussianAnalyser(std::string path, std::string engines)
    : m_path(std::move(path)), m_engines(std::move(engines)) {}

RussianAnalyser::~RussianAnalyser() = default;

namespace {

// Reads an analyser from `path` through the plugin's engines, or nothing.
std::unique_ptr<RussianAnalyser::Transducer>
LoadTransducer(const std::string& path, const kelimbo_russian_engines& engines) {
    File file(std::fopen(path.c_str(), "rb"));
    if (!file || engines.analyser_has_mark(file.get()) == 0) {
        return nullptr;
    }
    // The plugin is never closed, so a load abandoned here may finish in it later.
    std::packaged_task<std::unique_ptr<RussianAnalyser::Transducer>(std::FILE*)> task(
        [&engines](std::FILE* handed) -> std::unique_ptr<RussianAnalyser::Transducer> {
            void* analyser = engines.analyser_load(handed); // closes the file
            return analyser != nullptr
                       ? std::make_unique<RussianAnalyser::Transducer>(engines, analyser)
                       : nullptr;
        });
    std::future<std::unique_ptr<RussianAnalyser::Transducer>> loaded = task.get_future();
    std::thread(std::move(task), file.release()).detach();
    if (loaded.wait_for(kLoadDeadline) == std::future_status::ready) {
        return loaded.get();
    }
    return nullptr;
}

// The analyser's output for UTF-8 input, one word a line; empty when it fails.
std::string AnalyseWith(RussianAnalyser::Transducer& transducer, const std::string& input) {
    std::string analysis;
    const auto sink = [](void* context, const char* bytes, std::size_t size) {
        static_cast<std::string*>(context)->append(bytes, size);
    };
    if (transducer.engines.analyser_analyse(transducer.analyser, input.data(), input.size(), sink,
                                            &analysis) != 0) {
        return {};
    }
    return analysis;
}

} // namespace

RussianAnalyser::Transducer* RussianAnalyser::LoadedTransducer() const {
    if (m_tried) {
        return m_transducer.get();
    }
    m_tried = true;
    if (File probe(std::fopen(m_path.c_str(), "rb")); !probe) {
        return nullptr; // no analyser: the plugin is not even looked for
    }
    m_loadedEngines = OpenRussianEngines(m_engines, m_problem);
    if (m_loadedEngines != nullptr) {
        m_transducer = LoadTransducer(m_path, *m_loadedEngines);
    }
    return m_transducer.get();
}

std::string RussianAnalyser::Analyse(const std::string& input) const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    Transducer* transducer = LoadedTransducer();
    if (transducer == nullptr) {
        return {};
    }
    return AnalyseWith(*transducer, input);
}

std::string RussianAnalyser::AnalyseInTwo(const std::string& input) const {
    // The second half begins at a line's start near the middle.
    const std::size_t middle = input.find('\n', input.size() / 2);
    if (middle == std::string::npos || middle + 1 >= input.size()) {
        return Analyse(input);
    }
    const std::string second = input.substr(middle + 1);
    const std::lock_guard<std::mutex> spareLock(m_spareMutex);
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (LoadedTransducer() == nullptr) {
            return {};
        }
        if (!m_spareTried) {
            m_spareTried = true;
            m_spare = LoadTransducer(m_path, *m_loadedEngines);
        }
    }
    if (!m_spare) {
        return Analyse(input);
    }
    std::string secondAnalysis;
    std::thread other;
    try {
        other = std::thread([&] { secondAnalysis = AnalyseWith(*m_spare, second); });
    } catch (const std::system_error&) {
        return Analyse(input); // no thread to be had: one analyser does it all
    }
    std::string analysis = Analyse(input.substr(0, middle + 1));
    other.join();
    if (analysis.empty() || secondAnalysis.empty()) {
        return {};
    }
    if (analysis.back() != '\n') {
        analysis += '\n';
    }
    return analysis + secondAnalysis;
}

std::vector<std::string> RussianAnalyser::Lemmas(std::string_view word) const {
    std::vector<std::string> lemmas;
    if (!Plain(word)) {
        return lemmas;
    }
    std::string input = Utf8OfAnsi(word);
    input += '\n';
    for (const std::string& lemma : LemmasOfAnalysis(Analyse(input))) {
        AppendOnce(lemmas, AnsiOfUtf8(lemma));
    }
    return lemmas;
}

std::vector<std::vector<std::string>>
RussianAnalyser::Lemmas(const std::vector<std::string>& words) const {
    std::vector<std::vector<std::string>> lemmas(words.size());
    // One line a word, each answered by a line of its own.
    std::string input;
    std::vector<std::size_t> asked;
    for (std::size_t k = 0; k < words.size(); ++k) {
        if (Plain(words[k])) {
            input += Utf8OfAnsi(words[k]);
            input += '\n';
            asked.push_back(k);
        }
    }
    if (asked.empty()) {
        return lemmas;
    }
    const std::string analysis =
        asked.size() >= kSplitWords && std::thread::hardware_concurrency() > 1 ? AnalyseInTwo(input)
                                                                               : Analyse(input);
    std::vector<std::string_view> lines;
    for (std::size_t from = 0; from < analysis.size();) {
        std::size_t end = analysis.find('\n', from);
        if (end == std::string::npos) {
            end = analysis.size();
        }
        lines.push_back(std::string_view(analysis).substr(from, end - from));
        from = end + 1;
    }
    if (lines.size() != asked.size()) {
        // Not a line a word after all: each word on its own.
        for (const std::size_t k : asked) {
            lemmas[k] = Lemmas(words[k]);
        }
        return lemmas;
    }
    for (std::size_t i = 0; i < asked.size(); ++i) {
        for (const std::string& lemma : LemmasOfAnalysis(lines[i])) {
            AppendOnce(lemmas[asked[i]], AnsiOfUtf8(lemma));
        }
    }
    return lemmas;
}

bool RussianAnalyser::Loaded() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_transducer != nullptr;
}

std::string RussianAnalyser::Problem() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_problem;
}

} // namespace forms
