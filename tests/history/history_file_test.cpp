// SPDX-License-Identifier: GPL-2.0-or-later
#include "errors/checked_io.h"
#include "history/history.h"
#include "history/history_file.h"
#include "platform/code_page.h"
#include "platform/file_replace.h"
#include "support/process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <set>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;
using namespace std::literals;

std::string Le32(std::uint32_t v) {
    std::string out;
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>(v >> (8 * i));
    }
    return out;
}

// Gives a file the last-write time `unixSeconds` + `nanos` and returns the
// stamp the history file must carry for it: the low half of that time in
// 100-nanosecond intervals since 1601.
std::uint32_t Touch(const fs::path& file, std::int64_t unixSeconds, std::int64_t nanos) {
    using namespace std::chrono;
    const sys_time<nanoseconds> when{seconds(unixSeconds) + nanoseconds(nanos)};
    fs::last_write_time(file,
                        time_point_cast<fs::file_time_type::duration>(file_clock::from_sys(when)));
    const auto ticks =
        static_cast<std::uint64_t>((unixSeconds + 11644473600) * 10'000'000 + nanos / 100);
    return static_cast<std::uint32_t>(ticks);
}

std::set<std::string> FilesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& item : fs::directory_iterator(folder)) {
        names.insert(item.path().filename().string());
    }
    return names;
}

HistoryEntry Entry(std::u16string query, std::vector<ArticleRef> refs, bool isEsperanto) {
    return {std::move(refs), std::move(query), isEsperanto};
}

class HistoryFile : public testing::Test {
protected:
    void SetUp() override {
        WriteBytes(dir.File("EoRu_kelimbo.txt"), "eo text");
        WriteBytes(dir.File("tarnesk_rusa_esperanto.txt"), "ru text");
        eoStamp = Touch(dir.File("EoRu_kelimbo.txt"), 1704067200, 123456789);
        ruStamp = Touch(dir.File("tarnesk_rusa_esperanto.txt"), 1600000000, 987654321);
    }

    void Load(cHistory& h) const { h.Load(historyPath.c_str(), eoPath.c_str(), ruPath.c_str()); }
    cHistory Loaded() const {
        cHistory h;
        Load(h);
        return h;
    }
    // A history that will save into the folder, with `entries` and `cursor`.
    cHistory Saving(std::deque<HistoryEntry> entries, std::int32_t cursor) const {
        cHistory h;
        Load(h); // stores the paths; there is no file yet, or it is overwritten
        h.entries = std::move(entries);
        h.cursor = cursor;
        return h;
    }
    std::string Header(std::uint8_t count) const {
        return "\x01\x00"s + static_cast<char>(count) + '\0' + Le32(eoStamp) + Le32(ruStamp);
    }
    std::string SavedBytes() const { return ReadBytes(dir.File("historio.bin")); }
    void PutFile(const std::string& bytes) const { WriteBytes(dir.File("historio.bin"), bytes); }

    TempDir dir;
    std::string historyPath = dir.AnsiPath("historio.bin");
    std::string eoPath = dir.AnsiPath("EoRu_kelimbo.txt");
    std::string ruPath = dir.AnsiPath("tarnesk_rusa_esperanto.txt");
    std::uint32_t eoStamp = 0;
    std::uint32_t ruStamp = 0;
};

TEST_F(HistoryFile, OneEntryIsWrittenAsTheThirtyThreeBytes) {
    Saving({Entry(u"abc", {{16, 64}}, true)}, 1).Save();
    const std::string expected = "\x01\x00\x01\x00"s + Le32(eoStamp) + Le32(ruStamp) +
                                 "\x01\x03\x01"s + "\x10\0\0\0\x40\0\0\0"s + "a\0b\0c\0"s +
                                 "\x01\0\0\0"s;
    ASSERT_EQ(expected.size(), 33u);
    EXPECT_EQ(SavedBytes(), expected);
}

TEST_F(HistoryFile, EmptyHistoryIsWrittenAsSixteenBytes) {
    Saving({}, 0).Save();
    EXPECT_EQ(SavedBytes(), Header(0) + "\0\0\0\0"s);
}

