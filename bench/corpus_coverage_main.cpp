// SPDX-License-Identifier: GPL-2.0-or-later
// kelimbo-corpus-coverage: how much of real running text reaches an entry.
// The Esperanto text is the example sentences of Reta Vortaro's articles
// (<ekz>, the tilde expanded to the article's root, sources and
// clarifications left out), read from its XML folder at run time; the Russian
// text is the fortunes of Debian's fortunes-ru (UTF-8 files). Tokens are runs
// of three letters or more; a capitalised token that does not begin a
// sentence is a name and is left out, one that does is read in small letters.
//
// A token reaches an entry when it is a headword, or when a base form of it
// (for Esperanto also: every part of its analysis) is one:
//   before  as the list offered base forms until now: only when no headword
//           begins with the token (FormFinder::Offer);
//   after   whenever the token is no headword (FormFinder::BaseFormsFirst).
// It prints both shares per language, the commonest misses after, and the
// time the base-form lines of every token took. Then, over the tokens that are
// no headword, it compares the sources of base forms: for Russian, how many
// reach an entry through the analyser's lemmas, through Hunspell's stems, and
// the time of each; for Esperanto, how many that the rules and the word
// analysis miss Apertium's Esperanto analyser would reach (tokens without
// accented letters only: the analyser is asked through Windows-1251).
//
//   kelimbo-corpus-coverage [--revo DIR] [--russian DIR] [--misses N] [--tokens FILE] DICTIONARY
//
// --tokens FILE also writes every token, one a line in UTF-8, the Esperanto
// ones first: input for `kelimbo-lookup --stdin --forms`.
// DICTIONARY is a folder the index tool wrote (kelimbo-index revo ... --out).

#include "dictbuild/dictionary_direction.h"
#include "forms/offered_lines.h"
#include "forms/russian_analyser.h"
#include "forms/russian_stemmer.h"
#include "index/language_indexes.h"
#include "platform/code_page.h"
#include "platform/file_open.h"
#include "text/index_key.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Arguments {
    std::string dictionary;
    std::string revo = "/work/shared/revo";
    std::string russian = "/usr/share/games/fortunes/ru";
    std::size_t misses = 30;
    std::string tokens; // where to write the tokens, one a line in UTF-8; empty: nowhere
};

bool IsLetter(char16_t c, bool esperanto) {
    if (esperanto) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
               std::u16string_view(u"ĉĝĥĵŝŭĈĜĤĴŜŬ").find(c) != std::u16string_view::npos;
    }
    return (c >= u'а' && c <= u'я') || (c >= u'А' && c <= u'Я') || c == u'ё' || c == u'Ё';
}

bool IsCapital(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'А' && c <= u'Я') || c == u'Ё' ||
           std::u16string_view(u"ĈĜĤĴŜŬ").find(c) != std::u16string_view::npos;
}

char16_t Small(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= u'А' && c <= u'Я')) {
        return static_cast<char16_t>(c + 0x20);
    }
    if (c == u'Ё') {
        return u'ё';
    }
    if (c >= u'Ĉ' && c <= u'ŭ') { // ĈĉĜĝĤĥĴĵŜŝŬŭ: the capital is the even one
        return (c % 2 == 0) ? static_cast<char16_t>(c + 1) : c;
    }
    return c;
}

// The words of a text, in index form: names out, a sentence's first word small.
void Tokenise(std::u16string_view text, bool esperanto, std::vector<std::string>& tokens) {
    bool sentenceStart = true;
    for (std::size_t i = 0; i < text.size();) {
        if (!IsLetter(text[i], esperanto)) {
            if (std::u16string_view(u".!?…%").find(text[i]) != std::u16string_view::npos) {
                sentenceStart = true;
            }
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && IsLetter(text[end], esperanto)) {
            ++end;
        }
        std::u16string word(text.substr(i, end - i));
        // An elided -o: "hom'" (or with a typographic apostrophe) is "homo".
        if (esperanto && end < text.size() && (text[end] == u'\'' || text[end] == u'’')) {
            word += u'o';
        }
        const bool capital = IsCapital(word.front());
        const bool name = capital && !sentenceStart;
        sentenceStart = false;
        i = end;
        if (name || word.size() < 3) {
            continue;
        }
        std::transform(word.begin(), word.end(), word.begin(), Small);
        tokens.push_back(to_index_key(word));
    }
}

