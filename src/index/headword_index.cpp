#include "index/headword_index.h"

cIndex::~cIndex() {
    m_headwords.reset();
    m_text.reset();
    m_refs.reset();
}

std::string_view cIndex::HeadwordText(std::uint32_t i) const {
    return i < m_count ? TextOf(m_headwords[i]) : std::string_view();
}

std::string cIndex::GetHeadword(std::uint32_t i) const {
    return std::string(HeadwordText(i));
}

std::vector<ArticleRef> cIndex::GetRefs(std::uint32_t i) const {
    if (i >= m_count) {
        return {};
    }
    const HeadwordEntry& entry = m_headwords[i];
    const ArticleRef* first = m_refs.get() + entry.FirstRef();
    return std::vector<ArticleRef>(first, first + entry.RefCount());
}
