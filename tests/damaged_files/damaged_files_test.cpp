// SPDX-License-Identifier: GPL-2.0-or-later
// Every data file a user can hand the program, damaged in every way we can
// think of: the lookup path (indexes and text files) and the history file must
// give their message or their quiet fallback, never crash or read outside their
// data, and never change a dictionary file.
#include "articles/dictionary_files.h"
#include "articles/provider.h"
#include "damage.h"
#include "errors/checked_io.h"
#include "errors/exc_msg.h"
#include "history/history.h"
#include "history/history_file.h"
#include "index/bsi_format.h"
#include "lookup/lookup_core.h"
#include "platform/code_page.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>

namespace {

namespace fs = std::filesystem;
using platform::FromUtf8;
using platform::ToUtf8;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

constexpr const char* kRuIndex = kRussianFiles.index;
constexpr const char* kEoIndex = kEsperantoFiles.index;
constexpr const char* kRuText = kRussianFiles.text;
constexpr const char* kEoText = kEsperantoFiles.text;
constexpr const char* kHistory = kHistoryFileName;

// Queries that reach many headwords of both dictionaries.
const char* const kQueries[] = {"a", "cx", "male", "-", "\"", "к", "ё", "1", "«", "zzzz"};

class DamagedFiles : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {kRuIndex, kEoIndex, kRuText, kEoText}) {
            good[name] = ReadBytes(fs::path(KELIMBO_SAMPLE_DIR) / name);
            ASSERT_FALSE(good[name].empty()) << name;
        }
        Restore();
    }

    void Restore() {
        for (const auto& [name, bytes] : good) {
            std::error_code ignored;
            fs::remove_all(dir.File(name), ignored);
            WriteBytes(dir.File(name), bytes);
        }
    }

    std::string Path(const char* name) const { return dir.Path().string() + "/" + name; }

    // The files other than `damaged` are exactly as they were. Reading them all
    // back costs more than the lookups, so callers sample it.
    void ExpectOthersUnchanged(const char* damaged, const std::string& variant) {
        for (const auto& [name, bytes] : good) {
            if (name != damaged) {
                ASSERT_EQ(ReadBytes(dir.File(name)), bytes) << name << " changed: " << variant;
            }
        }
    }

    TempDir dir;
    std::map<std::string, std::string> good;
};

// Looks every query up (its queries load both indexes), reading the
// first article of each list. Returns the message of a failed load ("" when
// the indexes loaded); article failures must carry a dictionary-file message.
std::string LookUpEverything(const std::string& folder, const std::string& variant) {
    try {
        LookupCore dictionaries(folder);
        for (const char* query : kQueries) {
            const ListResult list = dictionaries.List(FromUtf8(query));
            EXPECT_LE(list.lines.size(), 50u) << variant;
            EXPECT_LE(list.shown.first, list.shown.last) << variant;
            if (list.lines.empty()) {
                continue;
            }
            try {
                dictionaries.Article(list, 0);
            } catch (const cExcMsg& e) {
                const std::string message = ToUtf8(e.GetMsg());
                EXPECT_TRUE(message.starts_with("Ошибка при открытии файла словаря:\n") ||
                            message.starts_with("Ошибка при чтении файла словаря:\n \""))
                    << variant << ": " << message;
            }
        }
    } catch (const cExcMsg& e) {
        return ToUtf8(e.GetMsg());
    }
    return "";
}

