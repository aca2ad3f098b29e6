// SPDX-License-Identifier: GPL-2.0-or-later
#include "fulltext/query.h"

namespace fulltext {

Query ParseQuery(std::u16string_view typed, BaseKeys& keys) {
    Query query;
    std::size_t words = 0;
    bool tooMany = false;
    // Each run between quotes: outside them every word is a phrase of its own,
    // inside them the run's words are one phrase.
    bool quoted = false;
    std::size_t from = 0;
    for (std::size_t i = 0; i <= typed.size() && !tooMany; ++i) {
        if (i < typed.size() && typed[i] != u'"') {
            continue;
        }
        std::vector<std::string> phrase;
        ForEachWord(typed.substr(from, i - from),
                    [&](std::size_t, std::size_t, const std::string& key) {
                        if (++words > kMaxQueryWords) {
                            tooMany = true;
                            return;
                        }
                        const std::string& base = keys.Of(key);
                        query.keys.insert(base);
                        if (quoted) {
                            phrase.push_back(base);
                        } else {
                            query.phrases.push_back({base});
                        }
                    });
        if (quoted && !phrase.empty()) {
            query.phrases.push_back(std::move(phrase));
        }
        quoted = !quoted;
        from = i + 1;
    }
    if (tooMany) {
        query = Query{};
        query.error =
            "Слишком длинный запрос: в нём больше " + std::to_string(kMaxQueryWords) + " слов";
    } else if (query.phrases.empty()) {
        query.error = "В запросе нет ни одного слова";
    }
    return query;
}

std::vector<Word> MatchedWords(std::u16string_view text, const Query& query, BaseKeys& keys) {
    return MatchedWords(std::vector<std::u16string>{std::u16string(text)}, query, keys).front();
}

std::vector<std::vector<Word>> MatchedWords(const std::vector<std::u16string>& texts,
                                            const Query& query, BaseKeys& keys) {
    std::vector<std::vector<Word>> words(texts.size());
    std::vector<std::vector<const std::string*>> bases(texts.size());
    for (std::size_t t = 0; t < texts.size(); ++t) {
        ForEachWord(texts[t], [&](std::size_t start, std::size_t end, const std::string& key) {
            words[t].push_back({start, end, key});
            bases[t].push_back(keys.Pending(key));
        });
    }
    keys.Resolve();
    for (std::size_t t = 0; t < texts.size(); ++t) {
        std::vector<Word> matched;
        for (std::size_t w = 0; w < words[t].size(); ++w) {
            if (query.keys.count(*bases[t][w]) != 0) {
                matched.push_back(std::move(words[t][w]));
            }
        }
        words[t] = std::move(matched);
    }
    return words;
}

} // namespace fulltext
