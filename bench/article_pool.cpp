// SPDX-License-Identifier: GPL-2.0-or-later
#include "article_pool.h"

#include "platform/code_page.h"
#include "text/esperanto_x.h"

#include <random>

namespace bench_data {
namespace {

// 8-bit x-system text as the Russian file holds it: UTF-8, accented letters.
std::string Utf8Accented(const std::string& ansi) {
    return platform::ToUtf8(x_to_accented(platform::FromAnsi(ansi)));
}

class ArticleWriter {
public:
    ArticleWriter(Language language, const std::vector<std::string>& heads,
                  const std::vector<std::string>& translations)
        : m_language(language), m_heads(heads), m_translations(translations) {}

    // One article of about `size` bytes in the file's encoding, never above
    // the reader's limit; `crlf` picks the line ends.
    std::string Article(std::size_t size, bool crlf) {
        const std::string eol = crlf ? "\r\n" : "\n";
        std::string article = Encode(m_heads[Next() % m_heads.size()]);
        article += eol;
        for (int sense = 1; article.size() < size; ++sense) {
            std::string line(1, ' ');
            line += std::to_string(sense);
            line += ". ";
            const std::size_t words = 2 + Next() % 6;
            for (std::size_t w = 0; w < words; ++w) {
                if (w != 0) {
                    line += ", ";
                }
                line += m_translations[Next() % m_translations.size()];
            }
            line += ';';
            line = Encode(line);
            line += eol;
            if (article.size() + line.size() > size + 40 || article.size() + line.size() > 2040) {
                break;
            }
            article += line;
        }
        return article;
    }

    std::uint32_t Next() { return static_cast<std::uint32_t>(m_random()); }

private:
    std::string Encode(const std::string& ansi) const {
        return m_language == Language::Russian ? Utf8Accented(ansi) : ansi;
    }

    Language m_language;
    const std::vector<std::string>& m_heads;
    const std::vector<std::string>& m_translations;
    std::mt19937 m_random{20240611};
};

} // namespace

ArticlePool BuildArticlePool(Language headwordLanguage, const std::vector<std::string>& ruWords,
                             const std::vector<std::string>& eoWords) {
    const bool russian = headwordLanguage == Language::Russian;
    ArticleWriter writer(headwordLanguage, russian ? ruWords : eoWords,
                         russian ? eoWords : ruWords);
    ArticlePool pool;
    pool.articles.reserve(kPoolArticles);
    for (std::size_t i = 0; i < kPoolArticles; ++i) {
        const bool isLong = i % kLongArticleEvery == 0;
        const std::size_t size = isLong ? 1900 + writer.Next() % 100 : 120 + writer.Next() % 800;
        const std::string article = writer.Article(size, i % 5 == 0);
        const auto start = static_cast<std::uint32_t>(pool.text.size());
        pool.text += article;
        pool.articles.push_back({start, static_cast<std::uint32_t>(pool.text.size())});
    }
    return pool;
}

} // namespace bench_data
