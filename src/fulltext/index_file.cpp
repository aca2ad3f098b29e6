// SPDX-License-Identifier: GPL-2.0-or-later
#include "fulltext/index_file.h"

#include "articles/provider.h"
#include "errors/exc_msg.h"
#include "fulltext/words.h"
#include "index/bsi_format.h"
#include "index/language_indexes.h"
#include "platform/ansi_literal.h"
#include "platform/code_page.h"
#include "platform/file_open.h"
#include "platform/file_replace.h"
#include "platform/source_file.h"
#include "text/index_key.h"

#include <sqlite3.h>

#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unordered_set>

namespace fulltext {
namespace {

constexpr const char* kFormat = "1";

constexpr const char* kSchema =
    "CREATE TABLE kelimbo_fulltext(key TEXT PRIMARY KEY, value) WITHOUT ROWID;"
    "CREATE TABLE entry(id INTEGER PRIMARY KEY, headword TEXT NOT NULL, refs BLOB NOT NULL);"
    "CREATE VIRTUAL TABLE body USING fts5(words, content='', columnsize=0, detail=full,"
    " tokenize='ascii');";

struct Statement {
    sqlite3_stmt* stmt = nullptr;
    Statement() = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { sqlite3_finalize(stmt); }
};

struct Connection {
    sqlite3* db = nullptr;
    Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() { sqlite3_close_v2(db); }
};

std::vector<ArticleRef> RefsOfBlob(const void* data, int bytes) {
    std::vector<ArticleRef> refs;
    if (data == nullptr || bytes <= 0 || bytes % static_cast<int>(bsi::kRecordSize) != 0) {
        return refs;
    }
    const auto* at = static_cast<const unsigned char*>(data);
    for (int k = 0; k < bytes / static_cast<int>(bsi::kRecordSize); ++k) {
        refs.push_back(bsi::RefRecordAt(at, static_cast<std::size_t>(k)));
    }
    return refs;
}

// The size and fingerprint of the text file at `path`, as the headword index
// records them; nothing when it cannot be read.
bool TextSizeAndFingerprint(const std::string& path, std::uint64_t& size,
                            std::uint64_t& fingerprint) {
    const platform::FileHandle file = platform::OpenFile(path, "rb");
    if (!file) {
        return false;
    }
    const std::optional<platform::OpenFileState> state = platform::StateOf(file.get());
    if (!state) {
        return false;
    }
    size = state->size;
    const std::optional<std::uint64_t> sampled = bsi::FingerprintOfFile(file.get(), size);
    if (!sampled) {
        return false;
    }
    fingerprint = *sampled;
    return true;
}

[[noreturn]] void RaiseWrite(const std::string& path, const char* what) {
    RaiseMsg(platform::Ansi(u8"Ошибка при записи полнотекстового индекса:\n%s\n%s").c_str(),
             platform::AnsiPath(path).c_str(), what);
}

void Exec(sqlite3* db, const char* sql, const std::string& path) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string text = error != nullptr ? error : "";
        sqlite3_free(error);
        RaiseWrite(path, text.c_str());
    }
}

void Prepare(sqlite3* db, const char* sql, Statement& statement, const std::string& path) {
    if (sqlite3_prepare_v2(db, sql, -1, &statement.stmt, nullptr) != SQLITE_OK) {
        RaiseWrite(path, sqlite3_errmsg(db));
    }
}

void Step(sqlite3* db, Statement& statement, const std::string& path) {
    if (sqlite3_step(statement.stmt) != SQLITE_DONE) {
        RaiseWrite(path, sqlite3_errmsg(db));
    }
    sqlite3_reset(statement.stmt);
}

void PutMeta(sqlite3* db, const char* key, const std::string& value, const std::string& path) {
    Statement put;
    Prepare(db, "INSERT INTO kelimbo_fulltext VALUES(?1, ?2)", put, path);
    sqlite3_bind_text(put.stmt, 1, key, -1, SQLITE_STATIC);
    sqlite3_bind_text(put.stmt, 2, value.data(), static_cast<int>(value.size()), SQLITE_STATIC);
    Step(db, put, path);
}

// Where a row's text lies in its batch's bytes.
struct Piece {
    std::size_t at = 0;
    std::size_t size = 0;
};

