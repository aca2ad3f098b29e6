// SPDX-License-Identifier: GPL-2.0-or-later
// What the ReVo import does with a document: arbitrary bytes parsed as a ReVo
// file (with the test DTD's entities), its articles made for both directions,
// fitted, cut and encoded as the dictionary files. Properties: no crash or
// sanitizer report; whatever the parser accepts becomes files without error;
// every article fits one span; every headword of each index is found by its
// own text.
#include "dictbuild/dictionary_build.h"
#include "dictbuild/direction_writer.h"
#include "dictbuild/staged_files.h"
#include "errors/exc_msg.h"
#include "fuzz_support.h"
#include "importing/import_writer.h"
#include "index/language_indexes.h"
#include "revo/revo_entries.h"
#include "revo/revo_parser.h"

#include <filesystem>
#include <memory>

namespace {

void CheckIndex(Language language, const std::string& path) {
    std::unique_ptr<cIndex> index;
    if (language == Language::Esperanto) {
        index = std::make_unique<cIndexEo>();
    } else {
        index = std::make_unique<cIndexRu>();
    }
    try {
        index->Load(path.c_str());
    } catch (const cExcMsg&) {
        fuzz::Require(false);
    }
    for (std::uint32_t i = 0; i < index->Count(); ++i) {
        const HeadwordRange range = index->FindPrefix(index->HeadwordText(i));
        fuzz::Require(range.first <= i && i < range.last);
        for (const ArticleRef& ref : index->GetRefs(i)) {
            fuzz::Require(ref.start <= ref.end && ref.end - ref.start <= 2048);
        }
    }
}

void Build(Language language, std::vector<ImportedArticle> articles) {
    const PreparedDirection prepared =
        PrepareDirection({language, "Note\nLicence: GPL-2", std::move(articles)});
    for (const SourceArticle& article : prepared.articles) {
        fuzz::Require(!article.headword.empty());
        fuzz::Require(EncodeArticle(language, article.text).size() <= 2048);
    }
    const std::filesystem::path folder = fuzz::ScratchPath("revo");
    std::filesystem::create_directories(folder);
    try {
        StagedFiles staged(folder);
        DirectionWriter writer(language, staged, prepared.note);
        for (const SourceArticle& article : prepared.articles) {
            writer.Add(article);
        }
        writer.Finish();
        staged.Commit();
    } catch (const std::exception&) {
        fuzz::Require(false); // what was prepared must encode
    }
    CheckIndex(language, (folder / FilesOf(language).index).string());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static RevoParser parser(KELIMBO_REVO_FIXTURE_DTD);
    const ParsedFile parsed =
        parser.ParseMemory(std::string_view(reinterpret_cast<const char*>(data), size),
                           std::string(KELIMBO_REVO_FIXTURE_DTD) + "/../revo/fuzz.xml");
    if (!parsed.doc) {
        fuzz::Require(!parsed.error.empty());
        return 0;
    }
    DocumentEntries entries = ExtractEntries(parsed.doc.get());
    // Each Esperanto article begins with its headword line.
    for (const ImportedArticle& article : entries.esperanto) {
        fuzz::Require(!article.headwords.empty() && !article.headwords[0].empty());
        std::string first = article.text.substr(0, article.text.find('\n'));
        std::erase(first, kMorphemeMark);
        fuzz::Require(first.rfind(article.headwords[0], 0) == 0);
    }
    std::vector<ImportedArticle> russian = RussianArticles(entries.russian);
    Build(Language::Esperanto, std::move(entries.esperanto));
    Build(Language::Russian, std::move(russian));
    return 0;
}
