// SPDX-License-Identifier: GPL-2.0-or-later
// The two candidate engines of the full-text index on the same words: SQLite
// FTS5 and Xapian, each given every entry's words (folded, under their base
// forms, as the program indexes them) with their positions.
//
//   kelimbo-bench-fulltext-engines DICTIONARY_FOLDER fts5|xapian WORK_FOLDER
//
// Reads the Esperanto–Russian direction of the folder, builds the engine's
// index in WORK_FOLDER (emptied first), and prints one "name value unit" a
// line: the words' preparation time (the same for both), the engine's build
// time, its index size, the medians of first-page queries (51 results in
// entry order, as the program asks) for one word, two words and a common word,
// and the process's peak memory. Run it once per engine: the peak is the
// process's own.
#include "articles/dictionary_files.h"
#include "articles/provider.h"
#include "forms/russian_analyser.h"
#include "fulltext/index_file.h"
#include "fulltext/words.h"
#include "index/language_indexes.h"
#include "platform/code_page.h"

#include <sqlite3.h>
#include <xapian.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Every entry's base keys, in order, as the index writer makes them.
std::vector<std::vector<std::string>> EntryWords(const fs::path& folder, std::uint64_t& textBytes) {
    cIndexEo index;
    index.Load((folder / kEsperantoFiles.index).string().c_str());
    std::ifstream in(folder / kEsperantoFiles.text, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const forms::RussianAnalyser analyser;
    fulltext::BaseKeys keys(analyser);
    std::vector<std::vector<const std::string*>> pending;
    // One entry per article, as the index writer keeps them.
    fulltext::ForEachRowArticle(index, text.size(), [&](std::uint32_t, const ArticleRef& ref) {
        textBytes += ref.end - ref.start;
        std::vector<const std::string*> words;
        fulltext::ForEachWord(
            platform::FromAnsi(std::string_view(text).substr(ref.start, ref.end - ref.start)),
            [&](std::size_t, std::size_t, const std::string& key) {
                words.push_back(keys.Pending(key));
            });
        pending.push_back(std::move(words));
        return true;
    });
    keys.Resolve();
    std::vector<std::vector<std::string>> entries;
    entries.reserve(pending.size());
    for (const auto& words : pending) {
        std::vector<std::string> entry;
        entry.reserve(words.size());
        for (const std::string* word : words) {
            entry.push_back(*word);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::uint64_t FolderBytes(const fs::path& folder) {
    std::uint64_t bytes = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            bytes += entry.file_size();
        }
    }
    return bytes;
}

struct Queries {
    std::vector<std::vector<std::string>> one, two, common;
};

// One-word queries: words in between 10 and 1,000 entries; two-word ones:
// two such words of one entry; common: the top 1 % of words by entries.
Queries ChooseQueries(const std::vector<std::vector<std::string>>& entries) {
    std::unordered_map<std::string, std::size_t> frequency;
    for (const auto& entry : entries) {
        std::vector<std::string> distinct(entry);
        std::sort(distinct.begin(), distinct.end());
        distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
        for (const std::string& word : distinct) {
            ++frequency[word];
        }
    }
    std::vector<std::pair<std::size_t, std::string>> byFrequency;
    for (const auto& [word, count] : frequency) {
        byFrequency.emplace_back(count, word);
    }
    std::sort(byFrequency.rbegin(), byFrequency.rend());
    Queries queries;
    std::mt19937 random(27);
    const std::size_t top = std::max<std::size_t>(1, byFrequency.size() / 100);
    for (int k = 0; k < 50; ++k) {
        queries.common.push_back({byFrequency[random() % top].second});
    }
    std::vector<std::string> middle;
    for (const auto& [count, word] : byFrequency) {
        if (count >= 10 && count <= 1000) {
            middle.push_back(word);
        }
    }
    for (int k = 0; k < 50 && !middle.empty(); ++k) {
        queries.one.push_back({middle[random() % middle.size()]});
    }
    for (int tries = 0; queries.two.size() < 50 && tries < 100000; ++tries) {
        const auto& entry = entries[random() % entries.size()];
        if (entry.size() < 4) {
            continue;
        }
        const std::string& a = entry[random() % entry.size()];
        const std::string& b = entry[random() % entry.size()];
        if (a != b && frequency[a] >= 10 && frequency[b] >= 10) {
            queries.two.push_back({a, b});
        }
    }
    return queries;
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Report(const char* name, double value, const char* unit) {
    std::cout << name << ' ' << value << ' ' << unit << '\n';
}

// ---- FTS5, as the program's index holds it: contentless, positions kept,
// the same settings.

void BuildFts5(const std::vector<std::vector<std::string>>& entries, const fs::path& file) {
    sqlite3* db = nullptr;
    sqlite3_open(file.string().c_str(), &db);
    sqlite3_exec(db,
                 "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA cache_size=-65536;"
                 "CREATE VIRTUAL TABLE body USING fts5(words, content='', columnsize=0,"
                 " detail=full, tokenize='ascii');"
                 // The program's settings: merged once, at the end.
                 "INSERT INTO body(body, rank) VALUES('automerge', 0);"
                 "INSERT INTO body(body, rank) VALUES('crisismerge', 1000);"
                 "INSERT INTO body(body, rank) VALUES('hashsize', 8388608); BEGIN;",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* add = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO body(rowid, words) VALUES(?1, ?2)", -1, &add, nullptr);
    std::string words;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        words.clear();
        for (const std::string& word : entries[i]) {
            words += word;
            words += ' ';
        }
        sqlite3_bind_int64(add, 1, static_cast<sqlite3_int64>(i + 1));
        sqlite3_bind_text(add, 2, words.data(), static_cast<int>(words.size()), SQLITE_STATIC);
        sqlite3_step(add);
        sqlite3_reset(add);
    }
    sqlite3_finalize(add);
    sqlite3_exec(db, "COMMIT; INSERT INTO body(body) VALUES('optimize'); VACUUM;", nullptr, nullptr,
                 nullptr);
    sqlite3_close(db);
}

std::size_t QueryFts5(sqlite3_stmt* select, const std::vector<std::string>& words) {
    fulltext::Phrases phrases;
    for (const std::string& word : words) {
        phrases.push_back({word});
    }
    const std::string match = fulltext::MatchExpression(phrases);
    sqlite3_reset(select);
    sqlite3_bind_text(select, 1, match.data(), static_cast<int>(match.size()), SQLITE_TRANSIENT);
    std::size_t rows = 0;
    while (sqlite3_step(select) == SQLITE_ROW) {
        ++rows;
    }
    return rows;
}

// ---- Xapian: a term a word with its positions, documents in entry order.

void BuildXapian(const std::vector<std::vector<std::string>>& entries, const fs::path& folder) {
    Xapian::WritableDatabase db(folder.string(), Xapian::DB_CREATE_OR_OVERWRITE);
    for (const auto& entry : entries) {
        Xapian::Document document;
        Xapian::termpos position = 0;
        for (const std::string& word : entry) {
            document.add_posting(word, ++position);
        }
        db.add_document(document);
    }
    db.commit();
    db.compact(folder.string() + ".compact");
    db.close();
    fs::remove_all(folder);
    fs::rename(folder.string() + ".compact", folder);
}

std::size_t QueryXapian(Xapian::Enquire& enquire, const std::vector<std::string>& words) {
    enquire.set_query(Xapian::Query(Xapian::Query::OP_AND, words.begin(), words.end()));
    return enquire.get_mset(0, 51).size();
}

template <class Query>
void Time(const char* name, const std::vector<std::vector<std::string>>& queries, Query&& query) {
    std::vector<double> times;
    std::size_t found = 0;
    for (const auto& words : queries) {
        const auto start = Clock::now();
        found += query(words);
        times.push_back(Seconds(start) * 1000);
    }
    Report(name, Median(times), "ms");
    std::cout << "# " << name << ": " << queries.size() << " queries, " << found << " results\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4 || (std::string(argv[2]) != "fts5" && std::string(argv[2]) != "xapian")) {
        std::cerr << "usage: kelimbo-bench-fulltext-engines DICTIONARY_FOLDER fts5|xapian WORK\n";
        return 2;
    }
    const fs::path folder = argv[1];
    const std::string engine = argv[2];
    const fs::path work = argv[3];
    fs::remove_all(work);
    fs::create_directories(work);

    std::uint64_t textBytes = 0;
    auto start = Clock::now();
    const std::vector<std::vector<std::string>> entries = EntryWords(folder, textBytes);
    Report("words_seconds", Seconds(start), "s");
    Report("article_text", static_cast<double>(textBytes), "bytes");
    Report("entries", static_cast<double>(entries.size()), "");
    const Queries queries = ChooseQueries(entries);

    const fs::path index = work / (engine == "fts5" ? "index.fts" : "index.xapian");
    start = Clock::now();
    if (engine == "fts5") {
        BuildFts5(entries, index);
    } else {
        BuildXapian(entries, index);
    }
    const double build = Seconds(start);
    Report("build_seconds", build, "s");
    Report("build_rate", static_cast<double>(textBytes) / build / 1e6, "MB/s");
    const std::uint64_t size = fs::is_directory(index) ? FolderBytes(index) : fs::file_size(index);
    Report("index_size", static_cast<double>(size), "bytes");
    Report("index_to_text", static_cast<double>(size) / static_cast<double>(textBytes), "x");

    if (engine == "fts5") {
        sqlite3* db = nullptr;
        sqlite3_open_v2(index.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db, "SELECT rowid FROM body WHERE body MATCH ?1 ORDER BY rowid LIMIT 51",
                           -1, &select, nullptr);
        const auto query = [&](const std::vector<std::string>& words) {
            return QueryFts5(select, words);
        };
        Time("one_word_median", queries.one, query);
        Time("two_word_median", queries.two, query);
        Time("common_word_median", queries.common, query);
        sqlite3_finalize(select);
        sqlite3_close(db);
    } else {
        Xapian::Database db(index.string());
        Xapian::Enquire enquire(db);
        enquire.set_weighting_scheme(Xapian::BoolWeight());
        enquire.set_docid_order(Xapian::Enquire::ASCENDING);
        const auto query = [&](const std::vector<std::string>& words) {
            return QueryXapian(enquire, words);
        };
        Time("one_word_median", queries.one, query);
        Time("two_word_median", queries.two, query);
        Time("common_word_median", queries.common, query);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    Report("peak_memory", static_cast<double>(usage.ru_maxrss) / 1024, "MB");
    fs::remove_all(work);
    return 0;
}
