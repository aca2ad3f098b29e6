// SPDX-License-Identifier: GPL-2.0-or-later
// The whole of a real Reta Vortaro copy against the dictionary built from it,
// read with a reader of its own that shares nothing with the import: every
// derivation's headword and variants, and every variant of an article's head,
// must be headwords of the Esperanto direction, and the first words of every
// definition must stand in the article of its derivation's headword. Prints
// the shares and what is missing, with the reason.
//
// KELIMBO_REVO_BUILT names an already built dictionary folder to check
// instead of importing the copy (to measure another build of it).
#include "importing/import_writer.h"
#include "lookup/lookup_core.h"
#include "platform/code_page.h"
#include "revo/revo_import.h"
#include "revo/revo_parser.h"
#include "revo_real_data_copy.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using platform::FromUtf8;
using platform::ToUtf8;

// ---- The reader: ReVo's rules for headwords, written from the DTD --------

bool Named(const xmlNode* node, std::string_view name) {
    return node->type == XML_ELEMENT_NODE && name == reinterpret_cast<const char*>(node->name);
}

std::string Attr(const xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    std::string text = value != nullptr ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return text;
}

std::string Content(const xmlNode* node) {
    xmlChar* value = xmlNodeGetContent(node);
    std::string text = value != nullptr ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return text;
}

const xmlNode* Child(const xmlNode* node, std::string_view name) {
    for (const xmlNode* c = node->children; c != nullptr; c = c->next) {
        if (Named(c, name)) {
            return c;
        }
    }
    return nullptr;
}

struct Roots {
    std::string head;                         // <rad> of the article's <kap>
    std::map<std::string, std::string> named; // <rad var="x"> of its variants
};

// What a tilde stands for: the head's root, or a named variant's; `lit`
// replaces the first letter, however many bytes it takes.
std::string Tilde(const xmlNode* tld, const Roots& roots) {
    const std::string name = Attr(tld, "var");
    std::string root =
        name.empty() || roots.named.count(name) == 0 ? roots.head : roots.named.at(name);
    const std::string lit = Attr(tld, "lit");
    if (!lit.empty() && !root.empty()) {
        std::size_t first = 1;
        while (first < root.size() && (static_cast<unsigned char>(root[first]) & 0xC0) == 0x80) {
            ++first;
        }
        root = lit + root.substr(first);
    }
    return root;
}

// The text of a node, tildes filled in, the elements in `skip` left out.
void Gather(const xmlNode* node, const Roots& roots, const std::vector<std::string_view>& skip,
            std::string& out) {
    for (const xmlNode* c = node->children; c != nullptr; c = c->next) {
        if (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) {
            out += reinterpret_cast<const char*>(c->content);
        } else if (Named(c, "tld")) {
            out += Tilde(c, roots);
        } else if (c->type == XML_ELEMENT_NODE &&
                   std::find(skip.begin(), skip.end(), reinterpret_cast<const char*>(c->name)) ==
                       skip.end() &&
                   !(Named(c, "trd") && Attr(c, "lng") != "la")) {
            Gather(c, roots, skip, out);
        }
    }
}

// A headword as a reader writes it: no root slashes, single spaces, no
// separators at the ends.
std::string HeadwordOf(const xmlNode* kap, const Roots& roots) {
    std::string raw;
    Gather(kap, roots, {"fnt", "ofc", "var"}, raw);
    // No-break spaces are spaces.
    for (const std::string_view nbsp : {"\u00A0", "\u202F"}) {
        for (std::size_t at = raw.find(nbsp); at != std::string::npos; at = raw.find(nbsp, at)) {
            raw.replace(at, nbsp.size(), " ");
        }
    }
    std::string text;
    for (const char c : raw) {
        if (c == '/') {
            continue;
        }
        const bool space = c == ' ' || c == '\n' || c == '\t' || c == '\r';
        if (!space) {
            text += c;
        } else if (!text.empty() && text.back() != ' ') {
            text += ' ';
        }
    }
    const std::size_t first = text.find_first_not_of(" ,;:");
    return first == std::string::npos
               ? ""
               : text.substr(first, text.find_last_not_of(" ,;:") - first + 1);
}

// Words for comparing texts: runs of letters and digits, ASCII in lower case.
std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto u = static_cast<unsigned char>(text[i]);
        // Punctuation and symbols of U+0080..U+00BF and U+2000..U+2FFF
        // (no-break spaces, dashes, quotes, arrows) separate words.
        const bool symbol = u == 0xC2 || u == 0xE2;
        if (symbol) {
            i += u == 0xC2 ? 1 : 2;
        }
        if (!symbol && (u >= 0x80 || std::isalnum(u) != 0)) {
            words.back() += static_cast<char>(u < 0x80 ? std::tolower(u) : u);
        } else if (!words.back().empty()) {
            words.emplace_back();
        }
    }
    if (words.back().empty()) {
        words.pop_back();
    }
    return words;
}

