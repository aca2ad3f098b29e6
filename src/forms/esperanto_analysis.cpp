// SPDX-License-Identifier: GPL-2.0-or-later
// The split is a search over letter positions of the word's stem (the word
// without its endings), memoised on (position, whether a root has come): each
// state is solved once, so the work grows with the square of the length, not
// with the number of splits. Every headword question is asked once per call.

#include "forms/esperanto_analysis.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

namespace forms {
namespace {

// Longer words are not analysed: no real compound comes near.
constexpr std::size_t kMaxWordBytes = 80;
// A root has at least this many letters, and at most this many.
constexpr std::size_t kMinRootBytes = 2;
constexpr std::size_t kMaxRootBytes = 24;

// Prefixes, and the little words that stand as prefixes (eliri, antauxdiri,
// cxiutage, tiutempe): their headwords are the bare word.
constexpr std::array<std::string_view, 11> kPrefixes = {"bo",  "dis", "ek",  "eks", "fi", "ge",
                                                        "mal", "mis", "pra", "re",  "ne"};
constexpr std::array<std::string_view, 26> kLittleWords = {
    "al",   "el",     "en",    "sur",   "sub",   "pri",      "tra",      "kun",    "for",
    "post", "antaux", "trans", "super", "inter", "kontraux", "cxirkaux", "ekster", "sen",
    "apud", "preter", "dum",   "tre",   "cxiu",  "tiu",      "kiu",      "neniu"};
constexpr std::array<std::string_view, 30> kSuffixes = {
    "acx", "ad",  "ajx",  "an",  "ar", "ebl", "ec",  "eg", "ej", "em",
    "end", "er",  "estr", "et",  "id", "ig",  "igx", "il", "in", "ind",
    "ing", "ism", "ist",  "obl", "on", "op",  "uj",  "ul", "um", "cxj"};
// The endings a root's headword may have, in the order tried.
constexpr std::string_view kRootEndings = "oaie";

enum class Kind { Prefix, Root, Suffix };

struct Piece {
    std::size_t length = 0; // letters of the stem it covers, a joining -o- included
    std::string key;
    Kind kind = Kind::Root;
};

using Split = std::vector<Piece>;

// Fewer parts first; then, piece by piece, the longer one.
bool Better(const Split& a, const Split& b) {
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].length != b[i].length) {
            return a[i].length > b[i].length;
        }
    }
    return false;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

// The word without its number, case and word-class or verb endings; empty when
// it has no ending a compound can end with.
std::string Stem(std::string word) {
    if (word.ends_with("jn") || (word.ends_with('n') && !word.ends_with("jn"))) {
        word.erase(word.size() - (word.ends_with("jn") ? 2 : 1));
    } else if (word.ends_with('j')) {
        word.pop_back();
    }
    for (const std::string_view ending : {"as", "is", "os", "us", "u", "i", "o", "a", "e"}) {
        if (word.ends_with(ending)) {
            word.erase(word.size() - ending.size());
            return word;
        }
    }
    return {};
}

class Search {
public:
    Search(std::string stem, const IsHeadword& isHeadword)
        : m_stem(std::move(stem)), m_isHeadword(isHeadword), m_memo(2 * (m_stem.size() + 1)) {}

    // The best split of the stem from `at` on; `rooted` when a root has come.
    const std::optional<Split>& Best(std::size_t at, bool rooted) {
        Memo& memo = m_memo[2 * at + (rooted ? 1 : 0)];
        if (memo.solved) {
            return memo.best;
        }
        memo.solved = true;
        std::optional<Split> best;
        const auto consider = [&](Piece piece, bool nowRooted) {
            const std::size_t next = at + piece.length;
            std::optional<Split> rest;
            if (next == m_stem.size()) {
                if (!nowRooted) {
                    return;
                }
                rest = Split{};
            } else {
                rest = Best(next, nowRooted);
                if (!rest) {
                    return;
                }
            }
            rest->insert(rest->begin(), std::move(piece));
            if (!best || Better(*rest, *best)) {
                best = std::move(rest);
            }
        };
        const std::string_view rest = std::string_view(m_stem).substr(at);
        if (!rooted) {
            for (const std::string_view prefix : kPrefixes) {
                if (rest.starts_with(prefix) && Known(std::string(prefix) + '-')) {
                    consider({prefix.size(), std::string(prefix) + '-', Kind::Prefix}, false);
                }
            }
            for (const std::string_view word : kLittleWords) {
                if (rest.starts_with(word) && Known(std::string(word))) {
                    consider({word.size(), std::string(word), Kind::Prefix}, false);
                }
            }
        } else {
            for (const std::string_view suffix : kSuffixes) {
                const std::string key = '-' + std::string(suffix) + '-';
                if (rest.starts_with(suffix) && Known(key)) {
                    consider({suffix.size(), key, Kind::Suffix}, true);
                }
            }
        }
        // A root, after an earlier root possibly joined by -o-.
        for (const std::size_t joint : {std::size_t{0}, std::size_t{1}}) {
            if (joint == 1 && (!rooted || !rest.starts_with('o'))) {
                continue;
            }
            const std::string_view tail = rest.substr(joint);
            for (std::size_t n = std::min(kMaxRootBytes, tail.size()); n >= kMinRootBytes; --n) {
                if (tail[0] == 'x' || (n < tail.size() && tail[n] == 'x')) {
                    continue; // would split an accented letter
                }
                if (std::optional<std::string> key = RootKey(tail.substr(0, n))) {
                    consider({joint + n, std::move(*key), Kind::Root}, true);
                }
            }
        }
        memo.best = std::move(best);
        return memo.best;
    }

private:
    struct Memo {
        bool solved = false;
        std::optional<Split> best;
    };

    bool Known(const std::string& key) {
        const auto [it, inserted] = m_known.try_emplace(key, false);
        if (inserted) {
            it->second = m_isHeadword(key);
        }
        return it->second;
    }

    std::optional<std::string> RootKey(std::string_view root) {
        for (const char ending : kRootEndings) {
            std::string key = std::string(root) + ending;
            if (Known(key)) {
                return key;
            }
        }
        return std::nullopt;
    }

    const std::string m_stem;
    const IsHeadword& m_isHeadword;
    std::vector<Memo> m_memo;
    std::map<std::string, bool> m_known;
};

} // namespace

std::vector<WordPart> AnalyseEsperantoWord(std::string_view query, const IsHeadword& isHeadword) {
    std::vector<WordPart> parts;
    if (query.size() > kMaxWordBytes || !isHeadword) {
        return parts;
    }
    std::string stem = Stem(Lower(query));
    if (stem.size() < kMinRootBytes) {
        return parts;
    }
    Search search(std::move(stem), isHeadword);
    const std::optional<Split>& best = search.Best(0, false);
    if (!best || best->size() < 2) {
        return parts;
    }
    for (const Piece& piece : *best) {
        parts.push_back({piece.key, piece.kind != Kind::Root});
    }
    return parts;
}

} // namespace forms
