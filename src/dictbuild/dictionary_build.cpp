// SPDX-License-Identifier: GPL-2.0-or-later
#include "dictbuild/dictionary_build.h"

#include "dictbuild/direction_writer.h"
#include "dictbuild/staged_files.h"

#include "index/index_writer.h"
#include "index/my_less.h"
#include "index/x_less.h"
#include "platform/code_page.h"
#include "platform/source_file.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <stdexcept>

namespace {

// Headwords in order of first appearance, each with its references: those of
// articles that it heads first, then those of articles that name it as an
// extra headword, each group in source order.
class HeadwordCollector {
public:
    void Add(std::string key, ArticleRef ref, std::size_t line, bool extra = false) {
        if (key.empty()) {
            throw SourceError(line, "the headword is empty once its marks are removed");
        }
        if (key.size() > kMaxHeadwordBytes) {
            throw SourceError(line, "a headword is longer than " +
                                        std::to_string(kMaxHeadwordBytes) + " bytes");
        }
        auto [it, fresh] = m_positions.try_emplace(key, m_headwords.size());
        if (fresh) {
            m_headwords.push_back({std::move(key), {}});
            m_extraRefs.emplace_back();
        }
        const std::size_t position = it->second;
        std::vector<ArticleRef>& refs = extra ? m_extraRefs[position] : m_headwords[position].refs;
        if (m_headwords[position].refs.size() + m_extraRefs[position].size() == kMaxHeadwordRefs) {
            throw SourceError(line, "a headword has more than " + std::to_string(kMaxHeadwordRefs) +
                                        " articles");
        }
        refs.push_back(ref);
    }
    const std::vector<HeadwordSource>& Headwords() {
        for (std::size_t i = 0; i < m_headwords.size(); ++i) {
            std::vector<ArticleRef>& refs = m_headwords[i].refs;
            refs.insert(refs.end(), m_extraRefs[i].begin(), m_extraRefs[i].end());
            m_extraRefs[i].clear();
        }
        return m_headwords;
    }

private:
    std::map<std::string, std::size_t> m_positions;
    std::vector<HeadwordSource> m_headwords;
    std::vector<std::vector<ArticleRef>> m_extraRefs;
};

const pro_less& OrderOf(Language language) {
    static const my_less russian;
    static const x_less esperanto;
    return language == Language::Esperanto ? static_cast<const pro_less&>(esperanto) : russian;
}

std::string ReadFile(const std::filesystem::path& file) {
    std::string why;
    platform::SourceFile source(file, platform::Links::Follow, why);
    std::string content;
    if (!source.IsOpen() || !source.ReadAll(content, UINT64_MAX, why)) {
        throw std::runtime_error("cannot read " + file.string() + ": " + why);
    }
    return content;
}

// An article that would start where the reader cannot seek.
std::string TooFarMessage(std::string_view headword, std::size_t start) {
    return "the article of \"" + std::string(headword) + "\" would start at byte " +
           std::to_string(start) + ", beyond " + std::to_string(kMaxArticleOffset) +
           ", the last offset the program can read";
}

bool IsBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

} // namespace

BuildSummary BuildFromSource(Language language, const std::vector<SourceArticle>& articles,
                             const std::filesystem::path& outDir) {
    StagedFiles staged(outDir);
    DirectionWriter writer(language, staged);
    for (const SourceArticle& article : articles) {
        writer.Add(article);
    }
    const BuildSummary summary = writer.Finish();
    staged.Commit();
    return summary;
}

BuildSummary BuildFromTsv(Language language, std::istream& in, const std::string& sourceName,
                          const std::filesystem::path& outDir) {
    StagedFiles staged(outDir);
    DirectionWriter writer(language, staged);
    ReadTsvSource(in, [&](SourceArticle&& article) { writer.Add(article); });
    if (in.bad()) {
        throw std::runtime_error("cannot read " + sourceName + " to its end");
    }
    const BuildSummary summary = writer.Finish();
    staged.Commit();
    return summary;
}

BuildSummary BuildFromParagraphs(Language language, const std::filesystem::path& textFile,
                                 const std::filesystem::path& outDir) {
    const std::string text = ReadFile(textFile);
    HeadwordCollector collector;
    std::size_t articles = 0;
    std::size_t pos = 0;
    std::size_t line = 1;
    while (pos < text.size()) {
        // Skip blank lines before the article.
        std::size_t eol = text.find('\n', pos);
        std::string_view current(text.data() + pos,
                                 (eol == std::string::npos ? text.size() : eol) - pos);
        if (IsBlankLine(current)) {
            pos = eol == std::string::npos ? text.size() : eol + 1;
            ++line;
            continue;
        }
        // The article runs to the next blank line; its span leaves out the final line end.
        const std::size_t start = pos;
        const std::size_t firstLine = line;
        std::size_t end = pos;
        while (pos < text.size()) {
            eol = text.find('\n', pos);
            const std::size_t lineEnd = eol == std::string::npos ? text.size() : eol;
            if (IsBlankLine(std::string_view(text.data() + pos, lineEnd - pos))) {
                break;
            }
            end = lineEnd;
            pos = eol == std::string::npos ? text.size() : eol + 1;
            ++line;
        }
        while (end > start && text[end - 1] == '\r') {
            --end;
        }
        if (end - start > kMaxArticleBytes) {
            throw SourceError(firstLine, "the article is longer than " +
                                             std::to_string(kMaxArticleBytes) + " bytes");
        }
        const std::string_view article(text.data() + start, end - start);
        const std::string_view word = article.substr(0, article.find_first_of(" \t\r\n"));
        if (start > kMaxArticleOffset) {
            throw SourceError(firstLine, TooFarMessage(word, start));
        }
        if (language == Language::Russian) {
            // The reader decodes the Russian text as UTF-8: every byte must be.
            const std::size_t bad = platform::FirstInvalidUtf8(article);
            if (bad != std::string_view::npos) {
                const auto before = std::count(article.begin(), article.begin() + bad, '\n');
                throw SourceError(firstLine + static_cast<std::size_t>(before),
                                  "the text is not valid UTF-8");
            }
        }
        try {
            collector.Add(HeadwordKeyFromText(language, word),
                          {static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end)},
                          firstLine);
        } catch (const SourceError&) {
            throw;
        } catch (const std::runtime_error& e) {
            throw SourceError(firstLine, e.what());
        }
        ++articles;
    }

    const std::string index = BuildIndexOf(text, OrderOf(language), collector.Headwords());
    StagedFiles staged(outDir);
    staged.Write(FilesOf(language).index, index);
    staged.Commit();
    return {articles, collector.Headwords().size(), text.size(), index.size()};
}