struct Derivation {
    std::string file;
    std::vector<std::string> headwords; // its own, then its variants'
    bool russian = false;
    std::vector<std::vector<std::string>> definitions; // the first words of each
    std::vector<std::string> texts;                    // and the text they come from
};

struct Copy {
    std::vector<Derivation> derivations;
    std::vector<std::pair<std::string, std::string>> headVariants; // file, headword
    std::vector<std::string> unread;
};

constexpr std::size_t kDefinitionWords = 4;

void ReadDerivation(const xmlNode* drv, const Roots& roots, const std::string& file, Copy& copy) {
    const xmlNode* kap = Child(drv, "kap");
    if (kap == nullptr) {
        return;
    }
    Derivation d{file, {HeadwordOf(kap, roots)}, false, {}, {}};
    for (const xmlNode* c = kap->children; c != nullptr; c = c->next) {
        if (const xmlNode* variant = Named(c, "var") ? Child(c, "kap") : nullptr) {
            d.headwords.push_back(HeadwordOf(variant, roots));
        }
    }
    // Every definition and Russian translation below it, at any depth.
    std::vector<const xmlNode*> stack{drv};
    while (!stack.empty()) {
        const xmlNode* node = stack.back();
        stack.pop_back();
        for (const xmlNode* c = node->children; c != nullptr; c = c->next) {
            if (Named(c, "trd") &&
                (Attr(c, "lng") == "ru" || (Attr(c, "lng").empty() && Attr(node, "lng") == "ru"))) {
                d.russian = d.russian || !Words(Content(c)).empty();
            }
            if (Named(c, "dif")) {
                std::string text;
                Gather(c, roots, {"ekz", "fnt", "trdgrp"}, text);
                std::vector<std::string> words = Words(text);
                words.resize(std::min(words.size(), kDefinitionWords));
                if (!words.empty()) {
                    d.definitions.push_back(std::move(words));
                    d.texts.push_back(text);
                }
            }
            if (c->type == XML_ELEMENT_NODE) {
                stack.push_back(c);
            }
        }
    }
    copy.derivations.push_back(std::move(d));
}

Copy ReadCopy(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".xml") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    Copy copy;
    for (const std::filesystem::path& path : files) {
        const std::string file = path.filename().string();
        const std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
            xmlReadFile(path.c_str(), nullptr,
                        XML_PARSE_DTDLOAD | XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOERROR |
                            XML_PARSE_NOWARNING),
            &xmlFreeDoc);
        const xmlNode* root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
        if (root == nullptr) {
            copy.unread.push_back(file);
            continue;
        }
        for (const xmlNode* art = root->children; art != nullptr; art = art->next) {
            const xmlNode* kap = Named(art, "art") ? Child(art, "kap") : nullptr;
            if (kap == nullptr) {
                continue;
            }
            Roots roots;
            std::vector<const xmlNode*> variants;
            for (const xmlNode* c = kap->children; c != nullptr; c = c->next) {
                if (Named(c, "rad")) {
                    roots.head = Content(c);
                } else if (const xmlNode* variant = Named(c, "var") ? Child(c, "kap") : nullptr) {
                    variants.push_back(variant);
                    const xmlNode* rad = Child(variant, "rad");
                    if (rad != nullptr && !Attr(rad, "var").empty()) {
                        roots.named[Attr(rad, "var")] = Content(rad);
                    }
                }
            }
            for (const xmlNode* variant : variants) {
                copy.headVariants.emplace_back(file, HeadwordOf(variant, roots));
            }
            for (const xmlNode* c = art->children; c != nullptr; c = c->next) {
                if (Named(c, "drv")) {
                    ReadDerivation(c, roots, file, copy);
                } else if (Named(c, "subart")) {
                    for (const xmlNode* drv = c->children; drv != nullptr; drv = drv->next) {
                        if (Named(drv, "drv")) {
                            ReadDerivation(drv, roots, file, copy);
                        }
                    }
                }
            }
        }
    }
    return copy;
}

// ---- The check ------------------------------------------------------------

// Whether a text has characters that neither Windows-1251 nor the
// Esperanto letters hold, which the dictionary's file spells otherwise.
bool Unspellable(const std::string& text) {
    for (const char16_t c : FromUtf8(text)) {
        if (std::u16string_view(u"ĈĉĜĝĤĥĴĵŜŝŬŭ?").find(c) == std::u16string_view::npos &&
            platform::ToAnsi(std::u16string(1, c)) == "?") {
            return true;
        }
    }
    return false;
}

// The articles that a headword opens, or why there are none.
struct Opened {
    std::vector<std::vector<std::string>> articles; // as words
    std::string missing;                            // the reason, when none
};

