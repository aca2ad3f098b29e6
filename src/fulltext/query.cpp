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
    std::vector<Word> matched;
    ForEachWord(text, [&](std::size_t start, std::size_t end, const std::string& key) {
        if (query.keys.count(keys.Of(key)) != 0) {
            matched.push_back({start, end, key});
        }
    });
    return matched;
}

} // namespace fulltext