// One article's row, ready for the engine.
struct Row {
    ArticleRef ref;
    Piece headword; // the first headword that opens it, UTF-8
    Piece words;    // its words' base keys, a space after each
};

// Rows with their text in one buffer, not two strings a row: the thread that
// frees them is not the one that made them.
struct Rows {
    std::vector<Row> rows;
    std::string bytes;
    std::string_view Of(Piece piece) const { return {bytes.data() + piece.at, piece.size}; }
};

// Rows as the articles are read: each row's words as the places their base
// forms will be, and the words new to the batch, to be worked out.
struct ReadBatch {
    Rows rows;
    std::vector<std::size_t> firstWords; // per row: where its words begin in `bases`
    std::vector<const std::string*> bases;
    BaseKeys::NewKeys newKeys;
};

// Batches handed from one thread to the next. At most two wait, so memory
// stays bounded however large the text.
template <class Batch> class Handoff {
public:
    // False when the next thread has stopped: the batch is not wanted.
    bool Push(Batch&& batch) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_abandoned || m_batches.size() < kWaiting; });
        if (m_abandoned) {
            return false;
        }
        m_batches.push_back(std::move(batch));
        m_changed.notify_all();
        return true;
    }
    // The next batch; false once the thread before has finished and all
    // were taken.
    bool Pop(Batch& batch) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_finished || !m_batches.empty(); });
        if (m_batches.empty()) {
            return false;
        }
        batch = std::move(m_batches.front());
        m_batches.pop_front();
        m_changed.notify_all();
        return true;
    }
    void Finish() { Set(m_finished); }
    void Abandon() { Set(m_abandoned); }

private:
    static constexpr std::size_t kWaiting = 2;
    void Set(bool& flag) {
        const std::lock_guard lock(m_mutex);
        flag = true;
        m_changed.notify_all();
    }
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Batch> m_batches;
    bool m_finished = false;
    bool m_abandoned = false;
};

// First thread: reads every article of a direction once and folds its words.
void ReadArticles(const cIndex& headwords, const std::string& text, bool esperanto, BaseKeys& keys,
                  Handoff<ReadBatch>& out, std::uint64_t& textBytes) {
    constexpr std::size_t kBatch = 4096;
    ReadBatch batch;
    std::u16string decoded;
    const auto flush = [&] {
        batch.newKeys = keys.TakeNew();
        const bool wanted = out.Push(std::move(batch));
        batch = ReadBatch();
        return wanted;
    };
    const bool whole =
        ForEachRowArticle(headwords, text.size(), [&](std::uint32_t i, const ArticleRef& ref) {
            Row& row = batch.rows.rows.emplace_back();
            row.ref = ref;
            row.headword.at = batch.rows.bytes.size();
            append_index_key_utf8(batch.rows.bytes, headwords.HeadwordText(i));
            row.headword.size = batch.rows.bytes.size() - row.headword.at;
            batch.firstWords.push_back(batch.bases.size());
            const std::string_view bytes(text.data() + ref.start, ref.end - ref.start);
            textBytes += bytes.size();
            decoded = esperanto ? platform::FromAnsi(bytes) : platform::FromUtf8(bytes);
            ForEachWord(decoded, [&](std::size_t, std::size_t, const std::string& key) {
                batch.bases.push_back(keys.Pending(key));
            });
            return batch.rows.rows.size() < kBatch || flush();
        });
    if (whole) {
        flush();
    }
}

// Second thread: works out the base forms of a batch's new words (the
// Russian ones in one pass of the analyser) and writes each row's words.
void WorkOutWords(const BaseKeys& keys, Handoff<ReadBatch>& in, Handoff<Rows>& out) {
    ReadBatch batch;
    while (in.Pop(batch)) {
        keys.Resolve(batch.newKeys);
        std::vector<Row>& rows = batch.rows.rows;
        std::string& bytes = batch.rows.bytes;
        std::size_t size = bytes.size();
        for (const std::string* base : batch.bases) {
            size += base->size() + 1;
        }
        bytes.reserve(size);
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const std::size_t end =
                r + 1 < rows.size() ? batch.firstWords[r + 1] : batch.bases.size();
            rows[r].words.at = bytes.size();
            for (std::size_t w = batch.firstWords[r]; w < end; ++w) {
                bytes += *batch.bases[w];
                bytes += ' ';
            }
            rows[r].words.size = bytes.size() - rows[r].words.at;
        }
        if (!out.Push(std::move(batch.rows))) {
            return;
        }
    }
}

} // namespace

