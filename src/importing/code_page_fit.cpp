// SPDX-License-Identifier: GPL-2.0-or-later
#include "importing/code_page_fit.h"

#include "importing/imported_article.h"
#include "importing/utf8_points.h"
#include "platform/cp1251.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

namespace {

// A character's ASCII (or Windows-1251) spelling. A `word` spelling is set
// apart by spaces from a letter or digit beside it ("αx" → "alpha x").
struct Spelling {
    char32_t c;
    const char* text;
    bool word;
};

// Sorted by character. Characters of the Latin ranges below that do not reduce
// to one base letter are here too, and the letters and marks of phonetic
// transcriptions (ʃ → sh, ˈ → ').
constexpr Spelling kSpellings[] = {
    {0x00A1, "!", false},       {0x00A2, "c", false},       {0x00A3, "GBP", true},
    {0x00A5, "JPY", true},      {0x00AA, "a", false},       {0x00B2, "^2", false},
    {0x00B3, "^3", false},      {0x00B9, "^1", false},      {0x00BA, "o", false},
    {0x00BC, "1/4", false},     {0x00BD, "1/2", false},     {0x00BE, "3/4", false},
    {0x00BF, "?", false},       {0x00C6, "AE", false},      {0x00D7, "x", false},
    {0x00DE, "Th", false},      {0x00DF, "ss", false},      {0x00E6, "ae", false},
    {0x00F7, ":", false},       {0x00FE, "th", false},      {0x0132, "IJ", false},
    {0x0133, "ij", false},      {0x0149, "'n", false},      {0x0152, "OE", false},
    {0x0153, "oe", false},      {0x018F, "E", false},       {0x0192, "f", false},
    {0x0218, "S", false},       {0x0219, "s", false},       {0x021A, "T", false},
    {0x021B, "t", false},       {0x0250, "a", false},       {0x0251, "a", false},
    {0x0252, "o", false},       {0x0254, "o", false},       {0x0259, "e", false},
    {0x025B, "e", false},       {0x025C, "e", false},       {0x0261, "g", false},
    {0x0263, "gh", false},      {0x026A, "i", false},       {0x0272, "nj", false},
    {0x0279, "r", false},       {0x027E, "r", false},       {0x0283, "sh", false},
    {0x028A, "u", false},       {0x028C, "a", false},       {0x028E, "lj", false},
    {0x0292, "zh", false},      {0x0294, "'", false},       {0x02B9, "'", false},
    {0x02BA, "\"", false},      {0x02BB, "'", false},       {0x02BC, "'", false},
    {0x02C6, "^", false},       {0x02C8, "'", false},       {0x02CC, ",", false},
    {0x02D0, ":", false},       {0x02DA, "\u00B0", false},  {0x02DC, "~", false},
    {0x0462, "\u0415", false},  {0x0463, "\u0435", false},  {0x0472, "\u0424", false},
    {0x0473, "\u0444", false},  {0x0474, "\u0418", false},  {0x0475, "\u0438", false},
    {0x1E0C, "D", false},       {0x1E0D, "d", false},       {0x1E24, "H", false},
    {0x1E25, "h", false},       {0x1E36, "L", false},       {0x1E37, "l", false},
    {0x1E42, "M", false},       {0x1E43, "m", false},       {0x1E44, "N", false},
    {0x1E45, "n", false},       {0x1E46, "N", false},       {0x1E47, "n", false},
    {0x1E5A, "R", false},       {0x1E5B, "r", false},       {0x1E62, "S", false},
    {0x1E63, "s", false},       {0x1E6C, "T", false},       {0x1E6D, "t", false},
    {0x1E92, "Z", false},       {0x1E93, "z", false},       {0x1E9E, "SS", false},
    {0x2002, " ", false},       {0x2003, " ", false},       {0x2004, " ", false},
    {0x2005, " ", false},       {0x2006, " ", false},       {0x2007, " ", false},
    {0x2008, " ", false},       {0x2009, " ", false},       {0x200A, " ", false},
    {0x2010, "-", false},       {0x2011, "-", false},       {0x2012, "\u2013", false},
    {0x2015, "\u2014", false},  {0x2016, "||", false},      {0x201B, "'", false},
    {0x201F, "\"", false},      {0x2027, "\u00B7", false},  {0x2028, " ", false},
    {0x2029, " ", false},       {0x202F, " ", false},       {0x2032, "'", false},
    {0x2033, "\"", false},      {0x2034, "'''", false},     {0x2044, "/", false},
    {0x205F, " ", false},       {0x20BD, "RUB", true},      {0x2102, "C", false},
    {0x2103, "\u00B0C", false}, {0x2109, "\u00B0F", false}, {0x2113, "l", false},
    {0x2115, "N", false},       {0x211A, "Q", false},       {0x211D, "R", false},
    {0x2124, "Z", false},       {0x2190, "<-", false},      {0x2191, "^", false},
    {0x2192, "->", false},      {0x2194, "<->", false},     {0x21A6, "|->", false},
    {0x21D0, "<=", false},      {0x21D2, "=>", false},      {0x21D4, "<=>", false},
    {0x2200, "for all", true},  {0x2202, "d", false},       {0x2203, "exists", true},
    {0x2205, "{}", false},      {0x2206, "Delta", true},    {0x2207, "nabla", true},
    {0x2208, "in", true},       {0x2209, "not in", true},   {0x220F, "Prod", true},
    {0x2211, "Sum", true},      {0x2212, "-", false},       {0x2213, "-+", false},
    {0x2215, "/", false},       {0x2216, "\\", false},      {0x2217, "*", false},
    {0x2218, "o", false},       {0x2219, "\u00B7", false},  {0x221A, "sqrt", true},
    {0x221D, "~", false},       {0x221E, "infinity", true}, {0x2227, "and", true},
    {0x2228, "or", true},       {0x2229, "cap", true},      {0x222A, "cup", true},
    {0x222B, "integral", true}, {0x223C, "~", false},       {0x2245, "~=", false},
    {0x2248, "~", false},       {0x2260, "!=", false},      {0x2261, "==", false},
    {0x2264, "<=", false},      {0x2265, ">=", false},      {0x226A, "<<", false},
    {0x226B, ">>", false},      {0x2282, "subset", true},   {0x2283, "superset", true},
    {0x2286, "subset", true},   {0x2287, "superset", true}, {0x2295, "(+)", false},
    {0x2297, "(x)", false},     {0x22C5, "\u00B7", false},  {0x25E6, "o", false},
    {0x2605, "*", false},       {0x2606, "*", false},       {0x27F6, "->", false},
    {0x27F9, "=>", false},      {0x2AFD, "//", false},
};

// Base letters of U+00C0..U+017F, U+01CD..U+01DC and U+1EA0..U+1EF9; '*' sends
// the character to kSpellings.
constexpr std::string_view kLatin1 =
    "AAAAAA*CEEEEIIIIDNOOOOO*OUUUUY**aaaaaa*ceeeeiiiidnooooo*ouuuuy*y";
constexpr std::string_view kLatinExtendedA =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi**Jj"
    "KkkLlLlLlLlLlNnNnNn*NnOoOoOo**RrRrRrSsSsSsSsTtTtTt"
    "UuUuUuUuUuUuWwYyYZzZzZzs";
constexpr std::string_view kPinyin = "AaIiOoUuUuUuUuUu";
constexpr std::string_view kVietnamese = "AaAaAaAaAaAaAaAaAaAaAaAaEeEeEeEeEeEeEeEeIiIiOoOoOoOoOo"
                                         "OoOoOoOoOoOoOoUuUuUuUuUuUuUuYyYyYyYy";
static_assert(kLatin1.size() == 0x100 - 0xC0);
static_assert(kLatinExtendedA.size() == 0x180 - 0x100);
static_assert(kPinyin.size() == 0x1DD - 0x1CD);
static_assert(kVietnamese.size() == 0x1EFA - 0x1EA0);

constexpr std::array<const char*, 25> kGreekNames = {
    "alpha", "beta",   "gamma",   "delta", "epsilon", "zeta",    "eta",  "theta", "iota",
    "kappa", "lambda", "mu",      "nu",    "xi",      "omicron", "pi",   "rho",   "sigma",
    "sigma", "tau",    "upsilon", "phi",   "chi",     "psi",     "omega"};

// Greek letters with tonos or dialytika, as the plain letter (U+0386..U+03CE).
char32_t PlainGreek(char32_t c) {
    switch (c) {
    case 0x0386:
        return 0x0391;
    case 0x0388:
        return 0x0395;
    case 0x0389:
        return 0x0397;
    case 0x038A:
    case 0x03AA:
        return 0x0399;
    case 0x038C:
        return 0x039F;
    case 0x038E:
    case 0x03AB:
        return 0x03A5;
    case 0x038F:
        return 0x03A9;
    case 0x0390:
    case 0x03AF:
    case 0x03CA:
        return 0x03B9;
    case 0x03AC:
        return 0x03B1;
    case 0x03AD:
        return 0x03B5;
    case 0x03AE:
        return 0x03B7;
    case 0x03B0:
    case 0x03CB:
    case 0x03CD:
        return 0x03C5;
    case 0x03CC:
        return 0x03BF;
    case 0x03CE:
        return 0x03C9;
    case 0x03D1:
        return 0x03B8;
    case 0x03D5:
        return 0x03C6;
    case 0x03D6:
        return 0x03C0;
    case 0x03F5:
        return 0x03B5;
    default:
        return c;
    }
}

bool IsEsperantoLetter(char32_t c) {
    switch (c) {
    case 0x0108:
    case 0x0109:
    case 0x011C:
    case 0x011D:
    case 0x0124:
    case 0x0125:
    case 0x0134:
    case 0x0135:
    case 0x015C:
    case 0x015D:
    case 0x016C:
    case 0x016D:
        return true;
    default:
        return false;
    }
}

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

// What the target holds and shows as it is.
bool Keeps(FitTarget target, char32_t c) {
    if (c == '\n' || c == static_cast<char32_t>(kMorphemeMark)) {
        return true;
    }
    if (IsControl(c)) {
        return false;
    }
    switch (target) {
    case FitTarget::EsperantoFile:
        return c != '/' && c != '`' &&
               (IsEsperantoLetter(c) || platform::Cp1251FromUnicode(c) >= 0);
    case FitTarget::Cp1251:
        return c == 0x0301 || platform::Cp1251FromUnicode(c) >= 0;
    case FitTarget::Utf8File:
        return c != 0xFEFF && c != 0x200B;
    }
    return false;
}

// The spelling of a character the target does not keep; empty when it is dropped.
std::string_view SpellingOf(FitTarget target, char32_t c, bool& word, std::string& scratch) {
    word = false;
    if (c == '\t') {
        return " ";
    }
    if (target == FitTarget::EsperantoFile && c == '/') {
        return "|";
    }
    if (target == FitTarget::EsperantoFile && c == '`') {
        return "'";
    }
    if (target == FitTarget::Utf8File) {
        return {};
    }
    char base = 0;
    if (c >= 0xC0 && c < 0x100) {
        base = kLatin1[c - 0xC0];
    } else if (c >= 0x100 && c < 0x180) {
        base = kLatinExtendedA[c - 0x100];
    } else if (c >= 0x1CD && c < 0x1DD) {
        base = kPinyin[c - 0x1CD];
    } else if (c >= 0x1EA0 && c < 0x1EFA) {
        base = kVietnamese[c - 0x1EA0];
    }
    if (base != 0 && base != '*') {
        scratch.assign(1, base);
        return scratch;
    }
    const char32_t greek = PlainGreek(c);
    if ((greek >= 0x0391 && greek <= 0x03A9 && greek != 0x03A2) ||
        (greek >= 0x03B1 && greek <= 0x03C9)) {
        const bool capital = greek <= 0x03A9;
        scratch = kGreekNames[greek - (capital ? 0x0391 : 0x03B1)];
        if (capital) {
            scratch[0] = static_cast<char>(scratch[0] - 'a' + 'A');
        }
        word = true;
        return scratch;
    }
    const auto found = std::lower_bound(std::begin(kSpellings), std::end(kSpellings), c,
                                        [](const Spelling& s, char32_t key) { return s.c < key; });
    if (found != std::end(kSpellings) && found->c == c) {
        word = found->word;
        return found->text;
    }
    return {};
}

bool IsAsciiAlnum(char32_t c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsWordChar(char32_t c) {
    return IsAsciiAlnum(c) || (c >= 0xC0 && c != 0xD7 && c != 0xF7 && c < 0x2000);
}

std::vector<std::pair<char32_t, std::size_t>> Most(const std::map<char32_t, std::size_t>& counts,
                                                   std::size_t n) {
    std::vector<std::pair<char32_t, std::size_t>> all(counts.begin(), counts.end());
    std::stable_sort(all.begin(), all.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    if (all.size() > n) {
        all.resize(n);
    }
    return all;
}

std::size_t Sum(const std::map<char32_t, std::size_t>& counts) {
    std::size_t sum = 0;
    for (const auto& [c, n] : counts) {
        sum += n;
    }
    return sum;
}

} // namespace

void FitTally::Merge(const FitTally& other) {
    for (const auto& [c, n] : other.m_replaced) {
        m_replaced[c] += n;
    }
    for (const auto& [c, n] : other.m_dropped) {
        m_dropped[c] += n;
    }
}

std::size_t FitTally::ReplacedCount() const {
    return Sum(m_replaced);
}

std::size_t FitTally::DroppedCount() const {
    return Sum(m_dropped);
}

std::vector<std::pair<char32_t, std::size_t>> FitTally::MostReplaced(std::size_t n) const {
    return Most(m_replaced, n);
}

std::vector<std::pair<char32_t, std::size_t>> FitTally::MostDropped(std::size_t n) const {
    return Most(m_dropped, n);
}

std::string FitText(std::string_view utf8, FitTarget target, FitTally& tally) {
    std::string out;
    out.reserve(utf8.size());
    std::string scratch;
    char32_t last = 0; // the last character written
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t c = NextCodePoint(utf8, pos);
        if (Keeps(target, c)) {
            AppendUtf8(out, c);
            last = c;
            continue;
        }
        bool word = false;
        const std::string_view spelling = SpellingOf(target, c, word, scratch);
        if (spelling.empty()) {
            tally.Dropped(c);
            continue;
        }
        tally.Replaced(c);
        if (word && IsWordChar(last)) {
            out += ' ';
        }
        // A spelling is ASCII or Windows-1251 text; only a slash in it still
        // needs the Esperanto file's own replacement.
        for (std::size_t i = 0; i < spelling.size();) {
            const char32_t s = NextCodePoint(spelling, i);
            AppendUtf8(out, target == FitTarget::EsperantoFile && s == '/' ? U'|' : s);
            last = s;
        }
        if (word && pos < utf8.size()) {
            std::size_t next = pos;
            if (IsWordChar(NextCodePoint(utf8, next))) {
                out += ' ';
                last = ' ';
            }
        }
    }
    return out;
}

std::string DescribeCharacter(char32_t c) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    std::string text = code;
    const bool invisible = IsControl(c) || (c >= 0x0300 && c < 0x0370) || c == 0x00A0 ||
                           (c >= 0x2000 && c <= 0x200F) || c == 0x202F || c == 0x205F ||
                           c == 0x3000 || c == 0xFEFF;
    if (!invisible) {
        text += ' ';
        AppendUtf8(text, c);
    }
    return text;
}