TEST_F(DamagedFiles, IndexesGiveALoadMessageOrWorkingLookups) {
    for (const char* name : {kRuIndex, kEoIndex}) {
        const std::string& bytes = good[name];
        const std::string path = Path(name);
        const std::vector<std::string> allowed = {
            "Ошибка при открытии файла индекса:\n" + path,
            "Неподходящая версия индексного файла",
            "Ошибка при чтении файла индекса:\n \"" + path + "\"",
            "Недостаточно памяти",
        };
        std::size_t failed = 0;
        std::size_t checked = 0;
        // The lookups on the file as it is now, which holds `damaged`.
        const auto check = [&](const std::string& variant, const auto& damaged) {
            const std::string message = LookUpEverything(dir.AnsiPath(""), variant);
            if (!message.empty()) {
                ++failed;
                EXPECT_NE(std::find(allowed.begin(), allowed.end(), message), allowed.end())
                    << name << " " << variant << ": " << message;
            }
            if (++checked % 97 == 0) {
                ASSERT_EQ(ReadBytes(dir.File(name)), damaged()) << "the index was changed";
                ExpectOthersUnchanged(name, variant);
            }
        };
        damage::FileInPlace file(dir.File(name), bytes);
        for (std::size_t n = bytes.size(); n-- > 0;) {
            file.CutTo(n);
            check("cut at " + std::to_string(n), [&] { return bytes.substr(0, n); });
        }
        file.Restore();
        std::vector<damage::ByteChanges> changes =
            damage::FlippedByteChanges(bytes.size(), 2000, 1251);
        for (auto& c : damage::HugeFieldChanges(bytes, 28)) {
            changes.push_back(std::move(c));
        }
        for (const damage::ByteChanges& c : changes) {
            file.Change(c);
            check(c.name, [&] { return damage::Applied(bytes, c); });
            file.Undo(c);
        }
        // Every cut loses part of the file, so at least every cut is refused.
        EXPECT_GE(failed, bytes.size()) << name;
    }
}

// The identity block that ends a bound index, damaged. A block that fails its
// own check is a damaged index: the read error naming it. A block no longer
// recognised as one (its magic or version changed, or cut away) leaves an
// index like those made before indexes recorded their text, which loads and
// reads its articles as before. A sound block that records another text
// refuses the pair, naming both files.
TEST_F(DamagedFiles, ADamagedIdentityBlockIsRefusedOrLeavesAnIndexWithoutOne) {
    const std::string& bound = good[kEoIndex];
    const std::size_t block = bound.size() - bsi::kIdentitySize;
    bsi::IdentityBytes identity{};
    std::copy(bound.begin() + static_cast<std::ptrdiff_t>(block), bound.end(), identity.begin());
    ASSERT_TRUE(bsi::DecodeIdentity(identity)) << "the sample index records its text";
    const auto firstArticle = [&] {
        LookupCore dictionaries(dir.AnsiPath(""));
        return dictionaries.Article(dictionaries.List(u"cx"), 0);
    };
    const std::u16string article = firstArticle();

    const std::string readError = "Ошибка при чтении файла индекса:\n \"" + Path(kEoIndex) + "\"";
    struct Case {
        std::string name;
        std::string bytes;
        std::string message; // "": loads
    };
    std::vector<Case> cases;
    for (std::size_t k = 0; k < bsi::kIdentitySize; ++k) {
        for (const char bit : {'\x01', '\x80'}) {
            std::string bytes = bound;
            bytes[block + k] = static_cast<char>(bytes[block + k] ^ bit);
            cases.push_back({"byte " + std::to_string(k) + " of the block changed", bytes,
                             k < 8 ? "" : readError});
        }
    }
    cases.push_back({"the block cut away", bound.substr(0, block), ""});
    bsi::TextIdentity other = *bsi::DecodeIdentity(identity);
    other.size += 1;
    const bsi::IdentityBytes otherBlock = bsi::EncodeIdentity(other);
    cases.push_back(
        {"another text's block",
         bound.substr(0, block) + std::string(otherBlock.begin(), otherBlock.end()),
         "Файл словаря не соответствует индексу:\n" + Path(kEoText) + "\n" + Path(kEoIndex)});
    for (const Case& c : cases) {
        WriteBytes(dir.File(kEoIndex), c.bytes);
        EXPECT_EQ(LookUpEverything(dir.AnsiPath(""), c.name), c.message) << c.name;
        if (c.message.empty()) {
            EXPECT_EQ(firstArticle(), article) << c.name;
        }
    }
}

TEST_F(DamagedFiles, MissingEmptyOrDirectoryIndexIsReportedByName) {
    for (const char* name : {kRuIndex, kEoIndex}) {
        const std::string path = Path(name);
        fs::remove(dir.File(name));
        EXPECT_EQ(LookUpEverything(dir.AnsiPath(""), "missing"),
                  "Ошибка при открытии файла индекса:\n" + path);
        const std::string readError = "Ошибка при чтении файла индекса:\n \"" + path + "\"";
        WriteBytes(dir.File(name), "");
        EXPECT_EQ(LookUpEverything(dir.AnsiPath(""), "empty"), readError);
        fs::remove(dir.File(name));
        fs::create_directory(dir.File(name));
        const std::string message = LookUpEverything(dir.AnsiPath(""), "directory");
        EXPECT_TRUE(message == readError ||
                    message == "Ошибка при открытии файла индекса:\n" + path)
            << message;
        Restore();
    }
}

