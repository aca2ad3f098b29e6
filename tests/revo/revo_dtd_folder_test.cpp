// SPDX-License-Identifier: GPL-2.0-or-later
// A downloaded DTD folder may hold links to anywhere and things that are not
// files: an article's external entity reads only the folder's own regular
// files, and anything else is refused with a message.
#include "revo/revo_parser.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;
using testing_support::WriteBytes;

TEST(RevoParser, ExternalEntitiesAreReadOnlyFromTheDtdFoldersOwnRegularFiles) {
    TempDir dir;
    fs::create_directory(dir.File("dtd"));
    for (const auto& entry :
         fs::directory_iterator(fs::path(KELIMBO_FIXTURES) / "revo/fixtures/dtd")) {
        fs::copy_file(entry.path(), dir.File("dtd") / entry.path().filename());
    }
    WriteBytes(dir.File("secret.txt"), "SEKRETO");
    WriteBytes(dir.File("dtd/extra.ent"), "ekstra");
    fs::create_symlink(dir.File("secret.txt"), dir.File("dtd/passwd"));
    fs::create_symlink("../secret.txt", dir.File("dtd/relative"));
    fs::create_directory(dir.File("dtd/sub"));
    // The folder itself may be reached through a link: its files are inside it.
    fs::create_directory_symlink(dir.File("dtd"), dir.File("linked-dtd"));

    const std::string link = " is a symbolic link";
    const struct {
        const char* folder;
        const char* system; // the entity's SYSTEM identifier
        std::string why;    // the end of the message; empty: read
    } table[] = {
        {"dtd", "extra.ent", ""},
        {"dtd", "../dtd/extra.ent", ""},
        {"linked-dtd", "extra.ent", ""},
        {"dtd", "passwd", "dtd/passwd" + link},
        {"dtd", "../../../../etc/passwd", "dtd/passwd" + link},
        {"dtd", "relative", "dtd/relative" + link},
        {"dtd", "../secret.txt", "is not read: only files of the DTD folder are"},
        {"dtd", "sub", "dtd/sub is a folder, not a regular file"},
    };
    for (const auto& c : table) {
        RevoParser parser(dir.File(c.folder));
        const ParsedFile parsed = parser.ParseMemory(
            "<?xml version=\"1.0\"?>\n<!DOCTYPE vortaro SYSTEM \"../dtd/vokoxml.dtd\" "
            "[<!ENTITY x SYSTEM \"" +
                std::string(c.system) +
                "\">]>\n<vortaro><art mrk=\"x\"><kap><rad>a</rad></kap><drv mrk=\"y\"><kap>"
                "<tld/>o</kap><trd lng=\"ru\">&x;</trd></drv></art></vortaro>\n",
            dir.File("revo/a.xml").string());
        if (c.why.empty()) {
            ASSERT_TRUE(parsed.doc != nullptr) << c.system << ": " << parsed.error;
            const xmlNode* root = xmlDocGetRootElement(parsed.doc.get());
            xmlChar* text = xmlNodeGetContent(root);
            EXPECT_NE(std::string(reinterpret_cast<const char*>(text)).find("ekstra"),
                      std::string::npos);
            xmlFree(text);
        } else {
            EXPECT_TRUE(parsed.doc == nullptr) << c.system << " was read";
            // The parser names the entity as it resolved it against the article.
            EXPECT_TRUE(parsed.error.starts_with("the external entity \"")) << parsed.error;
            EXPECT_TRUE(parsed.error.ends_with(c.why)) << parsed.error;
        }
    }
}

} // namespace
