// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/dictionary_fixture.h"

#include "articles/dictionary_files.h"
#include "index/index_writer.h"
#include "index/my_less.h"
#include "index/x_less.h"
#include "platform/code_page.h"

#include <cstdio>

namespace dictionary_fixture {

using testing_support::Cp1251;

std::vector<std::string> RussianHeadwords() {
    std::vector<std::string> words;
    for (int i = 0; i < 60; ++i) {
        char number[8];
        std::snprintf(number, sizeof number, "%03d", i);
        words.push_back(std::string("аба") + number);
    }
    for (const char* word : {"абажур", "абзац", "ёж", "жук", "123", "«Ура»"}) {
        words.emplace_back(word);
    }
    return words;
}

std::vector<std::string> EsperantoHeadwords() {
    return {"sxafo", "sxanco", "cxapelo", "Cxinio", "1a", "abc", "ab"};
}

namespace {

std::vector<HeadwordSource> Sources(const std::vector<std::string>& words, bool russian) {
    std::vector<HeadwordSource> sources;
    std::uint32_t start = 0;
    for (const std::string& word : words) {
        sources.push_back({russian ? Cp1251(word) : word, {{start, start + 8}}});
        start += 8;
    }
    return sources;
}

} // namespace

void WriteDataFiles(const testing_support::TempDir& dir, bool withRuIndex) {
    const std::string ruText(8 * RussianHeadwords().size(), 'r');
    const std::string eoText(8 * EsperantoHeadwords().size(), 'e');
    if (withRuIndex) {
        WriteIndexFile(dir.AnsiPath(kRussianFiles.index).c_str(), my_less(),
                       Sources(RussianHeadwords(), true), kDefaultBlockOrder,
                       bsi::IdentityOf(ruText));
    }
    WriteIndexFile(dir.AnsiPath(kEsperantoFiles.index).c_str(), x_less(),
                   Sources(EsperantoHeadwords(), false), kDefaultBlockOrder,
                   bsi::IdentityOf(eoText));
    testing_support::WriteBytes(dir.File(kRussianFiles.text), ruText);
    testing_support::WriteBytes(dir.File(kEsperantoFiles.text), eoText);
}

void LoadIndexes(ProgramObjects& objects, const testing_support::TempDir& dir) {
    objects.lookup.Open(dir.AnsiPath(""));
    objects.lookup.Load();
}

std::string ModulePath(const testing_support::TempDir& dir) {
    return (dir.Path() / "kelimbo").string();
}

} // namespace dictionary_fixture