// The text of an example, the tilde expanded; sources, clarifications and
// translations left out.
void ExampleText(const xmlNode* node, const std::u16string& root, std::u16string& out) {
    for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
        if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) {
            out += platform::FromUtf8(reinterpret_cast<const char*>(child->content));
            continue;
        }
        if (child->type != XML_ELEMENT_NODE) {
            continue;
        }
        const std::string name = reinterpret_cast<const char*>(child->name);
        if (name == "tld") {
            std::u16string tilde = root;
            if (xmlChar* lit = xmlGetProp(child, BAD_CAST "lit"); lit != nullptr) {
                const std::u16string letter = platform::FromUtf8(reinterpret_cast<char*>(lit));
                if (!tilde.empty() && !letter.empty()) {
                    tilde.replace(0, 1, letter);
                }
                xmlFree(lit);
            }
            out += tilde;
        } else if (name != "fnt" && name != "klr" && name != "trd" && name != "trdgrp" &&
                   name != "uzo") {
            ExampleText(child, root, out);
        }
    }
}

const xmlNode* FindElement(const xmlNode* node, std::string_view name) {
    for (; node != nullptr; node = node->next) {
        if (node->type == XML_ELEMENT_NODE && name == reinterpret_cast<const char*>(node->name)) {
            return node;
        }
        if (const xmlNode* found = FindElement(node->children, name)) {
            return found;
        }
    }
    return nullptr;
}

void Examples(const xmlNode* node, const std::u16string& root, std::vector<std::string>& tokens) {
    for (; node != nullptr; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) {
            continue;
        }
        if (std::string_view("ekz") == reinterpret_cast<const char*>(node->name)) {
            std::u16string text;
            ExampleText(node, root, text);
            Tokenise(text, true, tokens);
        } else {
            Examples(node->children, root, tokens);
        }
    }
}

std::vector<std::string> EsperantoTokens(const std::string& revo) {
    std::vector<std::string> tokens;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(revo) / "revo")) {
        if (entry.path().extension() == ".xml") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        xmlDoc* doc = xmlReadFile(file.c_str(), nullptr,
                                  XML_PARSE_DTDLOAD | XML_PARSE_NOENT | XML_PARSE_NONET |
                                      XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
        if (doc == nullptr) {
            continue;
        }
        const xmlNode* top = xmlDocGetRootElement(doc);
        std::u16string root;
        if (const xmlNode* rad = FindElement(top, "rad")) {
            if (xmlChar* text = xmlNodeGetContent(rad)) {
                root = platform::FromUtf8(reinterpret_cast<char*>(text));
                xmlFree(text);
            }
        }
        Examples(top, root, tokens);
        xmlFreeDoc(doc);
    }
    return tokens;
}

std::vector<std::string> RussianTokens(const std::string& folder) {
    std::vector<std::string> tokens;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".u8") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        Tokenise(platform::FromUtf8(bytes.str()), false, tokens);
    }
    return tokens;
}

bool FoundByAForm(const cIndex& index, const forms::Offered& offered) {
    return std::any_of(
        offered.lines.begin(), offered.lines.end(), [&](const forms::OfferedLine& l) {
            return index.GetLess().same(offered.forms[l.form].key, index.HeadwordText(l.position));
        });
}

bool AnyHeadword(const cIndex& index, const std::vector<std::string>& keys) {
    return std::any_of(keys.begin(), keys.end(),
                       [&](const std::string& key) { return forms::IsHeadwordIn(index, key); });
}

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