TEST_F(HistoryFile, StampIsTheLowHalfOfEachTextFilesWriteTime) {
    EXPECT_EQ(DictionaryStamp(eoPath, ruPath), (DictionaryStamps{eoStamp, ruStamp}));
    EXPECT_EQ(DictionaryStamp(dir.AnsiPath("missing"), ruPath), (DictionaryStamps{0, ruStamp}));
    EXPECT_NE(eoStamp, ruStamp);
}

// A path longer than 255 UTF-16 units gives the stamp 0 even when the file is
// there; one of 255 units still has its time. Units, not bytes: "ŝ" is one.
TEST_F(HistoryFile, StampOfAPathLongerThan255UnitsIsZero) {
    const std::string base = dir.AnsiPath("");
    const std::size_t baseUnits = platform::FromUtf8(base).size();
    const struct {
        std::size_t units;
        bool stamped;
    } cases[] = {{255, true}, {256, false}};
    for (const auto& c : cases) {
        // Two names of "ŝa…" joined by '/' fill the path to its length.
        const std::size_t rest = c.units - baseUnits - 1;
        const auto name = [](std::size_t units) {
            std::string text;
            for (std::size_t i = 0; i < units; ++i) {
                text += i % 2 ? "a" : "ŝ";
            }
            return text;
        };
        const fs::path folder = dir.Path() / name(rest / 2);
        fs::create_directories(folder);
        const fs::path file = folder / name(rest - rest / 2);
        WriteBytes(file, "t");
        Touch(file, 1704067200, 123456789);
        const std::string path = file.string();
        ASSERT_EQ(platform::FromUtf8(path).size(), c.units);
        EXPECT_EQ(DictionaryStamp(path, ruPath).eoStamp != 0, c.stamped) << c.units;
    }
}

