// SPDX-License-Identifier: GPL-2.0-or-later
// What a downloaded DTD folder may hold besides the DTD: links to anywhere,
// FIFOs, folders. An article's external entity reads only the folder's own
// regular files; anything else is refused with a message, and nothing waits.
#include "revo/revo_parser.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <functional>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;
using testing_support::WriteBytes;

const fs::path kFixtures = fs::path(KELIMBO_FIXTURES) / "revo/fixtures";

// Runs `parse` with a time limit; a FIFO it waits on is opened for writing
// after it, so that the test ends either way.
ParsedFile WithoutWaiting(const fs::path& fifo, const std::function<ParsedFile()>& parse) {
    auto parsing = std::async(std::launch::async, parse);
    if (parsing.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ADD_FAILURE() << "still waiting after 10 s";
        const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        parsing.wait();
        ::close(writer);
    }
    return parsing.get();
}

std::string Serialized(xmlDoc* doc) {
    xmlChar* bytes = nullptr;
    int size = 0;
    xmlDocDumpMemory(doc, &bytes, &size);
    std::string text(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
    xmlFree(bytes);
    return text;
}

TEST(RevoParser, ExternalEntitiesAreReadOnlyFromTheDtdFoldersOwnRegularFiles) {
    TempDir dir;
    fs::create_directory(dir.File("dtd"));
    for (const auto& entry : fs::directory_iterator(kFixtures / "dtd")) {
        fs::copy_file(entry.path(), dir.File("dtd") / entry.path().filename());
    }
    WriteBytes(dir.File("secret.txt"), "SEKRETO");
    WriteBytes(dir.File("dtd/extra.ent"), "ekstra");
    fs::create_symlink(dir.File("secret.txt"), dir.File("dtd/passwd"));
    fs::create_symlink("../secret.txt", dir.File("dtd/relative"));
    ASSERT_EQ(::mkfifo(dir.File("dtd/pipe").c_str(), 0600), 0);
    fs::create_directory(dir.File("dtd/sub"));
    // The folder itself may be reached through a link: its files are inside it.
    fs::create_directory_symlink(dir.File("dtd"), dir.File("linked-dtd"));

    const auto refused = [&](const char* name, const std::string& why) {
        return (dir.File("dtd") / name).string() + " is " + why;
    };
    const std::string outside = "only files of the DTD folder are";
    const struct {
        const char* folder;
        const char* system; // the entity's SYSTEM identifier
        std::string why;    // empty: read
    } table[] = {
        {"dtd", "extra.ent", ""},
        {"dtd", "../dtd/extra.ent", ""},
        {"linked-dtd", "extra.ent", ""},
        {"dtd", "passwd", refused("passwd", "a symbolic link")},
        {"dtd", "../../../../etc/passwd", refused("passwd", "a symbolic link")},
        {"dtd", "relative", refused("relative", "a symbolic link")},
        {"dtd", "../secret.txt", outside},
        {"dtd", "..", outside},
        {"dtd", "pipe", refused("pipe", "not a regular file")},
        {"dtd", "sub", refused("sub", "a folder, not a regular file")},
    };
    for (const auto& c : table) {
        const std::string xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE vortaro SYSTEM "
                                "\"../dtd/vokoxml.dtd\" [<!ENTITY x SYSTEM \"" +
                                std::string(c.system) +
                                "\">]>\n<vortaro><art mrk=\"x\"><kap><rad>a</rad></kap>"
                                "<drv mrk=\"y\"><kap><tld/>o</kap><trd lng=\"ru\">&x;"
                                "</trd></drv></art></vortaro>\n";
        const ParsedFile parsed = WithoutWaiting(dir.File("dtd/pipe"), [&] {
            RevoParser parser(dir.File(c.folder));
            return parser.ParseMemory(xml, (dir.File("revo") / "a.xml").string());
        });
        if (c.why.empty()) {
            ASSERT_NE(parsed.doc, nullptr) << c.system << ": " << parsed.error;
            EXPECT_NE(Serialized(parsed.doc.get()).find(">ekstra<"), std::string::npos) << c.system;
        } else {
            if (parsed.doc != nullptr) {
                ADD_FAILURE() << c.system << " was read: " << Serialized(parsed.doc.get());
            }
            // The parser names the entity as it resolved it against the article.
            EXPECT_TRUE(parsed.error.starts_with("the external entity \"")) << parsed.error;
            EXPECT_TRUE(parsed.error.ends_with("\" is not read: " + c.why)) << parsed.error;
        }
    }

    // An article file that is a FIFO is refused too.
    ASSERT_EQ(::mkfifo(dir.File("article.xml").c_str(), 0600), 0);
    const ParsedFile fifo = WithoutWaiting(dir.File("article.xml"), [&] {
        RevoParser parser(dir.File("dtd"));
        return parser.ParseFile(dir.File("article.xml"));
    });
    EXPECT_TRUE(fifo.doc == nullptr);
    EXPECT_EQ(fifo.error, "cannot read the file: not a regular file");
}

} // namespace