void CompareRussian(const cIndex& index, const std::vector<std::string>& tokens) {
    const forms::RussianAnalyser analyser;
    const forms::RussianStemmer stemmer;
    analyser.Lemmas("a");
    stemmer.Stems("a");
    std::size_t asked = 0, byAnalyser = 0, byStemmer = 0, both = 0, known = 0;
    Clock::duration analyserTime{}, stemmerTime{};
    for (const std::string& token : tokens) {
        if (forms::IsHeadwordIn(index, token)) {
            continue;
        }
        ++asked;
        auto start = Clock::now();
        const std::vector<std::string> lemmas = analyser.Lemmas(token);
        analyserTime += Clock::now() - start;
        start = Clock::now();
        const std::vector<std::string> stems = stemmer.Stems(token);
        stemmerTime += Clock::now() - start;
        known += lemmas.empty() ? 0 : 1;
        const bool a = AnyHeadword(index, lemmas), h = AnyHeadword(index, stems);
        byAnalyser += a ? 1 : 0;
        byStemmer += h ? 1 : 0;
        both += a && h ? 1 : 0;
    }
    std::printf("  sources, over the %zu tokens that are no headword: the analyser knows %zu and "
                "reaches an entry for %zu (%.1f us a word); Hunspell for %zu (%.1f us a word); "
                "both %zu, the analyser alone %zu, Hunspell alone %zu\n",
                asked, known, byAnalyser, 1e6 * Seconds(analyserTime) / double(asked), byStemmer,
                1e6 * Seconds(stemmerTime) / double(asked), both, byAnalyser - both,
                byStemmer - both);
}

void CompareEsperanto(const cIndex& index, const std::vector<std::string>& tokens,
                      const forms::FormFinder& finder);

void Measure(const char* language, const cIndex& index, bool esperanto,
             const std::vector<std::string>& tokens, std::size_t misses) {
    const forms::FormFinder finder;
    std::size_t before = 0, after = 0, looked = 0;
    std::map<std::string, std::size_t> missed;
    std::chrono::steady_clock::duration spent{};
    for (const std::string& token : tokens) {
        if (forms::IsHeadwordIn(index, token)) {
            ++before;
            ++after;
            continue;
        }
        if (FoundByAForm(index, finder.Offer(index, esperanto, token))) {
            ++before;
        }
        ++looked;
        const auto start = std::chrono::steady_clock::now();
        const forms::Offered offered = finder.BaseFormsFirst(index, esperanto, token);
        spent += std::chrono::steady_clock::now() - start;
        if (FoundByAForm(index, offered)) {
            ++after;
        } else {
            ++missed[token];
        }
    }
    const auto share = [&](std::size_t n) { return 100.0 * double(n) / double(tokens.size()); };
    std::printf("%s: %zu tokens, reach an entry: before %.1f %%, after %.1f %%\n", language,
                tokens.size(), share(before), share(after));
    const double seconds = std::chrono::duration<double>(spent).count();
    std::printf("  base-form lines of the %zu tokens that are no headword: %.3f s, %.1f us each, "
                "%.0f tokens/s\n",
                looked, seconds, 1e6 * seconds / double(std::max<std::size_t>(1, looked)),
                double(looked) / std::max(seconds, 1e-9));
    std::vector<std::pair<std::size_t, std::string>> commonest;
    for (const auto& [token, count] : missed) {
        commonest.emplace_back(count, token);
    }
    std::sort(commonest.begin(), commonest.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    std::printf("  commonest misses:");
    for (std::size_t k = 0; k < std::min(misses, commonest.size()); ++k) {
        std::string shown;
        append_index_key_utf8(shown, commonest[k].second);
        std::printf(" %s (%zu)", shown.c_str(), commonest[k].first);
    }
    std::printf("\n");
    if (esperanto) {
        CompareEsperanto(index, tokens, finder);
    } else {
        CompareRussian(index, tokens);
    }
}

void CompareEsperanto(const cIndex& index, const std::vector<std::string>& tokens,
                      const forms::FormFinder& finder) {
    const forms::RussianAnalyser analyser("/usr/share/apertium/apertium-eo-en/eo-en.automorf.bin");
    std::size_t plain = 0, missed = 0, rescued = 0, agree = 0;
    for (const std::string& token : tokens) {
        if (token.find('x') != std::string::npos || forms::IsHeadwordIn(index, token)) {
            continue;
        }
        ++plain;
        const bool rules = FoundByAForm(index, finder.BaseFormsFirst(index, true, token));
        const bool apertium = AnyHeadword(index, analyser.Lemmas(token));
        missed += rules ? 0 : 1;
        rescued += !rules && apertium ? 1 : 0;
        agree += rules && apertium ? 1 : 0;
    }
    std::printf("  Apertium's Esperanto analyser (%s), over the %zu tokens without accented "
                "letters that are no headword: the rules miss %zu, of which it reaches %zu; "
                "both reach %zu\n",
                analyser.Loaded() ? "read" : "absent", plain, missed, rescued, agree);
}

} // namespace

