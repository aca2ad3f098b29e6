// SPDX-License-Identifier: GPL-2.0-or-later
#include "index/headword_index.h"

#include "index/bsi_format.h"

cIndex::~cIndex() = default;

std::string_view cIndex::HeadwordText(std::uint32_t i) const {
    return i < m_count ? TextOf(Record(i)) : std::string_view();
}

std::string cIndex::GetHeadword(std::uint32_t i) const {
    return std::string(HeadwordText(i));
}

std::vector<ArticleRef> cIndex::GetRefs(std::uint32_t i) const {
    if (i >= m_count) {
        return {};
    }
    const HeadwordEntry entry = Record(i);
    const std::uint32_t first = std::min(entry.FirstRef(), m_refCount);
    const std::uint32_t count = std::min(entry.RefCount(), m_refCount - first);
    const std::size_t at = m_refOffset + std::size_t{first} * bsi::kRecordSize;
    m_file.Need(at, std::size_t{count} * bsi::kRecordSize);
    std::vector<ArticleRef> refs;
    refs.reserve(count);
    for (std::uint32_t k = 0; k < count; ++k) {
        refs.push_back(bsi::RefRecordAt(m_file.Data() + at, k));
    }
    return refs;
}