bool ForEachRowArticle(const cIndex& headwords, std::uint64_t textSize,
                       const std::function<bool(std::uint32_t, const ArticleRef&)>& each) {
    std::unordered_set<std::uint64_t> seen; // each article's start and end
    for (std::uint32_t i = 0; i < headwords.Count(); ++i) {
        for (const ArticleRef& ref : headwords.GetRefs(i)) {
            if (ref.end > ref.start && ref.end <= textSize &&
                ref.end - ref.start <= kMaxArticleBytes &&
                seen.insert((std::uint64_t{ref.start} << 32) | ref.end).second && !each(i, ref)) {
                return false;
            }
        }
    }
    return true;
}

BuildSummary WriteIndex(const std::string& textPath, const std::string& headwordIndexPath,
                        const std::string& indexPath, bool esperanto,
                        const forms::RussianAnalyser& analyser) {
    BaseKeys keys(analyser);
    return WriteIndex(textPath, headwordIndexPath, indexPath, esperanto, keys);
}

BuildSummary WriteIndex(const std::string& textPath, const std::string& headwordIndexPath,
                        const std::string& indexPath, bool esperanto, BaseKeys& keys) {
    std::unique_ptr<cIndex> headwords;
    if (esperanto) {
        headwords = std::make_unique<cIndexEo>();
    } else {
        headwords = std::make_unique<cIndexRu>();
    }
    headwords->Load(headwordIndexPath.c_str());
    std::string text;
    std::string why;
    if (platform::SourceFile source(textPath, platform::Links::Follow, why);
        !source.IsOpen() || !source.ReadAll(text, UINT64_MAX, why)) {
        RaiseMsg(platform::Ansi(u8"Ошибка при открытии файла словаря:\n%s").c_str(),
                 platform::AnsiPath(textPath).c_str());
    }
    const bsi::TextIdentity identity = bsi::IdentityOf(text);

    platform::NewFile file;
    if (!file.Create(indexPath) || !file.Finish()) {
        RaiseWrite(indexPath, std::strerror(errno));
    }
    BuildSummary summary;
    {
        Connection connection;
        if (sqlite3_open_v2(file.Path().c_str(), &connection.db, SQLITE_OPEN_READWRITE, nullptr) !=
            SQLITE_OK) {
            RaiseWrite(indexPath, connection.db != nullptr ? sqlite3_errmsg(connection.db) : "");
        }
        sqlite3* db = connection.db;
        Exec(db,
             "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA temp_store=MEMORY;"
             "PRAGMA cache_size=-65536; PRAGMA page_size=4096;",
             indexPath);
        Exec(db, kSchema, indexPath);
        // The engine gathers the words of rows in memory, 8 MB at a time, and
        // writes each such lot out as a segment. It merges none of them while
        // rows come in (by default it merges again and again as they grow),
        // only all at once at the end: the index is written about twice.
        Exec(db,
             "INSERT INTO body(body, rank) VALUES('automerge', 0);"
             "INSERT INTO body(body, rank) VALUES('crisismerge', 1000);"
             "INSERT INTO body(body, rank) VALUES('hashsize', 8388608);",
             indexPath);
        Exec(db, "BEGIN", indexPath);
        PutMeta(db, "format", kFormat, indexPath);
        PutMeta(db, "text_size", std::to_string(identity.size), indexPath);
        PutMeta(db, "text_fingerprint", std::to_string(identity.fingerprint), indexPath);

        Statement addEntry;
        Statement addBody;
        Prepare(db, "INSERT INTO entry VALUES(?1, ?2, ?3)", addEntry, indexPath);
        Prepare(db, "INSERT INTO body(rowid, words) VALUES(?1, ?2)", addBody, indexPath);

        // Three threads, each on the batches before it: the first reads the
        // articles and folds their words, the second works out the new
        // words' base forms, and this one gives the rows to the engine.
        Handoff<ReadBatch> read;
        Handoff<Rows> worked;
        std::exception_ptr readFailed;
        std::exception_ptr workFailed;
        std::thread reader;
        std::thread worker;
        struct Join {
            Handoff<ReadBatch>& read;
            Handoff<Rows>& worked;
            std::thread& reader;
            std::thread& worker;
            ~Join() {
                // A failed write stops the others at their next batch.
                worked.Abandon();
                read.Abandon();
                for (std::thread* thread : {&worker, &reader}) {
                    if (thread->joinable()) {
                        thread->join();
                    }
                }
            }
        } join{read, worked, reader, worker};
        reader = std::thread([&] {
            try {
                ReadArticles(*headwords, text, esperanto, keys, read, summary.textBytes);
            } catch (...) {
                readFailed = std::current_exception();
            }
            read.Finish();
        });
        worker = std::thread([&] {
            try {
                WorkOutWords(keys, read, worked);
            } catch (...) {
                workFailed = std::current_exception();
            }
            read.Abandon(); // no more batches are taken: the reader stops
            worked.Finish();
        });
        Rows rows;
        std::string refs;
        while (worked.Pop(rows)) {
            for (const Row& row : rows.rows) {
                const std::string_view headword = rows.Of(row.headword);
                const std::string_view words = rows.Of(row.words);
                const std::int64_t id = static_cast<std::int64_t>(++summary.entries);
                refs.clear();
                bsi::AppendRecord(refs, row.ref);
                sqlite3_bind_int64(addEntry.stmt, 1, id);
                sqlite3_bind_text(addEntry.stmt, 2, headword.data(),
                                  static_cast<int>(headword.size()), SQLITE_STATIC);
                sqlite3_bind_blob(addEntry.stmt, 3, refs.data(), static_cast<int>(refs.size()),
                                  SQLITE_STATIC);
                Step(db, addEntry, indexPath);
                sqlite3_bind_int64(addBody.stmt, 1, id);
                sqlite3_bind_text(addBody.stmt, 2, words.data(), static_cast<int>(words.size()),
                                  SQLITE_STATIC);
                Step(db, addBody, indexPath);
            }
        }
        // The worker has finished: it took every batch the reader gave, or
        // failed. The reader's state is known once it has stopped too.
        worker.join();
        reader.join();
        for (const std::exception_ptr& failed : {readFailed, workFailed}) {
            if (failed) {
                std::rethrow_exception(failed);
            }
        }
        Exec(db, "COMMIT", indexPath);
        // One segment for the whole index, then the pages the merge left
        // free given back.
        Exec(db, "INSERT INTO body(body) VALUES('optimize')", indexPath);
        Exec(db, "VACUUM", indexPath);
        if (sqlite3_close_v2(db) != SQLITE_OK) {
            RaiseWrite(indexPath, sqlite3_errmsg(db));
        }
        connection.db = nullptr;
    }
    {
        const platform::FileHandle written = platform::OpenFile(file.Path(), "rb+");
        if (!written || !platform::FlushToDisk(written.get())) {
            RaiseWrite(indexPath, std::strerror(errno));
        }
        const std::optional<platform::OpenFileState> state = platform::StateOf(written.get());
        summary.indexBytes = state ? state->size : 0;
    }
    if (!file.PutInPlace()) {
        RaiseWrite(indexPath, std::strerror(errno));
    }
    return summary;
}

