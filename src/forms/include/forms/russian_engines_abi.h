// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The plain C interface between the base forms and the Russian engines'
// plugin, which holds Hunspell and lttoolbox (and through it ICU and
// libxml2). The programs load the plugin only when a Russian query first
// needs a stem or a lemma, so a start that needs neither maps none of those
// libraries. Nothing of C++ crosses this interface: words go in as bytes and
// come back through a sink, and the plugin catches its own exceptions.

#include <stddef.h>
#include <stdio.h>

extern "C" {

// Receives one word (or one analysis) of `size` bytes; `context` is the caller's.
typedef void (*kelimbo_bytes_sink)(void* context, const char* bytes, size_t size);

// The version a plugin must report: raised when a function is added or changed.
#define KELIMBO_RUSSIAN_ENGINES_VERSION 1u

struct kelimbo_russian_engines {
    unsigned version; // KELIMBO_RUSSIAN_ENGINES_VERSION

    // A Hunspell dictionary read from its two files; null when it cannot be.
    void* (*stemmer_open)(const char* aff_path, const char* dic_path);
    // The dictionary's encoding as its .aff file names it ("UTF-8", ...).
    const char* (*stemmer_encoding)(void* stemmer);
    // The stems of a word in the dictionary's encoding, each given to `sink`.
    // 0 when done, -1 when the engine failed (nothing more is given then).
    int (*stemmer_stem)(void* stemmer, const char* word, size_t size, kelimbo_bytes_sink sink,
                        void* context);
    void (*stemmer_close)(void* stemmer);

    // 1 when an open file begins with lttoolbox's mark, 0 when it does not or
    // cannot be read; the file is left at its start either way.
    int (*analyser_has_mark)(FILE* file);
    // An analyser read from an open file that the call closes; null when it
    // is none. A damaged file may take long: the caller bounds the wait.
    void* (*analyser_load)(FILE* file);
    // The analysis of UTF-8 text (one word and a newline) in lttoolbox's
    // stream format, given whole to `sink`. 0 when done, -1 on failure.
    // Not reentrant: the caller holds one analyser to one thread at a time.
    int (*analyser_analyse)(void* analyser, const char* text, size_t size, kelimbo_bytes_sink sink,
                            void* context);
    void (*analyser_close)(void* analyser);
};

// The one function a plugin exports, by this name.
#define KELIMBO_RUSSIAN_ENGINES_ENTRY "kelimbo_get_russian_engines"
typedef const struct kelimbo_russian_engines* (*kelimbo_russian_engines_entry)(void);

} // extern "C"
