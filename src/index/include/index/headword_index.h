// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A headword index: the headword table, the article references and the
// headwords' text of a .bsi file, read a page at a time as lookups reach them
// (platform::PagedFile): only the pages a lookup touches are ever read or
// held. After Load it never changes; until a Load completes it holds no
// headwords.

#include "index/article_ref.h"
#include "index/bsi_format.h"
#include "index/headword_entry.h"
#include "index/headword_range.h"
#include "index/pro_less.h"
#include "platform/paged_file.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class cIndex {
public:
    cIndex() = default;
    virtual ~cIndex();
    cIndex(const cIndex&) = delete;
    cIndex& operator=(const cIndex&) = delete;

    // Opens the index file at a narrow path and checks its header and that its
    // blocks lie inside it. Raises cExcMsg on any failure, and then holds no
    // headwords. A headword record is checked when a lookup first reads it:
    // one pointing outside the text block or the reference table raises the
    // read error naming the file then, so a start costs the same whatever
    // the index's size.
    void Load(const char* path);

    // Raises the read error naming the index file when the file has changed
    // since Load (written over, grown or cut): what the lookups since then
    // read may not be the index that was checked. A file replaced by rename
    // is not a change: the index keeps the file it mapped. Callers ask after
    // a lookup, before they use its result.
    void CheckFile() const;

    // The path it was loaded from, as given to Load.
    const std::string& Path() const { return m_path; }
    // The identity of the text file the index was made for; nothing for an
    // index that records none.
    const std::optional<bsi::TextIdentity>& Identity() const { return m_identity; }

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
    HeadwordEntry Record(std::uint32_t k) const {
        m_file.Need(m_headwordOffset + std::size_t{k} * bsi::kRecordSize, bsi::kRecordSize);
        const HeadwordEntry entry = bsi::HeadwordRecordAt(m_file.Data() + m_headwordOffset, k);
        if (!bsi::RecordInside(entry, m_textSize, m_refCount)) {
            RaiseDamaged();
        }
        return entry;
    }
    [[noreturn]] void RaiseDamaged() const;
    // Bounded again at every use, though Record checked the record: a caller
    // that asks CheckFile only after its lookup may have read pages written
    // over meanwhile.
    std::string_view TextOf(const HeadwordEntry& entry) const {
        const std::uint32_t at = std::min(entry.TextOffset(), m_textSize);
        const std::uint32_t length = std::min(entry.TextLength(), m_textSize - at);
        m_file.Need(m_textOffset + at, length);
        return {reinterpret_cast<const char*>(m_file.Data()) + m_textOffset + at, length};
    }

    platform::PagedFile m_file;
    std::size_t m_headwordOffset = 0;
    std::size_t m_refOffset = 0;
    std::size_t m_textOffset = 0;
    std::uint32_t m_refCount = 0;
    std::uint32_t m_textSize = 0;
    std::uint32_t m_count = 0;
    std::string m_context; // the read error's context naming the file
    std::string m_path;
    std::optional<bsi::TextIdentity> m_identity;
};
