// Damaged and unreadable data files through the kelimbo-lookup process: it
// ends with its message and status 1, or answers with status 0; it never dies
// of a signal.
#include "articles/dictionary_files.h"
#include "damage.h"
#include "support/process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using testing_support::ProcessOutcome;
using testing_support::ReadBytes;
using testing_support::RunProcess;
using testing_support::TempDir;
using testing_support::WriteBytes;

const char* const kFiles[] = {kRussianFiles.index, kEsperantoFiles.index, kRussianFiles.text,
                              kEsperantoFiles.text};

class LookupWithDamagedFiles : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : kFiles) {
            fs::copy_file(fs::path(KELIMBO_SAMPLE_DIR) / name, dir.File(name));
        }
    }

    // Looks up a query and opens its first article, as a user without special
    // rights: when the tests run as root, the lookup runs as "nobody", so that
    // file permissions count.
    ProcessOutcome Open(const std::string& query) const {
        std::vector<std::string> argv;
        if (::geteuid() == 0) {
            argv = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
        }
        for (const std::string& arg :
             {std::string(KELIMBO_LOOKUP), std::string("--dir"), dir.Path().string(),
              std::string("--open"), std::string("0"), query}) {
            argv.push_back(arg);
        }
        return RunProcess(argv);
    }

    TempDir dir;
};

TEST_F(LookupWithDamagedFiles, UnreadableFilesAreReportedByName) {
    const struct {
        const char* file;
        const char* query;
        std::string message;
    } table[] = {
        {kFiles[0], "cxapelo", "Ошибка при открытии файла индекса:\n"},
        {kFiles[1], "cxapelo", "Ошибка при открытии файла индекса:\n"},
        {kFiles[2], "дорога", "Ошибка при открытии файла словаря:\n"},
        {kFiles[3], "cxapelo", "Ошибка при открытии файла словаря:\n"},
    };
    ASSERT_EQ(Open("cxapelo").status, 0) << "the data folder must be readable";
    for (const auto& c : table) {
        fs::permissions(dir.File(c.file), fs::perms::none);
        const ProcessOutcome r = Open(c.query);
        EXPECT_EQ(r.status, 1) << c.file;
        EXPECT_EQ(r.err, c.message + dir.Path().string() + "/" + c.file + "\n");
        EXPECT_EQ(r.out, "");
        fs::permissions(dir.File(c.file), fs::perms::owner_read | fs::perms::owner_write |
                                              fs::perms::group_read | fs::perms::others_read);
    }
}

TEST_F(LookupWithDamagedFiles, DamagedFilesNeverKillTheProcess) {
    for (const char* name : kFiles) {
        const std::string good = ReadBytes(dir.File(name));
        std::vector<damage::Variant> variants;
        // A sample of each kind of damage: the full matrix runs in-process.
        const auto cuts = damage::CutAtEveryByte(good);
        for (std::size_t i = 0; i < cuts.size(); i += cuts.size() / 12 + 1) {
            variants.push_back(cuts[i]);
        }
        for (auto& v : damage::FlippedBytes(good, 12, 7)) {
            variants.push_back(std::move(v));
        }
        variants.push_back({"empty", ""});
        for (const damage::Variant& variant : variants) {
            WriteBytes(dir.File(name), variant.bytes);
            for (const char* query : {"cxapelo", "дорога"}) {
                const ProcessOutcome r = Open(query);
                EXPECT_FALSE(r.signaled) << name << " " << variant.name;
                EXPECT_TRUE(r.status == 0 || r.status == 1 || r.status == 2)
                    << name << " " << variant.name << ": " << r.status << " " << r.err;
                if (r.status == 1) {
                    EXPECT_TRUE(r.err.starts_with("Ошибка при ") ||
                                r.err.starts_with("Неподходящая версия") ||
                                r.err.starts_with("Недостаточно памяти"))
                        << r.err;
                }
            }
            EXPECT_EQ(ReadBytes(dir.File(name)), variant.bytes) << "a dictionary file changed";
        }
        WriteBytes(dir.File(name), good);
    }
}

} // namespace