TEST_F(HistoryFile, HistoriesComeBackAsTheyWereSaved) {
    std::vector<ArticleRef> many;
    for (std::uint32_t i = 0; i < 255; ++i) {
        many.push_back({i * 1000, 0xFFFFFFFFu - i});
    }
    const std::deque<HistoryEntry> mixed = {
        Entry(u"ĉapelo", {{0, 10}, {4000000000u, 4000000100u}}, true),
        Entry(u"книга", {{7, 9}}, false),
        Entry(u"", {}, false),
        Entry(std::u16string(255, u'ж'), many, true),
    };
    struct Case {
        const char* name;
        std::deque<HistoryEntry> entries;
        std::int32_t cursor;
    };
    const Case cases[] = {
        {"empty", {}, 0},
        {"cursor at the end", mixed, 4},
        {"cursor in the middle", mixed, 2},
        {"cursor at the start", mixed, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Saving(c.entries, c.cursor).Save();
        cHistory h = Loaded();
        EXPECT_EQ(h.entries, c.entries);
        EXPECT_EQ(h.cursor, c.cursor);
        EXPECT_TRUE(h.searchView);
    }
}

TEST_F(HistoryFile, FileCutAtAnyByteGivesAnEmptyHistory) {
    Saving({Entry(u"ab", {{1, 2}, {3, 4}}, true), Entry(u"c", {}, false)}, 2).Save();
    const std::string whole = SavedBytes();
    for (std::size_t length = 0; length < whole.size(); ++length) {
        SCOPED_TRACE(length);
        PutFile(whole.substr(0, length));
        cHistory h;
        h.entries.push_back(Entry(u"before", {}, false));
        h.cursor = 1;
        Load(h);
        EXPECT_TRUE(h.entries.empty());
        EXPECT_EQ(h.cursor, 0);
    }
}

TEST_F(HistoryFile, OtherVersionGivesAnEmptyHistoryAndIsReplacedOnSave) {
    Saving({Entry(u"ab", {{1, 2}}, true)}, 1).Save();
    std::string bytes = SavedBytes();
    bytes[0] = 3;
    PutFile(bytes);
    cHistory h = Loaded();
    EXPECT_TRUE(h.entries.empty());
    EXPECT_EQ(h.cursor, 0);
    h.Save();
    EXPECT_EQ(SavedBytes(), Header(0) + "\0\0\0\0"s);
}

// Two added dictionaries beside the folder's own pair: an entry keeps each
// one's references under its name and stamp, and a dictionary removed or
// changed since loses its own references only.
class HistoryFileAdded : public HistoryFile {
protected:
    void SetUp() override {
        HistoryFile::SetUp();
        for (const char* name : {"revo-eo.txt", "revo-ru.txt", "fd-eo.txt"}) {
            WriteBytes(dir.File(name), name);
        }
        revoEo = Touch(dir.File("revo-eo.txt"), 1700000000, 100);
        revoRu = Touch(dir.File("revo-ru.txt"), 1700000001, 200);
        fdEo = Touch(dir.File("fd-eo.txt"), 1700000002, 300);
    }
    std::vector<AddedTexts> Both() const {
        return {{"revo", dir.AnsiPath("revo-eo.txt"), dir.AnsiPath("revo-ru.txt")},
                {"freedict", dir.AnsiPath("fd-eo.txt"), ""}};
    }
    // The entries pushed as the window pushes them: stamps come from the texts.
    cHistory Pushed() const {
        fs::remove(dir.File("historio.bin")); // a fresh history
        cHistory h;
        h.addedTexts = Both();
        Load(h);
        h.Push(u"hundo", {{1, 2}}, true, {{"revo", 0, {{10, 20}}}, {"freedict", 0, {{30, 40}}}});
        h.Push(u"собака", {}, false, {{"revo", 0, {{50, 60}, {70, 80}}}});
        h.Push(u"kato", {{3, 4}}, true, {{"freedict", 0, {}}}); // nothing of it kept
        return h;
    }
    std::uint32_t revoEo = 0, revoRu = 0, fdEo = 0;
};

TEST_F(HistoryFileAdded, AnEntryNamingAnAddedDictionaryIsWrittenAsVersionTwo) {
    cHistory h;
    h.addedTexts = Both();
    Load(h);
    h.Push(u"ab", {{16, 64}}, true, {{"revo", 0, {{5, 9}}}});
    h.Save();
    const std::string expected = "\x02\x00\x01\x00"s + Le32(eoStamp) + Le32(ruStamp) +
                                 "\x01\x02\x01"s + "\x10\0\0\0\x40\0\0\0"s + "a\0b\0"s +
                                 "\x01\x04revo"s + Le32(revoEo) + "\x01\x05\0\0\0\x09\0\0\0"s +
                                 "\x01\0\0\0"s;
    EXPECT_EQ(SavedBytes(), expected);
}

TEST_F(HistoryFileAdded, EachDictionarysReferencesLastWhileItDoes) {
    const std::deque<HistoryEntry> saved = Pushed().entries;
    ASSERT_EQ(saved.size(), 3u);
    ASSERT_EQ(saved[0].added.size(), 2u);
    EXPECT_EQ(saved[0].added[0].stamp, revoEo);
    EXPECT_EQ(saved[1].added[0].stamp, revoRu);
    EXPECT_TRUE(saved[2].added.empty());

    const auto without = [](std::deque<HistoryEntry> entries, std::string_view name,
                            bool esperanto) {
        for (HistoryEntry& entry : entries) {
            if (entry.isEsperanto == esperanto) {
                std::erase_if(entry.added, [&](const AddedRefs& a) { return a.name == name; });
            }
        }
        return entries;
    };
    struct Case {
        const char* name;
        std::function<void(std::vector<AddedTexts>&)> change;
        std::deque<HistoryEntry> expected;
    };
    const Case cases[] = {
        {"unchanged", [](auto&) {}, saved},
        {"freedict removed", [](auto& t) { t.pop_back(); }, without(saved, "freedict", true)},
        {"order changed", [](auto& t) { std::swap(t[0], t[1]); }, saved},
        {"revo's Esperanto text rewritten",
         [&](auto&) { Touch(dir.File("revo-eo.txt"), 1700000000, 200); },
         without(saved, "revo", true)},
        {"revo's Russian text gone", [&](auto&) { fs::remove(dir.File("revo-ru.txt")); },
         without(saved, "revo", false)},
        {"no added dictionaries", [](auto& t) { t.clear(); },
         without(without(without(saved, "revo", true), "revo", false), "freedict", true)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp(); // the texts as they were
        Pushed().Save();
        cHistory h;
        h.addedTexts = Both();
        c.change(h.addedTexts);
        Load(h);
        EXPECT_EQ(h.entries, c.expected);
        EXPECT_EQ(h.cursor, 3);
    }
}

TEST_F(HistoryFileAdded, AFileOfVersionOneLoadsAndStaysVersionOne) {
    Saving({Entry(u"abc", {{16, 64}}, true)}, 1).Save();
    const std::string old = SavedBytes();
    ASSERT_EQ(old[0], '\x01');
    cHistory h;
    h.addedTexts = Both();
    Load(h);
    EXPECT_EQ(h.entries, (std::deque<HistoryEntry>{Entry(u"abc", {{16, 64}}, true)}));
    h.Save();
    EXPECT_EQ(SavedBytes(), old);
}

TEST_F(HistoryFile, TouchingADictionaryTextFileDropsTheHistory) {
    Saving({Entry(u"ab", {{1, 2}}, true)}, 1).Save();
    WriteBytes(dir.File("EoRu_kelimbo.bsi"), "index");
    Touch(dir.File("EoRu_kelimbo.bsi"), 1000, 0);
    EXPECT_EQ(Loaded().entries.size(), 1u); // an index file does not count

    struct Case {
        const char* file;
        std::int64_t seconds, nanos; // the file's own time, restored afterwards
    };
    for (const Case c : {Case{"EoRu_kelimbo.txt", 1704067200, 123456789},
                         Case{"tarnesk_rusa_esperanto.txt", 1600000000, 987654321}}) {
        SCOPED_TRACE(c.file);
        Touch(dir.File(c.file), c.seconds, c.nanos + 100); // one tick later
        EXPECT_TRUE(Loaded().entries.empty());
        Touch(dir.File(c.file), c.seconds, c.nanos);
        EXPECT_EQ(Loaded().entries.size(), 1u);
    }
}

TEST_F(HistoryFile, HistorySavedWhileATextFileIsMissingLoadsOnlyWhileItStaysMissing) {
    fs::remove(dir.File("tarnesk_rusa_esperanto.txt"));
    Saving({Entry(u"ab", {{1, 2}}, true)}, 1).Save();
    EXPECT_EQ(SavedBytes().substr(8, 4), "\0\0\0\0"s);
    EXPECT_EQ(Loaded().entries.size(), 1u);
    WriteBytes(dir.File("tarnesk_rusa_esperanto.txt"), "back");
    EXPECT_TRUE(Loaded().entries.empty());
}

TEST_F(HistoryFile, RecordsAreReadAsStored) {
    // direction 2, a NUL inside the query, a second entry, cursor 2, then junk.
    PutFile(Header(2) + "\x01\x03\x02"s + "\x05\0\0\0\x06\0\0\0"s + "a\0\0\0b\0"s +
            "\x00\x01\x00"s + "z\0"s + Le32(2) + "junk after the cursor");
    cHistory h = Loaded();
    ASSERT_EQ(h.entries.size(), 2u);
    EXPECT_EQ(h.entries[0], Entry(u"a", {{5, 6}}, true));
    EXPECT_EQ(h.entries[1], Entry(u"z", {}, false));
    EXPECT_EQ(h.cursor, 2);

    h.Save(); // the direction is written back as 1
    EXPECT_EQ(SavedBytes(), Header(2) + "\x01\x01\x01"s + "\x05\0\0\0\x06\0\0\0"s + "a\0"s +
                                "\x00\x01\x00"s + "z\0"s + Le32(2));
}

TEST_F(HistoryFile, StoredCursorOutsideTheEntriesMarksTheFileDamaged) {
    const std::string records = "\x00\x01\x00"s + "a\0"s + "\x00\x01\x01"s + "b\0"s;
    struct Case {
        std::int32_t cursor;
        bool loads;
    };
    const Case cases[] = {{0, true},
                          {1, true},
                          {2, true},
                          {3, false},
                          {-1, false},
                          {std::numeric_limits<std::int32_t>::min(), false},
                          {std::numeric_limits<std::int32_t>::max(), false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cursor);
        PutFile(Header(2) + records + Le32(static_cast<std::uint32_t>(c.cursor)));
        cHistory h;
        h.entries.push_back(Entry(u"before", {}, false));
        h.cursor = 1;
        Load(h);
        EXPECT_EQ(h.entries.size(), c.loads ? 2u : 0u);
        EXPECT_EQ(h.cursor, c.loads ? c.cursor : 0);
    }
}

TEST_F(HistoryFile, FileWithMoreThanFortyEntriesLoadsWhole) {
    std::string bytes = Header(255);
    for (int i = 0; i < 255; ++i) {
        bytes += "\x01\x01\x00"s + Le32(static_cast<std::uint32_t>(i)) + Le32(1000) + "q\0"s;
    }
    PutFile(bytes + Le32(255));
    cHistory h = Loaded();
    ASSERT_EQ(h.entries.size(), 255u);
    EXPECT_EQ(h.entries[254].refs[0].start, 254u);
    EXPECT_EQ(h.cursor, 255);
}

TEST_F(HistoryFile, MissingFileKeepsTheHistoryAndStoresThePaths) {
    cHistory h;
    h.entries.push_back(Entry(u"kept", {}, false));
    h.cursor = 1;
    Load(h);
    EXPECT_EQ(h.entries.size(), 1u);
    EXPECT_EQ(h.cursor, 1);
    EXPECT_EQ(h.historyPath, historyPath);
    EXPECT_EQ(h.eoTextPath, eoPath);
    EXPECT_EQ(h.ruTextPath, ruPath);
}

// The failing disk of the tests: the write step numbered `failAt` fails.
std::size_t g_steps = 0;
std::size_t g_failAt = 0;

bool FailAtStep() {
    return g_steps++ == g_failAt;
}

class WriteFaultGuard {
public:
    explicit WriteFaultGuard(std::size_t failAt) {
        g_steps = 0;
        g_failAt = failAt;
        SetHistoryWriteFault(FailAtStep);
    }
    ~WriteFaultGuard() { SetHistoryWriteFault(nullptr); }
};

TEST_F(HistoryFile, FailedSaveAtAnyStepKeepsTheOldFileWhole) {
    Saving({Entry(u"old", {{1, 2}}, false)}, 1).Save();
    const std::string old = SavedBytes();
    const std::set<std::string> files = FilesIn(dir.Path());
    const cHistory fresh =
        Saving({Entry(u"new", {{3, 4}, {5, 6}}, true), Entry(u"", {}, false)}, 1);

    std::size_t steps = 0;
    {
        WriteFaultGuard counting(std::numeric_limits<std::size_t>::max());
        cHistory(fresh).Save();
        steps = g_steps;
        PutFile(old);
    }
    // Header 5, each record 3 + one per reference + the query, the cursor,
    // then the flush, the close and the rename: every field is a write of its own.
    ASSERT_EQ(steps, 5u + (3 + 2 + 1) + (3 + 0 + 1) + 1 + 3);

    for (std::size_t failAt = 0; failAt < steps; ++failAt) {
        SCOPED_TRACE(failAt);
        WriteFaultGuard failing(failAt);
        cHistory(fresh).Save();
        EXPECT_EQ(g_steps, failAt + 1); // nothing is attempted after a failure
        EXPECT_EQ(SavedBytes(), old);
        EXPECT_EQ(FilesIn(dir.Path()), files);
    }

    cHistory(fresh).Save();
    EXPECT_EQ(Loaded().entries, fresh.entries);
    EXPECT_EQ(FilesIn(dir.Path()), files);
}

// A save killed before its rename leaves its new file; the next start removes
// it once it is old, and the history itself is read as it was.
TEST_F(HistoryFile, AKilledSavesOldFileIsRemovedAtTheNextLoad) {
    Saving({Entry(u"kept", {{1, 2}}, false)}, 1).Save();
    const std::set<std::string> files = FilesIn(dir.Path());
    const std::string leftover = platform::TemporaryPrefix("historio.bin") + "Ab3dEf7hIj";
    WriteBytes(dir.File(leftover), "half a history");
    std::filesystem::last_write_time(
        dir.File(leftover), std::filesystem::file_time_type::clock::now() - std::chrono::hours(2));
    EXPECT_EQ(Loaded().entries.size(), 1u);
    EXPECT_EQ(FilesIn(dir.Path()), files);
}

TEST_F(HistoryFile, SaveIntoAMissingFolderWritesNothing) {
    cHistory h;
    h.Load(dir.AnsiPath("gone/historio.bin").c_str(), eoPath.c_str(), ruPath.c_str());
    h.Push(u"a", {{1, 2}}, false);
    h.Save();
    EXPECT_FALSE(fs::exists(dir.File("gone")));
}

TEST_F(HistoryFile, SaveWithoutAPathWritesNothing) {
    const fs::path here = fs::current_path();
    fs::current_path(dir.Path());
    cHistory h;
    h.Push(u"a", {{1, 2}}, false);
    h.Save();
    fs::current_path(here);
    EXPECT_EQ(FilesIn(dir.Path()),
              (std::set<std::string>{"EoRu_kelimbo.txt", "tarnesk_rusa_esperanto.txt"}));
}

TEST_F(HistoryFile, HistoryPathThatIsAFolderIsLeftAlone) {
    fs::create_directory(dir.File("historio.bin"));
    WriteBytes(dir.File("historio.bin") / "inside", "x");
    const std::set<std::string> files = FilesIn(dir.Path());
    cHistory h = Loaded();
    EXPECT_TRUE(h.entries.empty());
    h.Push(u"a", {{1, 2}}, false);
    h.Save();
    EXPECT_TRUE(fs::is_directory(dir.File("historio.bin")));
    EXPECT_EQ(ReadBytes(dir.File("historio.bin") / "inside"), "x");
    EXPECT_EQ(FilesIn(dir.Path()), files);
}

// Another user who may write the history's folder plants a link, to a file of
// the user's, at a name a save might use. Needs root to plant it as nobody.
TEST(HistoryFileLinks, ASaveNeverFollowsALinkPlantedInItsFolder) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to plant the link as another user";
    }
    const struct {
        const char* what;
        const char* name;
    } cases[] = {
        {"the temporary name of earlier saves", "historio.bin.tmp"},
        {"the history file itself", "historio.bin"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir shared;
        TempDir own;
        fs::permissions(shared.Path(), fs::perms::all);
        const fs::path victim = own.File("victim");
        WriteBytes(victim, "the user's own file");
        fs::permissions(victim, fs::perms::owner_read | fs::perms::owner_write);
        ASSERT_EQ(testing_support::RunProcess({"/usr/bin/setpriv", "--reuid=65534", "--regid=65534",
                                               "--clear-groups", "/bin/ln", "-s", victim.string(),
                                               shared.File(c.name).string()})
                      .status,
                  0);

        const std::string history = shared.AnsiPath("historio.bin");
        const std::string eo = own.AnsiPath("EoRu_kelimbo.txt");
        const std::string ru = own.AnsiPath("tarnesk_rusa_esperanto.txt");
        cHistory saved;
        saved.Load(history.c_str(), eo.c_str(), ru.c_str());
        saved.entries = {Entry(u"hundo", {{1, 2}}, true)};
        saved.cursor = 1;
        saved.Save();

        EXPECT_EQ(ReadBytes(victim), "the user's own file");
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(shared.File("historio.bin"))));
        cHistory loaded;
        loaded.Load(history.c_str(), eo.c_str(), ru.c_str());
        EXPECT_EQ(loaded.entries, saved.entries);
    }
}

} // namespace