TEST_F(DamagedFiles, TextFilesGiveTheArticleOrTheReadMessage) {
    for (const bool esperanto : {true, false}) {
        const char* name = esperanto ? kEoText : kRuText;
        const char* indexName = esperanto ? kEoIndex : kRuIndex;
        cIndexRu ru;
        cIndexEo eo;
        cIndex& index = esperanto ? static_cast<cIndex&>(eo) : ru;
        index.Load(Path(indexName).c_str());
        cKelimboProvRu ruProv;
        cKelimboProvEo eoProv;
        cKelimboProv& provider = esperanto ? static_cast<cKelimboProv&>(eoProv) : ruProv;
        provider.path = Path(name);

        // The articles in file order, with the text each shows from the good file.
        std::vector<std::pair<ArticleRef, std::u16string>> articles;
        for (std::uint32_t i = 0; i < index.Count(); ++i) {
            for (const ArticleRef& ref : index.GetRefs(i)) {
                articles.emplace_back(ref, provider.GetArticle(ref.start, ref.end));
            }
        }
        std::sort(articles.begin(), articles.end(),
                  [](const auto& a, const auto& b) { return a.first.end < b.first.end; });
        const std::string readError = "Ошибка при чтении файла словаря:\n \"" + Path(name) + "\"";

        // Cut at every byte, in place from the longest cut to the shortest: an
        // article that ends within the cut reads as before, the first one past
        // it raises the read message.
        {
            damage::FileInPlace file(dir.File(name), good[name]);
            for (std::size_t n = good[name].size(); n-- > 0;) {
                file.CutTo(n);
                const std::string variant = "cut at " + std::to_string(n);
                const auto past = std::upper_bound(
                    articles.begin(), articles.end(), n,
                    [](std::size_t size, const auto& a) { return size < a.first.end; });
                if (past != articles.begin()) {
                    const auto& [ref, text] = *(past - 1);
                    ASSERT_EQ(provider.GetArticle(ref.start, ref.end), text) << variant;
                }
                if (past != articles.end()) {
                    try {
                        provider.GetArticle(past->first.start, past->first.end);
                        ADD_FAILURE() << variant << ": read past the end";
                    } catch (const cExcMsg& e) {
                        ASSERT_EQ(ToUtf8(e.GetMsg()), readError) << variant;
                    }
                }
                if (n % 97 == 0) {
                    ASSERT_EQ(ReadBytes(dir.File(name)), good[name].substr(0, n)) << variant;
                    ExpectOthersUnchanged(name, variant);
                }
            }
            file.Restore();
            // Any bytes at all: every article that holds a changed byte reads,
            // never past its buffers (an article is read from its own span only,
            // so the others read as they did).
            for (const damage::ByteChanges& changes :
                 damage::FlippedByteChanges(good[name].size(), 2000, 65001)) {
                file.Change(changes);
                for (const auto& [ref, text] : articles) {
                    const bool changed =
                        std::any_of(changes.bytes.begin(), changes.bytes.end(), [&](const auto& c) {
                            return ref.start <= c.first && c.first < ref.end;
                        });
                    if (changed) {
                        ASSERT_LE(provider.GetArticle(ref.start, ref.end).size(), kMaxArticleUnits)
                            << changes.name;
                    }
                }
                file.Undo(changes);
            }
        }
        // Missing: the open message, naming the file.
        fs::remove(dir.File(name));
        try {
            provider.GetArticle(articles[0].first.start, articles[0].first.end);
            ADD_FAILURE() << "a missing file read";
        } catch (const cExcMsg& e) {
            EXPECT_EQ(ToUtf8(e.GetMsg()), "Ошибка при открытии файла словаря:\n" + Path(name));
        }
        Restore();
    }
}

// The Russian provider, with the test's own step after each article of a line.
class ProviderBetweenArticles : public cKelimboProvRu {
public:
    std::function<void(int)> after; // given the number of the article just read

    void AppendArticleUtf8(std::string& out, std::uint32_t start, std::uint32_t end) override {
        cKelimboProvRu::AppendArticleUtf8(out, start, end);
        if (after) {
            after(m_done++);
        }
    }

private:
    int m_done = 0;
};