int main(int argc, char** argv) {
    Arguments args;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--revo" && i + 1 < argc) {
            args.revo = argv[++i];
        } else if (arg == "--russian" && i + 1 < argc) {
            args.russian = argv[++i];
        } else if (arg == "--misses" && i + 1 < argc) {
            args.misses = std::stoul(argv[++i]);
        } else if (arg == "--tokens" && i + 1 < argc) {
            args.tokens = argv[++i];
        } else if (args.dictionary.empty() && !arg.starts_with("--")) {
            args.dictionary = arg;
        } else {
            std::fprintf(stderr, "usage: kelimbo-corpus-coverage [--revo DIR] [--russian DIR] "
                                 "[--misses N] [--tokens FILE] DICTIONARY\n");
            return 2;
        }
    }
    if (args.dictionary.empty()) {
        std::fprintf(stderr, "usage: kelimbo-corpus-coverage [--revo DIR] [--russian DIR] "
                             "[--misses N] [--tokens FILE] DICTIONARY\n");
        return 2;
    }
    try {
        const std::string folder = platform::AnsiPath(args.dictionary + "/");
        cIndexEo eo;
        cIndexRu ru;
        eo.Load((folder + FilesOf(Language::Esperanto).index).c_str());
        ru.Load((folder + FilesOf(Language::Russian).index).c_str());
        std::ofstream tokens;
        if (!args.tokens.empty()) {
            tokens.open(args.tokens, std::ios::binary);
            if (!tokens) {
                throw std::runtime_error("cannot write " + args.tokens);
            }
        }
        // The tokens in order, as a user would type them (kelimbo-lookup --stdin).
        const auto write = [&tokens](const std::vector<std::string>& list) {
            for (const std::string& token : list) {
                if (tokens.is_open()) {
                    tokens << platform::ToUtf8(from_index_key(token)) << '\n';
                }
            }
        };
        if (fs::is_directory(fs::path(args.revo) / "revo")) {
            const std::vector<std::string> list = EsperantoTokens(args.revo);
            write(list);
            Measure("Esperanto", eo, true, list, args.misses);
        } else {
            std::printf("Esperanto: skipped, no Reta Vortaro folder at %s\n", args.revo.c_str());
        }
        if (fs::is_directory(args.russian)) {
            const std::vector<std::string> list = RussianTokens(args.russian);
            write(list);
            Measure("Russian", ru, false, list, args.misses);
        } else {
            std::printf("Russian: skipped, no fortunes-ru text at %s\n", args.russian.c_str());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kelimbo-corpus-coverage: %s\n", e.what());
        return 1;
    }
    return 0;
}