Opened Open(LookupCore& folder, const std::string& headword) {
    Opened opened;
    const ListResult list = folder.List(FromUtf8(headword));
    for (const std::size_t line : list.exactLines) {
        opened.articles.push_back(Words(ToUtf8(folder.Article(list, line))));
    }
    if (!opened.articles.empty()) {
        return opened;
    }
    opened.missing = Unspellable(headword) ? "has characters the Esperanto file cannot hold"
                     : list.lines.empty()
                         ? "no headword begins with it"
                         : "not a headword; the list begins with " + ToUtf8(list.lines[0]);
    return opened;
}

bool Contains(const std::vector<std::string>& text, const std::vector<std::string>& words) {
    return std::search(text.begin(), text.end(), words.begin(), words.end()) != text.end();
}

std::string Joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& w : words) {
        text += (text.empty() ? "" : " ") + w;
    }
    return text;
}

struct Share {
    std::size_t present = 0, all = 0;
    double Percent() const {
        return all == 0 ? 100.0 : 100.0 * static_cast<double>(present) / static_cast<double>(all);
    }
};

TEST(RevoRealData, EveryDerivationAndDefinitionIsInTheDictionary) {
    const std::filesystem::path copyFolder = RevoCopy();
    if (const std::string missing = MissingRevoCopy(copyFolder); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    const Copy copy = ReadCopy(copyFolder / "revo");
    EXPECT_TRUE(copy.unread.empty()) << copy.unread.front();

    testing_support::TempDir dir;
    std::string built;
    if (const char* given = std::getenv("KELIMBO_REVO_BUILT"); given != nullptr && *given != '\0') {
        built = std::string(given) + "/";
    } else {
        const RevoFolders folders = LocateRevo(copyFolder, std::nullopt);
        RevoParser parser(folders.dtd);
        WriteRevoDirections(ImportRevo(folders.xml, parser), dir.Path());
        built = dir.AnsiPath("");
    }
    LookupCore folder(built);

    Share translated, untranslated, variants, definitions;
    std::vector<std::string> missing, undefined;
    for (const Derivation& d : copy.derivations) {
        Share& share = d.russian ? translated : untranslated;
        std::vector<std::vector<std::string>> articles;
        for (std::size_t i = 0; i < d.headwords.size(); ++i) {
            Opened opened = Open(folder, d.headwords[i]);
            Share& counted = i == 0 ? share : variants;
            ++counted.all;
            counted.present += opened.missing.empty();
            if (!opened.missing.empty()) {
                missing.push_back(d.file + ": " + d.headwords[i] + ": " + opened.missing);
            } else if (i == 0) {
                articles = std::move(opened.articles);
            }
        }
        for (std::size_t i = 0; i < d.definitions.size(); ++i) {
            const std::vector<std::string>& words = d.definitions[i];
            ++definitions.all;
            const bool shown = std::any_of(articles.begin(), articles.end(),
                                           [&](const auto& text) { return Contains(text, words); });
            definitions.present += shown;
            if (!shown) {
                undefined.push_back(d.file + ": " + d.headwords[0] + ": «" + Joined(words) + "» " +
                                    (articles.empty() ? "(no article)"
                                     : Unspellable(d.texts[i])
                                         ? "(it has characters the file lacks)"
                                         : "not in its article"));
            }
        }
    }
    for (const auto& [file, headword] : copy.headVariants) {
        Opened opened = Open(folder, headword);
        ++variants.all;
        variants.present += opened.missing.empty();
        if (!opened.missing.empty()) {
            missing.push_back(file + ": head variant " + headword + ": " + opened.missing);
        }
    }

    std::printf("derivations with Russian: %zu of %zu headwords present (%.2f %%)\n",
                translated.present, translated.all, translated.Percent());
    std::printf("derivations without Russian: %zu of %zu headwords present (%.2f %%)\n",
                untranslated.present, untranslated.all, untranslated.Percent());
    std::printf("variants: %zu of %zu present (%.2f %%)\n", variants.present, variants.all,
                variants.Percent());
    std::printf("definitions: %zu of %zu in their headword's article (%.2f %%)\n",
                definitions.present, definitions.all, definitions.Percent());
    for (const std::string& line : missing) {
        std::printf("missing %s\n", line.c_str());
    }
    for (std::size_t i = 0; i < undefined.size() && i < 40; ++i) {
        std::printf("definition %s\n", undefined[i].c_str());
    }

    EXPECT_GT(translated.all + untranslated.all, 30000u);
    EXPECT_GE(translated.Percent(), 99.9);
    EXPECT_GE(untranslated.Percent(), 99.9);
    EXPECT_GE(variants.Percent(), 99.9);
    EXPECT_GE(definitions.Percent(), 97.0);
}

} // namespace