// ---- Reading

struct IndexReader::Db {
    std::uint64_t textSize = 0; // what every article must lie inside
    Connection connection;
    Statement count;
    Statement select;
    Statement entry;
    Statement headword;
};

IndexReader::IndexReader() = default;
IndexReader::~IndexReader() = default;

bool IndexReader::IsOpen() const {
    return m_db != nullptr;
}

void IndexReader::Close() {
    m_db.reset();
}

namespace {

// Stops a statement when the caller's flag is set.
int Cancelled(void* flag) {
    return static_cast<const std::atomic<bool>*>(flag)->load(std::memory_order_relaxed) ? 1 : 0;
}

std::string ReadMeta(sqlite3* db, const char* key) {
    Statement get;
    if (sqlite3_prepare_v2(db, "SELECT value FROM kelimbo_fulltext WHERE key = ?1", -1, &get.stmt,
                           nullptr) != SQLITE_OK) {
        throw IndexError(sqlite3_errmsg(db));
    }
    sqlite3_bind_text(get.stmt, 1, key, -1, SQLITE_STATIC);
    const int step = sqlite3_step(get.stmt);
    if (step == SQLITE_ROW) {
        const unsigned char* value = sqlite3_column_text(get.stmt, 0);
        return value != nullptr ? reinterpret_cast<const char*>(value) : "";
    }
    if (step != SQLITE_DONE) {
        throw IndexError(sqlite3_errmsg(db));
    }
    return {};
}

} // namespace

