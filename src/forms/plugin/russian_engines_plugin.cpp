// SPDX-License-Identifier: GPL-2.0-or-later
// The Russian engines' plugin: Hunspell's stems and lttoolbox's analysis
// behind the C interface of forms/russian_engines_abi.h. Every entry point
// catches what the libraries throw; nothing but bytes and null crosses back.
//
// lttoolbox analyses a stream: each word is written to an in-memory input and
// the analysis read back from an in-memory output.

#include "forms/russian_engines_abi.h"

#include <hunspell/hunspell.hxx>
#include <lttoolbox/compression.h>
#include <lttoolbox/fst_processor.h>
#include <lttoolbox/input_file.h>
#include <unicode/ustdio.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

struct Stemmer {
    Stemmer(const char* aff, const char* dic) : hunspell(aff, dic) {}
    Hunspell hunspell;
    std::string encoding;
};

struct Analyser {
    FSTProcessor processor;
};

void* StemmerOpen(const char* aff, const char* dic) {
    try {
        auto stemmer = std::make_unique<Stemmer>(aff, dic);
        stemmer->encoding = stemmer->hunspell.get_dict_encoding();
        return stemmer.release();
    } catch (...) {
        return nullptr;
    }
}

const char* StemmerEncoding(void* stemmer) {
    return static_cast<Stemmer*>(stemmer)->encoding.c_str();
}

int StemmerStem(void* stemmer, const char* word, size_t size, kelimbo_bytes_sink sink,
                void* context) {
    try {
        const std::vector<std::string> stems =
            static_cast<Stemmer*>(stemmer)->hunspell.stem(std::string(word, size));
        for (const std::string& stem : stems) {
            sink(context, stem.data(), stem.size());
        }
        return 0;
    } catch (...) {
        return -1;
    }
}

void StemmerClose(void* stemmer) {
    delete static_cast<Stemmer*>(stemmer);
}

int AnalyserHasMark(FILE* file) {
    char mark[sizeof HEADER_LTTOOLBOX] = {};
    const bool read = std::fread(mark, 1, sizeof mark, file) == sizeof mark;
    const bool rewound = std::fseek(file, 0, SEEK_SET) == 0;
    return read && rewound && std::memcmp(mark, HEADER_LTTOOLBOX, sizeof mark) == 0 ? 1 : 0;
}

void* AnalyserLoad(FILE* handed) {
    const File file(handed);
    try {
        auto analyser = std::make_unique<Analyser>();
        analyser->processor.load(file.get());
        analyser->processor.initAnalysis();
        if (analyser->processor.valid()) {
            return analyser.release();
        }
    } catch (...) {
        // A damaged file: no analyser.
    }
    return nullptr;
}

int AnalyserAnalyse(void* analyser, const char* text, size_t size, kelimbo_bytes_sink sink,
                    void* context) {
    std::string input(text, size);
    char* buffer = nullptr;
    std::size_t written = 0;
    bool done = false;
    {
        File in(fmemopen(input.data(), input.size(), "rb"));
        File out(open_memstream(&buffer, &written));
        if (!in || !out) {
            return -1;
        }
        UFILE* ufile = u_finit(out.get(), nullptr, "UTF-8");
        if (ufile == nullptr) {
            return -1;
        }
        try {
            InputFile stream;
            stream.wrap(in.release()); // the stream closes it
            static_cast<Analyser*>(analyser)->processor.analysis(stream, ufile);
            done = true;
        } catch (...) {
            // Nothing of a failed analysis is given.
        }
        u_fclose(ufile); // flushes; leaves the FILE open
    }
    if (done) {
        sink(context, buffer, written);
    }
    std::free(buffer);
    return done ? 0 : -1;
}

void AnalyserClose(void* analyser) {
    delete static_cast<Analyser*>(analyser);
}

constexpr kelimbo_russian_engines kEngines = {
    KELIMBO_RUSSIAN_ENGINES_VERSION,
    StemmerOpen,
    StemmerEncoding,
    StemmerStem,
    StemmerClose,
    AnalyserHasMark,
    AnalyserLoad,
    AnalyserAnalyse,
    AnalyserClose,
};

} // namespace

extern "C" __attribute__((visibility("default"))) const kelimbo_russian_engines*
kelimbo_get_russian_engines() {
    return &kEngines;
}