TEST_F(DamagedFiles, ATextWrittenBetweenTheArticlesOfALineGivesTheReadMessageAndNoText) {
    cIndexRu index;
    index.Load(Path(kRuIndex).c_str());
    std::vector<ArticleRef> refs; // three articles of the file
    for (std::uint32_t i = 0; i < index.Count() && refs.size() < 3; ++i) {
        for (const ArticleRef& ref : index.GetRefs(i)) {
            if (refs.size() < 3 && std::find(refs.begin(), refs.end(), ref) == refs.end()) {
                refs.push_back(ref);
            }
        }
    }
    ASSERT_EQ(refs.size(), 3u);
    const std::string readError = "Ошибка при чтении файла словаря:\n \"" + Path(kRuText) + "\"";
    const struct {
        int writtenAfter; // the article after which the file grows; -1: never
        bool fails;
    } table[] = {{-1, false}, {0, true}, {1, true}};
    for (const auto& c : table) {
        damage::FileInPlace file(dir.File(kRuText), good[kRuText]);
        ProviderBetweenArticles provider;
        provider.Load(Path(kRuText), index);
        provider.after = [&](int k) {
            if (k == c.writtenAfter) {
                file.CutTo(good[kRuText].size() + 1);
            }
        };
        std::string out = "kept|";
        try {
            provider.AppendArticlesUtf8(out, refs);
            EXPECT_FALSE(c.fails) << c.writtenAfter << ": read as if nothing had changed";
            EXPECT_GT(out.size(), std::string("kept|").size());
        } catch (const cExcMsg& e) {
            EXPECT_TRUE(c.fails) << c.writtenAfter;
            EXPECT_EQ(ToUtf8(e.GetMsg()), readError);
            EXPECT_EQ(out, "kept|") << "no part of the line's text";
        }
    }
}

TEST_F(DamagedFiles, HistoryFallsBackQuietlyAndSavesWhole) {
    // An added dictionary whose texts are the sample ones, so that its stamps hold.
    const std::vector<AddedTexts> added = {{"revo", Path(kEoText), Path(kRuText)}};
    const auto load = [&](cHistory& history) {
        history.addedTexts = added;
        history.Load(Path(kHistory).c_str(), Path(kEoText).c_str(), Path(kRuText).c_str());
    };
    // A good history with a few entries, stamped with the sample text files:
    // of the first file version, and of the one naming added dictionaries.
    for (const bool namesAdded : {false, true}) {
        SCOPED_TRACE(namesAdded ? "version 2" : "version 1");
        std::vector<AddedRefs> revo;
        if (namesAdded) {
            revo.push_back({"revo", 0, {{4, 12}, {30, 44}}});
        }
        {
            cHistory history;
            load(history);
            history.Push(u"ĉapelo", {{0, 16}}, true, revo);
            history.Push(u"дорога", {{20, 40}, {50, 60}}, false);
            history.Push(u"ŝipo", {}, true, revo);
            history.Save();
        }
        const std::string goodHistory = ReadBytes(dir.File(kHistory));
        ASSERT_GT(goodHistory.size(), 16u);
        ASSERT_EQ(goodHistory[0], namesAdded ? 2 : 1);

        std::vector<damage::Variant> variants = damage::CutAtEveryByte(goodHistory);
        for (auto& v : damage::FlippedBytes(goodHistory, 2000, 5)) {
            variants.push_back(std::move(v));
        }
        for (auto& v : damage::HugeFields(goodHistory, goodHistory.size())) {
            variants.push_back(std::move(v));
        }
        std::size_t restored = 0;
        std::size_t checked = 0;
        for (const damage::Variant& variant : variants) {
            WriteBytes(dir.File(kHistory), variant.bytes);
            cHistory history;
            load(history);
            ASSERT_GE(history.cursor, 0) << variant.name;
            ASSERT_LE(history.cursor, static_cast<std::int32_t>(history.entries.size()))
                << variant.name;
            restored += history.entries.empty() ? 0 : 1;
            history.Save();
            cHistory again;
            load(again);
            ASSERT_EQ(again.entries, history.entries) << variant.name;
            ASSERT_EQ(again.cursor, history.cursor) << variant.name;
            if (++checked % 97 == 0) {
                ExpectOthersUnchanged(kHistory, variant.name);
            }
        }
        // Cuts never load partly: only flips that keep the file well-formed restore.
        EXPECT_LT(restored, variants.size() - goodHistory.size());
    }
}

} // namespace