IndexState IndexReader::Open(const std::string& indexPath, const std::string& textPath,
                             std::string& message) {
    Close();
    message.clear();
    struct stat info {};
    if (::stat(indexPath.c_str(), &info) != 0) {
        message = "нет файла " + indexPath;
        return IndexState::Missing;
    }
    auto db = std::make_unique<Db>();
    try {
        if (sqlite3_open_v2(indexPath.c_str(), &db->connection.db, SQLITE_OPEN_READONLY, nullptr) !=
            SQLITE_OK) {
            throw IndexError(db->connection.db != nullptr ? sqlite3_errmsg(db->connection.db)
                                                          : "нет памяти");
        }
        sqlite3* handle = db->connection.db;
        // The file is input: no trust in its schema, no memory map a file cut
        // short underneath could fault, every page's cells checked.
        sqlite3_db_config(handle, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
        sqlite3_db_config(handle, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
        sqlite3_exec(handle, "PRAGMA mmap_size=0; PRAGMA cell_size_check=ON; PRAGMA query_only=ON;",
                     nullptr, nullptr, nullptr);
        if (ReadMeta(handle, "format") != kFormat) {
            message = "файл " + indexPath + " не полнотекстовый индекс этой версии";
            return IndexState::Damaged;
        }
        std::uint64_t size = 0;
        std::uint64_t fingerprint = 0;
        if (!TextSizeAndFingerprint(textPath, size, fingerprint) ||
            ReadMeta(handle, "text_size") != std::to_string(size) ||
            ReadMeta(handle, "text_fingerprint") != std::to_string(fingerprint)) {
            message = "индекс " + indexPath + " построен для другого текста словаря";
            return IndexState::Stale;
        }
        db->textSize = size;
        if (sqlite3_prepare_v2(handle,
                               "SELECT count(*) FROM (SELECT rowid FROM body WHERE body MATCH ?1"
                               " LIMIT ?2)",
                               -1, &db->count.stmt, nullptr) != SQLITE_OK ||
            sqlite3_prepare_v2(handle,
                               "SELECT rowid FROM body WHERE body MATCH ?1 ORDER BY rowid"
                               " LIMIT ?2 OFFSET ?3",
                               -1, &db->select.stmt, nullptr) != SQLITE_OK ||
            sqlite3_prepare_v2(handle, "SELECT headword, refs FROM entry WHERE id = ?1", -1,
                               &db->entry.stmt, nullptr) != SQLITE_OK ||
            sqlite3_prepare_v2(handle, "SELECT headword FROM entry WHERE refs = ?1 LIMIT 1", -1,
                               &db->headword.stmt, nullptr) != SQLITE_OK) {
            throw IndexError(sqlite3_errmsg(handle));
        }
    } catch (const IndexError& e) {
        message = indexPath + ": " + e.what();
        return IndexState::Damaged;
    }
    m_db = std::move(db);
    return IndexState::Ready;
}

namespace {

class Progress {
public:
    Progress(sqlite3* db, const std::atomic<bool>* cancel) : m_db(db) {
        if (cancel != nullptr) {
            sqlite3_progress_handler(db, 256, Cancelled,
                                     const_cast<void*>(static_cast<const void*>(cancel)));
        }
    }
    ~Progress() { sqlite3_progress_handler(m_db, 0, nullptr, nullptr); }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

private:
    sqlite3* m_db;
};

// A step that is neither a row nor the end: interrupted by the caller (an
// ordinary end), or the file's fault.
bool EndOrFail(sqlite3* db, int step) {
    if (step == SQLITE_DONE || step == SQLITE_INTERRUPT) {
        return true;
    }
    throw IndexError(sqlite3_errmsg(db));
}

} // namespace

std::size_t IndexReader::Count(const Phrases& phrases, std::size_t limit,
                               const std::atomic<bool>* cancel) {
    if (!m_db) {
        return 0;
    }
    sqlite3* db = m_db->connection.db;
    const std::string match = MatchExpression(phrases);
    Statement& count = m_db->count;
    sqlite3_reset(count.stmt);
    sqlite3_bind_text(count.stmt, 1, match.data(), static_cast<int>(match.size()),
                      SQLITE_TRANSIENT);
    sqlite3_bind_int64(count.stmt, 2, static_cast<sqlite3_int64>(limit));
    const Progress progress(db, cancel);
    const int step = sqlite3_step(count.stmt);
    std::size_t counted = 0;
    if (step == SQLITE_ROW) {
        counted = static_cast<std::size_t>(sqlite3_column_int64(count.stmt, 0));
    } else {
        EndOrFail(db, step);
    }
    sqlite3_reset(count.stmt);
    return counted;
}

std::vector<Entry> IndexReader::Select(const Phrases& phrases, std::size_t offset,
                                       std::size_t limit, const std::atomic<bool>* cancel) {
    std::vector<Entry> entries;
    if (!m_db) {
        return entries;
    }
    sqlite3* db = m_db->connection.db;
    const std::string match = MatchExpression(phrases);
    std::vector<sqlite3_int64> ids;
    {
        Statement& select = m_db->select;
        sqlite3_reset(select.stmt);
        sqlite3_bind_text(select.stmt, 1, match.data(), static_cast<int>(match.size()),
                          SQLITE_TRANSIENT);
        sqlite3_bind_int64(select.stmt, 2, static_cast<sqlite3_int64>(limit));
        sqlite3_bind_int64(select.stmt, 3, static_cast<sqlite3_int64>(offset));
        const Progress progress(db, cancel);
        int step = 0;
        while ((step = sqlite3_step(select.stmt)) == SQLITE_ROW) {
            ids.push_back(sqlite3_column_int64(select.stmt, 0));
        }
        sqlite3_reset(select.stmt);
        EndOrFail(db, step);
    }
    Statement& get = m_db->entry;
    for (const sqlite3_int64 id : ids) {
        sqlite3_reset(get.stmt);
        sqlite3_bind_int64(get.stmt, 1, id);
        const int step = sqlite3_step(get.stmt);
        if (step != SQLITE_ROW) {
            sqlite3_reset(get.stmt);
            throw IndexError(step == SQLITE_DONE ? "нет записи статьи" : sqlite3_errmsg(db));
        }
        Entry entry;
        const unsigned char* headword = sqlite3_column_text(get.stmt, 0);
        if (headword != nullptr) {
            entry.headword = reinterpret_cast<const char*>(headword);
        }
        entry.refs =
            RefsOfBlob(sqlite3_column_blob(get.stmt, 1), sqlite3_column_bytes(get.stmt, 1));
        sqlite3_reset(get.stmt);
        // A damaged row may point anywhere; the articles it opens must be
        // ones the text holds.
        if (entry.refs.empty()) {
            throw IndexError("запись без статей");
        }
        for (const ArticleRef& ref : entry.refs) {
            if (ref.end < ref.start || ref.end > m_db->textSize ||
                ref.end - ref.start > kMaxArticleBytes) {
                throw IndexError("статья за пределами текста словаря");
            }
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string IndexReader::HeadwordOf(const std::vector<ArticleRef>& refs) {
    if (!m_db || refs.empty()) {
        return {};
    }
    std::string blob;
    for (const ArticleRef& ref : refs) {
        bsi::AppendRecord(blob, ref);
    }
    Statement& get = m_db->headword;
    sqlite3_reset(get.stmt);
    sqlite3_bind_blob(get.stmt, 1, blob.data(), static_cast<int>(blob.size()), SQLITE_STATIC);
    const int step = sqlite3_step(get.stmt);
    std::string headword;
    if (step == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(get.stmt, 0);
        if (text != nullptr) {
            headword = reinterpret_cast<const char*>(text);
        }
    }
    sqlite3_reset(get.stmt);
    if (step != SQLITE_ROW && step != SQLITE_DONE) {
        throw IndexError(sqlite3_errmsg(m_db->connection.db));
    }
    return headword;
}

std::string MatchExpression(const Phrases& phrases) {
    std::string match;
    for (const std::vector<std::string>& phrase : phrases) {
        if (!match.empty()) {
            match += " AND ";
        }
        match += '"';
        for (std::size_t k = 0; k < phrase.size(); ++k) {
            if (k > 0) {
                match += ' ';
            }
            for (const char c : phrase[k]) {
                if (c != '"') {
                    match += c;
                }
            }
        }
        match += '"';
    }
    return match;
}

} // namespace fulltext
