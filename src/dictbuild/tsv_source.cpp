// SPDX-License-Identifier: GPL-2.0-or-later
#include "dictbuild/tsv_source.h"

namespace {

std::vector<std::string> Split(const std::string& s, char separator) {
    std::vector<std::string> parts;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = s.find(separator, begin);
        parts.push_back(s.substr(begin, end - begin));
        if (end == std::string::npos) {
            return parts;
        }
        begin = end + 1;
    }
}

} // namespace

std::string UnescapeArticle(const std::string& escaped, std::size_t line) {
    std::string text;
    text.reserve(escaped.size());
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] != '\\') {
            text += escaped[i];
            continue;
        }
        if (++i == escaped.size()) {
            throw SourceError(line, "the article ends in a lone backslash");
        }
        switch (escaped[i]) {
        case 'n':
            text += '\n';
            break;
        case 't':
            text += '\t';
            break;
        case '\\':
            text += '\\';
            break;
        default:
            throw SourceError(line, std::string("unknown escape \\") + escaped[i]);
        }
    }
    return text;
}

std::vector<SourceArticle> ReadTsvSource(std::istream& in) {
    std::vector<SourceArticle> articles;
    ReadTsvSource(in, [&](SourceArticle&& article) { articles.push_back(std::move(article)); });
    return articles;
}

void ReadTsvSource(std::istream& in, const std::function<void(SourceArticle&&)>& take) {
    std::string raw;
    for (std::size_t line = 1; std::getline(in, raw); ++line) {
        if (!raw.empty() && raw.back() == '\r') {
            raw.pop_back();
        }
        if (raw.find_first_not_of(" \t") == std::string::npos) {
            continue;
        }
        const std::vector<std::string> fields = Split(raw, '\t');
        if (fields.size() < 2 || fields.size() > 3) {
            throw SourceError(line, "expected headword<TAB>article[<TAB>extra|extra]");
        }
        SourceArticle article;
        article.line = line;
        article.headword = fields[0];
        if (article.headword.empty()) {
            throw SourceError(line, "empty headword");
        }
        article.text = UnescapeArticle(fields[1], line);
        if (fields.size() == 3 && !fields[2].empty()) {
            for (std::string& extra : Split(fields[2], '|')) {
                if (extra.empty()) {
                    throw SourceError(line, "empty extra headword");
                }
                article.extraHeadwords.push_back(std::move(extra));
            }
        }
        take(std::move(article));
    }
}
