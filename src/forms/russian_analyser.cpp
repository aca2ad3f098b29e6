// SPDX-License-Identifier: GPL-2.0-or-later
// lttoolbox analyses a stream: each word is written to an in-memory input and
// the analysis read back from an in-memory output. The processor is not
// reentrant, so every call holds the analyser's mutex; the same mutex guards
// the one-time load.
//
// lttoolbox trusts its file: a damaged one can make it count to billions
// before it fails. So a file must begin with lttoolbox's mark, and it is read
// on a thread of its own that is given a deadline; a load that misses it is
// abandoned to finish on its own, and the analyser knows no lemmas.

#include "forms/russian_analyser.h"
#include "forms/russian_words.h"

#include <lttoolbox/compression.h>
#include <lttoolbox/fst_processor.h>
#include <lttoolbox/input_file.h>
#include <unicode/ustdio.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <future>
#include <thread>

namespace forms {
namespace {

// A sound analyser loads in some tens of milliseconds.
constexpr std::chrono::seconds kLoadDeadline{2};

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
    FSTProcessor processor;
};

RussianAnalyser::RussianAnalyser(std::string path) : m_path(std::move(path)) {}

RussianAnalyser::~RussianAnalyser() = default;

namespace {

// Reads an analyser from an open file; null when it is not one.
std::unique_ptr<RussianAnalyser::Transducer> Load(File file);

} // namespace

RussianAnalyser::Transducer* RussianAnalyser::LoadedTransducer() const {
    if (m_tried) {
        return m_transducer.get();
    }
    m_tried = true;
    File file(std::fopen(m_path.c_str(), "rb"));
    char mark[sizeof HEADER_LTTOOLBOX] = {};
    if (!file || std::fread(mark, 1, sizeof mark, file.get()) != sizeof mark ||
        std::memcmp(mark, HEADER_LTTOOLBOX, sizeof mark) != 0 ||
        std::fseek(file.get(), 0, SEEK_SET) != 0) {
        return nullptr;
    }
    std::packaged_task<std::unique_ptr<Transducer>(File)> task(Load);
    std::future<std::unique_ptr<Transducer>> loaded = task.get_future();
    std::thread(std::move(task), std::move(file)).detach();
    if (loaded.wait_for(kLoadDeadline) == std::future_status::ready) {
        m_transducer = loaded.get();
    }
    return m_transducer.get();
}

namespace {

std::unique_ptr<RussianAnalyser::Transducer> Load(File file) {
    try {
        auto transducer = std::make_unique<RussianAnalyser::Transducer>();
        transducer->processor.load(file.get());
        transducer->processor.initAnalysis();
        if (transducer->processor.valid()) {
            return transducer;
        }
    } catch (const std::exception&) {
        // A damaged file: no lemmas.
    }
    return nullptr;
}

} // namespace

std::string RussianAnalyser::Analyse(const std::string& input) const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    Transducer* transducer = LoadedTransducer();
    if (transducer == nullptr) {
        return {};
    }
    char* buffer = nullptr;
    std::size_t size = 0;
    {
        File in(fmemopen(const_cast<char*>(input.data()), input.size(), "rb"));
        File out(open_memstream(&buffer, &size));
        if (!in || !out) {
            return {};
        }
        UFILE* ufile = u_finit(out.get(), nullptr, "UTF-8");
        if (ufile == nullptr) {
            return {};
        }
        InputFile stream;
        stream.wrap(in.release()); // the stream closes it
        try {
            transducer->processor.analysis(stream, ufile);
        } catch (const std::exception&) {
            size = 0;
        }
        u_fclose(ufile); // flushes; leaves the FILE open
    }
    std::string analysis(buffer, size);
    std::free(buffer);
    return analysis;
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
    const std::string analysis = Analyse(input);
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

} // namespace forms
