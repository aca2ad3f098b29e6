// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Writing a direction's text file as its articles come, in bounded memory:
// each article is encoded and written at once, and only its span and the
// numbers of its headword keys stay, with every key once in one block. The
// index is made at the end from those tables.

#include "dictbuild/dictionary_build.h"
#include "dictbuild/staged_files.h"
#include "index/article_ref.h"
#include "index/bsi_format.h"
#include "platform/file_replace.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class DirectionWriter {
public:
    // Starts the direction's new text file in the folder of `staged`, with
    // the non-empty `preamble` (UTF-8) as its first block. Throws SourceError
    // (line 0) when the preamble cannot be encoded, std::runtime_error when
    // the file cannot be made.
    DirectionWriter(Language language, StagedFiles& staged, std::string_view preamble = {});
    DirectionWriter(const DirectionWriter&) = delete;
    DirectionWriter& operator=(const DirectionWriter&) = delete;

    // The number of a headword key (HeadwordKey's form), given at its first
    // sight, in order from 0.
    std::uint32_t KeyOf(std::string_view key);
    std::size_t KeyCount() const { return m_keyEnd.size(); }
    std::string_view Key(std::uint32_t key) const;
    // The articles written so far under the key.
    std::size_t ArticlesOf(std::uint32_t key) const { return m_refCount[key]; }

    // Encodes the article (UTF-8) and writes it under the keys, the first its
    // own headword, the others extra ones. Throws SourceError naming `line`
    // for what the files cannot hold.
    void Add(std::size_t line, std::string_view headword, std::string_view text,
             std::span<const std::uint32_t> keys);
    // The same for a source article, its keys made from its headwords.
    void Add(const SourceArticle& article);

    // Ends the text and stages it with its index. A key that `dropped`
    // marks (by number; shorter means none after it) is left out of the
    // index, and an article left without a key is left out of the text: the
    // files are then those of the articles without it. Throws SourceError or
    // std::runtime_error.
    BuildSummary Finish(const std::vector<bool>& dropped = {});

private:
    ArticleRef WriteArticle(std::size_t line, std::string_view headword, std::string_view text);
    void Record(std::size_t line, const ArticleRef& span, std::span<const std::uint32_t> keys);
    void Put(std::string_view bytes);

    Language m_language;
    StagedFiles& m_staged;
    platform::NewFile m_text;
    std::uint64_t m_size = 0;
    bsi::TextHasher m_hash;
    std::size_t m_preambleSize = 0;

    // The keys: key k's bytes are m_keyBytes[end of k-1, m_keyEnd[k]), found
    // again through an open-addressed table of key numbers + 1.
    std::string m_keyBytes;
    std::vector<std::uint32_t> m_keyEnd;
    std::vector<std::uint32_t> m_slots;
    std::vector<std::uint8_t> m_refCount;
    std::vector<std::uint32_t> m_firstSeen; // order of the key's first article, or none
    std::uint32_t m_seen = 0;

    // The articles: each one's span and its keys, m_articleKeys[end of a-1, m_keysEnd[a]).
    std::vector<ArticleRef> m_spans;
    std::vector<std::uint32_t> m_keysEnd;
    std::vector<std::uint32_t> m_articleKeys;
};
