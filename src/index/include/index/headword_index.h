#pragma once
// A headword index held whole in memory: the headword table, the article
// references and the headwords' text, read from a .bsi file. After Load it
// never changes; until a Load completes it holds no headwords.

#include "index/article_ref.h"
#include "index/headword_entry.h"
#include "index/headword_range.h"
#include "index/pro_less.h"
#include "platform/large_block.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class cIndex {
public:
    cIndex() = default;
    virtual ~cIndex();
    cIndex(const cIndex&) = delete;
    cIndex& operator=(const cIndex&) = delete;

    // Reads the index file at a narrow path. Raises cExcMsg on any failure, and
    // then holds no headwords.
    void Load(const char* path);

    // Number of headwords.
    std::uint32_t Count() const { return m_count; }
    // The i-th headword's bytes, in the index's own text block; empty for i ≥ Count().
    std::string_view HeadwordText(std::uint32_t i) const;
    // A copy of the same bytes.
    std::string GetHeadword(std::uint32_t i) const;
    // The i-th headword's article references; empty for i ≥ Count().
    std::vector<ArticleRef> GetRefs(std::uint32_t i) const;

    // The headwords that begin with the query, in the comparator's sense.
    HeadwordRange FindPrefix(std::string_view query) const;

    virtual const pro_less& GetLess() const = 0;

private:
    std::string_view TextOf(const HeadwordEntry& entry) const {
        return {m_text.get() + entry.TextOffset(), entry.TextLength()};
    }

    platform::LargeBlock<HeadwordEntry> m_headwords;
    platform::LargeBlock<ArticleRef> m_refs;
    platform::LargeBlock<char> m_text;
    std::uint32_t m_count = 0;
};
