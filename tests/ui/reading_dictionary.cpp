// SPDX-License-Identifier: GPL-2.0-or-later
#include "reading_dictionary.h"

#include "articles/dictionary_files.h"
#include "index/index_writer.h"
#include "index/my_less.h"
#include "index/x_less.h"
#include "platform/code_page.h"

#include <vector>

namespace reading_dictionary {

using testing_support::Cp1251;

namespace {

struct Article {
    std::string headword; // UTF-8
    std::string text;     // UTF-8, as in the file before its encoding
};

// Appends the articles to `file` (already encoded by `encode`) and gives each
// headword its reference; articles of the same headword follow each other.
template <class Encode>
std::vector<HeadwordSource> Lay(const std::vector<Article>& articles, Encode encode,
                                std::string& file) {
    std::vector<HeadwordSource> sources;
    for (const Article& article : articles) {
        const std::string bytes = encode(article.text);
        const auto start = static_cast<std::uint32_t>(file.size());
        file += bytes + "\n";
        const ArticleRef ref{start, start + static_cast<std::uint32_t>(bytes.size())};
        const std::string key = encode(article.headword);
        if (!sources.empty() && sources.back().text == key) {
            sources.back().refs.push_back(ref);
        } else {
            sources.push_back({key, {ref}});
        }
    }
    return sources;
}

std::string LongBody() {
    std::string body;
    for (int i = 0; i < 30; ++i) {
        body += "linio de teksto, kiu plenigas la artikolon\n";
    }
    return body;
}

std::vector<Article> EsperantoArticles() {
    return {
        {"hundo", "hundo\nсобака, пёс; hunda — собачий"},
        {"kato", "kato\nкошка, кот"},
        {"sxafo", "sxafo\nовца"},
        {"longa", "longa\n" + LongBody() + "unua"},
        {"longa", "longa\n" + LongBody() + "fino: kato"},
        {"ami", "ami\nлюбить; sxi amas hundojn"},
    };
}

std::vector<Article> RussianArticles() {
    return {
        {"собака", "соба\u0301ка\nhundo"},
        {"кошка", "ко\u0301шка\nkato"},
        {"дом", "дом\ndomo"},
        {"дома", "до\u0301ма\nhejme"},
        {"ёж", "ёж\nerinaco, «ёжик» erinaceto"},
    };
}

std::u16string CrLf(const std::string& utf8) {
    std::u16string text;
    for (char16_t c : platform::FromUtf8(utf8)) {
        if (c == u'\n') {
            text += u'\r';
        }
        text += c;
    }
    return text;
}

} // namespace

void Write(const testing_support::TempDir& dir) {
    std::string eoText;
    const auto eo = Lay(
        EsperantoArticles(), [](const std::string& s) { return Cp1251(s); }, eoText);
    std::string ruText;
    const auto ru = Lay(
        RussianArticles(), [](const std::string& s) { return s; }, ruText);
    // The Russian index holds its headwords in the ANSI code page.
    std::vector<HeadwordSource> ruKeys = ru;
    for (HeadwordSource& source : ruKeys) {
        source.text = Cp1251(source.text);
    }
    WriteIndexFile(dir.AnsiPath(kEsperantoFiles.index).c_str(), x_less(), eo, kDefaultBlockOrder,
                   bsi::IdentityOf(eoText));
    WriteIndexFile(dir.AnsiPath(kRussianFiles.index).c_str(), my_less(), ruKeys, kDefaultBlockOrder,
                   bsi::IdentityOf(ruText));
    testing_support::WriteBytes(dir.File(kEsperantoFiles.text), eoText);
    testing_support::WriteBytes(dir.File(kRussianFiles.text), ruText);
}

std::u16string LongArticleText() {
    const std::vector<Article> articles = EsperantoArticles();
    return CrLf(articles[3].text) + u"\r\n" + CrLf(articles[4].text) + u"\r\n";
}

} // namespace reading_dictionary
