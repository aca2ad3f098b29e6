// SPDX-License-Identifier: GPL-2.0-or-later
#include "revo/revo_entries.h"

#include "importing/utf8_points.h"
#include "revo/revo_labels.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <tuple>

namespace {

// Where a tld stood in a headword line until the text is tidied: it becomes a
// morpheme mark between letters and disappears elsewhere.
constexpr char kRootEdge = '\x1E';

constexpr std::size_t kExampleChars = 200;
constexpr std::size_t kGlossChars = 60;

bool Is(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE &&
           xmlStrEqual(node->name, reinterpret_cast<const xmlChar*>(name));
}

std::string Attribute(const xmlNode* node, const char* name) {
    for (const xmlAttr* attr = node->properties; attr != nullptr; attr = attr->next) {
        if (xmlStrEqual(attr->name, reinterpret_cast<const xmlChar*>(name))) {
            std::string value;
            for (const xmlNode* text = attr->children; text != nullptr; text = text->next) {
                if (text->content != nullptr) {
                    value += reinterpret_cast<const char*>(text->content);
                }
            }
            return value;
        }
    }
    return {};
}

// The root that <tld/> stands for; <rad var="x"> gives the root of a variant.
struct Root {
    std::string main;
    std::map<std::string, std::string> variants;
};

enum class Mode {
    Headword,    // a <kap>: no variants, sources or marks of officiality; the root's
                 // edges kept for morpheme marks
    Definition,  // a <dif>: no examples, no translations but Latin names
    Example,     // an <ekz>: no translations, no labels
    Translation, // a <trd> as shown, its explanations included
    Bare,        // a <trd> or <ind> as a headword: no explanations
};

bool IsLetterByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Whether the text at `pos` closes what stands before it, so that no space
// belongs before it; an ellipsis ("antaŭ ...-n") does not.
bool ClosesBefore(std::string_view text, std::size_t pos) {
    if (pos >= text.size() ||
        std::string_view(",.;:!?)]").find(text[pos]) == std::string_view::npos) {
        return false;
    }
    return !(text[pos] == '.' && pos + 1 < text.size() && text[pos + 1] == '.');
}

class Renderer {
public:
    explicit Renderer(const Root& root) : m_root(root) {}

    // The node's text in the mode, tidied: one space between words, none
    // before closing punctuation or after an opening bracket, no empty brackets.
    std::string Text(const xmlNode* node, Mode mode) const {
        std::string raw;
        Append(node, mode, raw);
        return Tidy(raw);
    }

private:
    void Append(const xmlNode* node, Mode mode, std::string& out) const {
        for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
            if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) {
                AppendText(reinterpret_cast<const char*>(child->content), mode, out);
            } else if (child->type == XML_ELEMENT_NODE) {
                AppendElement(child, mode, out);
            }
        }
    }

    void AppendText(const char* text, Mode mode, std::string& out) const {
        if (text == nullptr) {
            return;
        }
        if (mode != Mode::Headword && mode != Mode::Bare) {
            out += text;
            return;
        }
        // What is typed and looked up has plain spaces where ReVo keeps a
        // word group together ("fu&nbsp;fu", "Novo-Zelando&#x202F;<fnt>").
        for (std::string_view rest(text); !rest.empty();) {
            if (rest.starts_with("\u00A0") || rest.starts_with("\u202F")) {
                out += ' ';
                rest.remove_prefix(rest.starts_with("\u00A0") ? 2 : 3);
            } else {
                // A slash in a headword is ReVo's own root mark ("hund/o").
                out += mode == Mode::Headword && rest.front() == '/' ? kRootEdge : rest.front();
                rest.remove_prefix(1);
            }
        }
    }

    void AppendElement(const xmlNode* element, Mode mode, std::string& out) const {
        const std::string_view name(reinterpret_cast<const char*>(element->name));
        if (name == "tld") {
            const std::string edge = mode == Mode::Headword ? std::string(1, kRootEdge) : "";
            out += edge + RootText(element) + edge;
            return;
        }
        if (name == "fnt" || name == "adm" || name == "bld" || name == "ofc" || name == "sncref" ||
            name == "rim" || name == "mlg" || name == "tezrad" || name == "lstref") {
            return;
        }
        if (mode == Mode::Headword && name == "var") {
            return;
        }
        if (mode == Mode::Definition && (name == "ekz" || name == "trdgrp" ||
                                         (name == "trd" && Attribute(element, "lng") != "la"))) {
            return;
        }
        if (mode == Mode::Example && (name == "trd" || name == "trdgrp" || name == "uzo")) {
            return;
        }
        if (name == "klr") {
            if (mode == Mode::Bare) {
                return;
            }
            out += ' ';
        }
        Append(element, mode, out);
    }

    std::string RootText(const xmlNode* tld) const {
        const std::string variant = Attribute(tld, "var");
        std::string base = m_root.main;
        if (!variant.empty()) {
            const auto found = m_root.variants.find(variant);
            if (found != m_root.variants.end()) {
                base = found->second;
            }
        }
        const std::string letter = Attribute(tld, "lit");
        if (!letter.empty() && !base.empty()) {
            std::size_t first = 0;
            NextCodePoint(base, first);
            base = letter + base.substr(first);
        }
        return base;
    }

    static std::string Tidy(const std::string& raw) {
        // Collapse spaces; a root edge survives only between letters.
        std::string text;
        text.reserve(raw.size());
        for (std::size_t i = 0; i < raw.size(); ++i) {
            const char c = raw[i];
            if (IsSpace(c)) {
                if (!text.empty() && text.back() != ' ') {
                    text += ' ';
                }
            } else if (c == kRootEdge) {
                std::size_t next = i + 1;
                while (next < raw.size() && raw[next] == kRootEdge) {
                    ++next;
                }
                if (!text.empty() && IsLetterByte(text.back()) && next < raw.size() &&
                    IsLetterByte(raw[next])) {
                    text += kMorphemeMark;
                }
                i = next - 1;
            } else {
                text += c;
            }
        }
        // No space before closing punctuation or after an opening bracket.
        std::string tidy;
        tidy.reserve(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c == ' ' && (tidy.empty() || tidy.back() == '(' || tidy.back() == '[' ||
                             ClosesBefore(text, i + 1))) {
                continue;
            }
            if ((c == ')' && !tidy.empty() && tidy.back() == '(') ||
                (c == ']' && !tidy.empty() && tidy.back() == '[')) {
                tidy.pop_back(); // an empty pair of brackets goes, with a space before it
                if (!tidy.empty() && tidy.back() == ' ') {
                    tidy.pop_back();
                }
                continue;
            }
            tidy += c;
        }
        while (!tidy.empty() && tidy.back() == ' ') {
            tidy.pop_back();
        }
        return tidy;
    }

    const Root& m_root;
};

// Leading and trailing separators of a headword ("abstraktaĵo ,", "собака;").
std::string StripSeparators(std::string text) {
    const std::string_view separators = " ,;:";
    const std::size_t first = text.find_first_not_of(separators);
    if (first == std::string::npos) {
        return {};
    }
    text.erase(0, first);
    text.erase(text.find_last_not_of(separators) + 1);
    return text;
}

// An example's closing full stop (not an ellipsis) goes: the translation follows it.
std::string WithoutFullStop(std::string text) {
    if (text.ends_with('.') && !text.ends_with("..")) {
        text.pop_back();
    }
    return text;
}

// At most `limit` characters, cut after a word and ended with "…".
std::string Shorten(const std::string& text, std::size_t limit) {
    std::size_t pos = 0;
    std::size_t chars = 0;
    std::size_t lastSpace = std::string::npos;
    while (pos < text.size() && chars < limit) {
        if (text[pos] == ' ') {
            lastSpace = pos;
        }
        NextCodePoint(text, pos);
        ++chars;
    }
    if (pos >= text.size()) {
        return text;
    }
    std::string cut = text.substr(0, lastSpace != std::string::npos ? lastSpace : pos);
    while (!cut.empty() && std::string_view(" ,;:").find(cut.back()) != std::string_view::npos) {
        cut.pop_back();
    }
    return cut + "\u2026";
}

// A definition as a sentence: the colon that led to its examples becomes a full stop.
std::string AsSentence(std::string text) {
    while (!text.empty() && std::string_view(" ,;:").find(text.back()) != std::string_view::npos) {
        text.pop_back();
    }
    if (!text.empty() && std::string_view(".!?").find(text.back()) == std::string_view::npos &&
        !text.ends_with("\u2026")) {
        text += '.';
    }
    return text;
}

std::string WithoutEndPunctuation(std::string text) {
    while (!text.empty() && std::string_view(" ,;:.").find(text.back()) != std::string_view::npos) {
        text.pop_back();
    }
    return text;
}

std::string Join(const std::vector<std::string>& parts, std::string_view separator) {
    std::string joined;
    for (const std::string& part : parts) {
        if (part.empty()) {
            continue;
        }
        if (!joined.empty()) {
            joined += separator;
        }
        joined += part;
    }
    return joined;
}

struct Translation {
    std::string shown;
    std::string headword;
    std::string qualifier;
    std::vector<std::string> indexed;
};

struct Example {
    std::string text;   // the whole example
    std::string phrase; // its indexed part (<ind>), or the whole example
    std::vector<std::string> labels;
    std::vector<Translation> russian;
};

struct Reference {
    std::string kind; // sin, ant or vid
    std::string text;
};

// A derivation or one of its senses: what it says itself, and its parts.
struct Sense {
    std::string number;
    std::vector<std::string> labels;
    std::string definition;
    std::vector<Translation> russian;
    std::vector<Example> examples;
    std::vector<Reference> references;
    std::vector<Sense> parts;
    bool hasRussian = false; // itself, in an example or in a part
    bool hasContent = false; // anything to show: Russian, a definition, an example, a reference
};

bool IsRussian(const xmlNode* trd, const xmlNode* group) {
    const std::string language = Attribute(trd, "lng");
    return language == "ru" ||
           (language.empty() && group != nullptr && Attribute(group, "lng") == "ru");
}

class Collector {
public:
    explicit Collector(const Root& root) : m_render(root) {}

    // The node's own content (derivations and subarticles inside it are left
    // to their own units).
    Sense Collect(const xmlNode* node) {
        Sense sense;
        std::size_t senses = 0, subsenses = 0, subderivations = 0;
        for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
            senses += Is(child, "snc");
            subsenses += Is(child, "subsnc");
            subderivations += Is(child, "subdrv");
        }
        std::size_t senseNumber = 0, subsenseNumber = 0, subderivationNumber = 0;
        for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
            if (child->type != XML_ELEMENT_NODE) {
                continue;
            }
            if (Is(child, "uzo")) {
                AddLabel(child, sense.labels);
            } else if (Is(child, "gra")) {
                for (const xmlNode* kind = child->children; kind != nullptr; kind = kind->next) {
                    if (Is(kind, "vspec")) {
                        std::string label = GrammarLabel(m_render.Text(kind, Mode::Example));
                        if (!label.empty()) {
                            sense.labels.push_back(std::move(label));
                        }
                    }
                }
            } else if (Is(child, "dif")) {
                const std::string definition = m_render.Text(child, Mode::Definition);
                sense.definition =
                    sense.definition.empty() ? definition : sense.definition + " " + definition;
                WalkDefinition(child, sense);
            } else if (Is(child, "ekz")) {
                AddExample(child, sense);
            } else if (Is(child, "trd")) {
                AddTranslation(child, nullptr, sense.russian);
            } else if (Is(child, "trdgrp")) {
                AddGroup(child, sense.russian);
            } else if (Is(child, "ref")) {
                AddReference(child, Attribute(child, "tip"), sense);
            } else if (Is(child, "refgrp")) {
                std::string kind = Attribute(child, "tip");
                for (const xmlNode* ref = child->children; ref != nullptr; ref = ref->next) {
                    if (Is(ref, "ref")) {
                        AddReference(ref, kind.empty() ? "vid" : kind, sense);
                    }
                }
            } else if (Is(child, "snc")) {
                sense.parts.push_back(Collect(child));
                sense.parts.back().number = senses > 1 ? std::to_string(++senseNumber) + "." : "";
            } else if (Is(child, "subsnc")) {
                sense.parts.push_back(Collect(child));
                sense.parts.back().number =
                    subsenses > 1
                        ? std::string(1, static_cast<char>('a' + subsenseNumber++ % 26)) + ")"
                        : "";
            } else if (Is(child, "subdrv")) {
                sense.parts.push_back(Collect(child));
                sense.parts.back().number =
                    subderivations > 1
                        ? std::string(1, static_cast<char>('A' + subderivationNumber++ % 26)) + "."
                        : "";
            }
        }
        sense.hasRussian =
            !sense.russian.empty() ||
            std::any_of(sense.examples.begin(), sense.examples.end(),
                        [](const Example& example) { return !example.russian.empty(); }) ||
            std::any_of(sense.parts.begin(), sense.parts.end(),
                        [](const Sense& part) { return part.hasRussian; });
        sense.hasContent = sense.hasRussian || !sense.definition.empty() ||
                           !sense.examples.empty() || !sense.references.empty() ||
                           std::any_of(sense.parts.begin(), sense.parts.end(),
                                       [](const Sense& part) { return part.hasContent; });
        return sense;
    }

    std::size_t Translations() const { return m_translations; }

private:
    void AddLabel(const xmlNode* uzo, std::vector<std::string>& labels) {
        const std::string kind = Attribute(uzo, "tip");
        const std::string text = m_render.Text(uzo, Mode::Example);
        if (text.empty()) {
            return;
        }
        labels.push_back(kind == "fak"   ? FieldLabel(text)
                         : kind == "stl" ? StyleLabel(text)
                                         : text);
    }

    // Examples and Russian translations inside a definition, also within its
    // explanations; a translation inside an example belongs to the example.
    void WalkDefinition(const xmlNode* node, Sense& sense) {
        for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
            if (Is(child, "ekz")) {
                AddExample(child, sense);
            } else if (Is(child, "trd")) {
                AddTranslation(child, nullptr, sense.russian);
            } else if (Is(child, "trdgrp")) {
                AddGroup(child, sense.russian);
            } else if (Is(child, "klr")) {
                WalkDefinition(child, sense);
            }
        }
    }

    void AddExample(const xmlNode* ekz, Sense& sense) {
        Example example;
        for (const xmlNode* child = ekz->children; child != nullptr; child = child->next) {
            if (Is(child, "trd")) {
                AddTranslation(child, nullptr, example.russian);
            } else if (Is(child, "trdgrp")) {
                AddGroup(child, example.russian);
            } else if (Is(child, "uzo")) {
                AddLabel(child, example.labels);
            } else if (Is(child, "ind") && example.phrase.empty()) {
                example.phrase = StripSeparators(m_render.Text(child, Mode::Bare));
            }
        }
        example.text = WithoutFullStop(StripSeparators(m_render.Text(ekz, Mode::Example)));
        if (example.phrase.empty()) {
            example.phrase = example.text;
        }
        if (!example.text.empty()) {
            sense.examples.push_back(std::move(example));
        }
    }

    void AddGroup(const xmlNode* group, std::vector<Translation>& out) {
        for (const xmlNode* trd = group->children; trd != nullptr; trd = trd->next) {
            if (Is(trd, "trd")) {
                AddTranslation(trd, group, out);
            }
        }
    }

    // A Russian translation with some text; an empty one is no translation.
    void AddTranslation(const xmlNode* trd, const xmlNode* group, std::vector<Translation>& out) {
        if (IsRussian(trd, group)) {
            Translation translation = TranslationOf(trd);
            if (!translation.shown.empty()) {
                ++m_translations;
                out.push_back(std::move(translation));
            }
        }
    }

    Translation TranslationOf(const xmlNode* trd) const {
        Translation translation;
        translation.shown = m_render.Text(trd, Mode::Translation);
        translation.headword = StripSeparators(m_render.Text(trd, Mode::Bare));
        if (translation.headword.starts_with('(') && translation.headword.ends_with(')')) {
            translation.headword.clear(); // an explanation in place of a word: nothing to look up
        }
        std::vector<std::string> explanations;
        for (const xmlNode* child = trd->children; child != nullptr; child = child->next) {
            if (Is(child, "klr")) {
                explanations.push_back(m_render.Text(child, Mode::Translation));
            } else if (Is(child, "ind")) {
                std::string word = StripSeparators(m_render.Text(child, Mode::Bare));
                if (!word.empty() && word != translation.headword) {
                    translation.indexed.push_back(std::move(word));
                }
            }
        }
        translation.qualifier = Join(explanations, " ");
        return translation;
    }

    void AddReference(const xmlNode* ref, const std::string& kind, Sense& sense) {
        if (kind != "sin" && kind != "ant" && kind != "vid") {
            return;
        }
        std::string text = StripSeparators(m_render.Text(ref, Mode::Example));
        if (!text.empty()) {
            sense.references.push_back({kind, std::move(text)});
        }
    }

    Renderer m_render;
    std::size_t m_translations = 0;
};

std::string ShownList(const std::vector<Translation>& translations) {
    std::vector<std::string> shown;
    for (const Translation& t : translations) {
        if (std::find(shown.begin(), shown.end(), t.shown) == shown.end()) {
            shown.push_back(t.shown);
        }
    }
    return Join(shown, ", ");
}

std::string ReferenceLine(const std::vector<Reference>& references) {
    std::vector<std::string> groups;
    for (const auto& [kind, label] :
         {std::pair<const char*, const char*>{"sin", "син."}, {"ant", "ант."}, {"vid", "см."}}) {
        std::vector<std::string> names;
        for (const Reference& r : references) {
            if (r.kind == kind && std::find(names.begin(), names.end(), r.text) == names.end()) {
                names.push_back(r.text);
            }
        }
        if (!names.empty()) {
            groups.push_back(std::string(label) + " " + Join(names, ", "));
        }
    }
    return Join(groups, "; ");
}

// "example — перевод", or the example alone when it has no Russian.
std::string ExampleLine(const Example& example) {
    std::vector<std::string> parts = example.labels;
    parts.push_back(Shorten(example.text, kExampleChars));
    std::string line = Join(parts, " ");
    if (!example.russian.empty()) {
        line += " \u2014 " + ShownList(example.russian);
    }
    return line;
}

// Where the details of a numbered item start.
constexpr std::string_view kIndent = "   ";

void RenderSense(const Sense& sense, const std::string& indent, std::vector<std::string>& lines) {
    const std::string details = sense.number.empty() ? indent : indent + std::string(kIndent);
    std::vector<std::string> about = sense.labels;
    if (!sense.definition.empty()) {
        about.push_back(AsSentence(sense.definition));
    }
    const std::string aboutLine = Join(about, " ");
    if (!sense.russian.empty()) {
        lines.push_back(indent + Join({sense.number, ShownList(sense.russian)}, " "));
        if (!aboutLine.empty()) {
            lines.push_back(details + aboutLine);
        }
    } else {
        const std::string first = Join({sense.number, aboutLine}, " ");
        if (!first.empty()) {
            lines.push_back(indent + first);
        }
    }
    // Examples stand under what they illustrate: with a numbered sense's
    // details, a step in from an unnumbered definition.
    const std::string examples = sense.number.empty() ? indent + std::string(kIndent) : details;
    for (const Example& example : sense.examples) {
        lines.push_back(examples + ExampleLine(example));
    }
    const std::string references = ReferenceLine(sense.references);
    if (!references.empty()) {
        lines.push_back(details + references);
    }
    for (const Sense& part : sense.parts) {
        if (part.hasContent) {
            RenderSense(part, details, lines);
        }
    }
}

// One headword's unit: a derivation, or what an article or subarticle says
// outside its derivations.
struct Unit {
    std::string headword; // as shown
    std::string marked;   // with morpheme marks
    std::vector<std::string> variants, markedVariants;
    bool official = false;
    Sense body;
};

// What a unit shows in place of its translation when nothing in it has Russian.
constexpr std::string_view kNoTranslation = "(\u043F\u0435\u0440\u0435\u0432\u043E\u0434\u0430 "
                                            "\u043D\u0435\u0442)"; // «(перевода нет)»

// The head line, the unit's labels, its own Russian (or the note that there
// is none anywhere in it), its definition, examples and references, then
// every sense below it.
std::string EsperantoText(const Unit& unit) {
    std::vector<std::string> lines;
    std::vector<std::string> head{unit.marked};
    head.insert(head.end(), unit.markedVariants.begin(), unit.markedVariants.end());
    lines.push_back(Join(head, ", "));
    const Sense& body = unit.body;
    if (!body.labels.empty()) {
        lines.push_back(Join(body.labels, " "));
    }
    if (!body.russian.empty()) {
        lines.push_back(ShownList(body.russian));
    } else if (!body.hasRussian) {
        lines.emplace_back(kNoTranslation);
    }
    if (!body.definition.empty()) {
        lines.push_back(AsSentence(body.definition));
    }
    for (const Example& example : body.examples) {
        lines.push_back(std::string(kIndent) + ExampleLine(example));
    }
    const std::string references = ReferenceLine(body.references);
    if (!references.empty()) {
        lines.push_back(references);
    }
    for (const Sense& part : body.parts) {
        if (part.hasContent) {
            RenderSense(part, "", lines);
        }
    }
    return Join(lines, "\n");
}

// The first definition in or below a sense, with the labels of the senses
// between it and the sense: what tells apart a derivation translated as a
// whole, or a sense that only its subsenses define.
std::pair<std::vector<std::string>, std::string> DefinitionBelow(const Sense& sense) {
    if (!sense.definition.empty()) {
        return {{}, sense.definition};
    }
    for (const Sense& part : sense.parts) {
        auto [labels, definition] = DefinitionBelow(part);
        if (!definition.empty()) {
            labels.insert(labels.begin(), part.labels.begin(), part.labels.end());
            return {labels, definition};
        }
    }
    return {};
}

void LinkSense(const Unit& unit, const Sense& sense, std::vector<std::string> labels,
               std::vector<RussianLink>& links) {
    labels.insert(labels.end(), sense.labels.begin(), sense.labels.end());
    auto [gloss, definition] = DefinitionBelow(sense);
    gloss.insert(gloss.begin(), labels.begin(), labels.end());
    if (!definition.empty()) {
        gloss.push_back(
            WithoutEndPunctuation(Shorten(WithoutEndPunctuation(definition), kGlossChars)));
    }
    for (const Translation& t : sense.russian) {
        if (!t.headword.empty()) {
            links.push_back({t.headword, t.indexed, t.qualifier, unit.headword, Join(gloss, " "),
                             false, unit.official});
        }
    }
    for (const Example& example : sense.examples) {
        for (const Translation& t : example.russian) {
            if (!t.headword.empty()) {
                links.push_back({t.headword, t.indexed, t.qualifier, example.phrase,
                                 "\u0441\u043C. " + unit.headword, true, unit.official});
            }
        }
    }
    for (const Sense& part : sense.parts) {
        LinkSense(unit, part, labels, links);
    }
}

bool HasOfficialMark(const xmlNode* kap) {
    for (const xmlNode* child = kap->children; child != nullptr; child = child->next) {
        if (Is(child, "ofc")) {
            return true;
        }
    }
    return false;
}

std::string MarksRemoved(std::string text) {
    std::erase(text, kMorphemeMark);
    return text;
}

const xmlNode* KapOf(const xmlNode* node) {
    for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
        if (Is(child, "kap")) {
            return child;
        }
    }
    return nullptr;
}

// The revision date of an article from its "$Id: x.xml,v 1.2 2023/08/31 … $".
std::string RevisionDate(const xmlNode* art) {
    const std::string mark = Attribute(art, "mrk");
    const std::size_t version = mark.find(",v ");
    if (version == std::string::npos) {
        return {};
    }
    const std::size_t date = mark.find(' ', version + 3);
    if (date == std::string::npos || mark.size() < date + 11) {
        return {};
    }
    std::string day = mark.substr(date + 1, 10);
    if (day[4] != '/' || day[7] != '/') {
        return {};
    }
    day[4] = day[7] = '-';
    return day;
}

class DocumentWalker {
public:
    explicit DocumentWalker(DocumentEntries& entries) : m_entries(entries) {}

    void Article(const xmlNode* art) {
        ++m_entries.articles;
        const std::string date = RevisionDate(art);
        if (date > m_entries.newestDate) {
            m_entries.newestDate = date;
        }
        const xmlNode* kap = KapOf(art);
        if (kap == nullptr) {
            return;
        }
        // <tld/> is the head's own root; a variant's root is only reached by
        // name (<tld var="x"/> for <rad var="x">), never in its place.
        Root root;
        std::vector<const xmlNode*> headVariants;
        for (const xmlNode* child = kap->children; child != nullptr; child = child->next) {
            if (Is(child, "rad")) {
                root.main = RootText(child);
            } else if (const xmlNode* variantKap = Is(child, "var") ? KapOf(child) : nullptr) {
                headVariants.push_back(variantKap);
                for (const xmlNode* rad = variantKap->children; rad != nullptr; rad = rad->next) {
                    const std::string name = Is(rad, "rad") ? Attribute(rad, "var") : "";
                    if (!name.empty()) {
                        root.variants[name] = RootText(rad);
                    }
                }
            }
        }
        Collector collector(root);
        const std::size_t first = m_entries.esperanto.size();
        // What the article says outside its derivations belongs to the root.
        Emit(collector, root, kap, art);
        for (const xmlNode* child = art->children; child != nullptr; child = child->next) {
            if (Is(child, "drv")) {
                Emit(collector, root, KapOf(child), child);
            } else if (Is(child, "subart")) {
                Emit(collector, root, kap, child);
                for (const xmlNode* drv = child->children; drv != nullptr; drv = drv->next) {
                    if (Is(drv, "drv")) {
                        Emit(collector, root, KapOf(drv), drv);
                    }
                }
            }
        }
        AddHeadVariants(root, kap, headVariants, first);
        m_entries.translations += collector.Translations();
    }

private:
    static std::string RootText(const xmlNode* rad) {
        std::string text;
        for (const xmlNode* t = rad->children; t != nullptr; t = t->next) {
            if (t->type == XML_TEXT_NODE && t->content != nullptr) {
                text += reinterpret_cast<const char*>(t->content);
            }
        }
        return text;
    }

    // A variant spelling of the head ("arkitekto" beside "arĥitekto") that no
    // derivation of the article already gives becomes a headword of the
    // article's main derivation: the one whose headword is the head itself,
    // else the first one.
    void AddHeadVariants(const Root& root, const xmlNode* kap,
                         const std::vector<const xmlNode*>& variants, std::size_t first) {
        std::vector<ImportedArticle>& articles = m_entries.esperanto;
        if (variants.empty() || first == articles.size()) {
            return;
        }
        const Renderer render(root);
        const std::string head = MarksRemoved(StripSeparators(render.Text(kap, Mode::Headword)));
        std::size_t main = first;
        for (std::size_t i = first; i < articles.size(); ++i) {
            if (articles[i].headwords.front() == head) {
                main = i;
                break;
            }
        }
        for (const xmlNode* variantKap : variants) {
            const std::string marked = StripSeparators(render.Text(variantKap, Mode::Headword));
            std::string shown = MarksRemoved(marked);
            const bool given =
                shown.empty() ||
                std::any_of(articles.begin() + static_cast<std::ptrdiff_t>(first), articles.end(),
                            [&](const ImportedArticle& article) {
                                return std::find(article.headwords.begin(), article.headwords.end(),
                                                 shown) != article.headwords.end();
                            });
            if (!given) {
                // Named in the head line too, after the derivation's own variants.
                std::string& text = articles[main].text;
                text.insert(std::min(text.find('\n'), text.size()), ", " + marked);
                articles[main].headwords.push_back(std::move(shown));
            }
        }
    }

    // A derivation's unit is always written, with or without Russian; the
    // text an article or subarticle keeps outside its derivations only when
    // it has something to show.
    void Emit(Collector& collector, const Root& root, const xmlNode* kap, const xmlNode* node) {
        if (kap == nullptr) {
            return;
        }
        const bool derivation = Is(node, "drv");
        m_entries.derivations += derivation;
        Unit unit;
        unit.body = collector.Collect(node);
        if (!derivation && !unit.body.hasContent) {
            return;
        }
        const Renderer render(root);
        unit.marked = StripSeparators(render.Text(kap, Mode::Headword));
        unit.headword = MarksRemoved(unit.marked);
        if (unit.headword.empty()) {
            return;
        }
        m_entries.untranslated += derivation && !unit.body.hasRussian;
        unit.official = HasOfficialMark(kap);
        for (const xmlNode* child = kap->children; child != nullptr; child = child->next) {
            const xmlNode* variantKap = Is(child, "var") ? KapOf(child) : nullptr;
            if (variantKap == nullptr) {
                continue;
            }
            std::string marked = StripSeparators(render.Text(variantKap, Mode::Headword));
            std::string shown = MarksRemoved(marked);
            if (!shown.empty() && shown != unit.headword &&
                std::find(unit.variants.begin(), unit.variants.end(), shown) ==
                    unit.variants.end()) {
                unit.variants.push_back(std::move(shown));
                unit.markedVariants.push_back(std::move(marked));
            }
        }

        ImportedArticle article;
        article.headwords.push_back(unit.headword);
        article.headwords.insert(article.headwords.end(), unit.variants.begin(),
                                 unit.variants.end());
        article.text = EsperantoText(unit);
        m_entries.esperanto.push_back(std::move(article));
        LinkSense(unit, unit.body, {}, m_entries.russian);
    }

    DocumentEntries& m_entries;
};

} // namespace

DocumentEntries ExtractEntries(const xmlDoc* doc) {
    DocumentEntries entries;
    const xmlNode* root = xmlDocGetRootElement(doc);
    if (root == nullptr) {
        return entries;
    }
    DocumentWalker walker(entries);
    for (const xmlNode* child = root->children; child != nullptr; child = child->next) {
        if (Is(child, "art")) {
            walker.Article(child);
        }
    }
    return entries;
}

std::vector<ImportedArticle> RussianArticles(const std::vector<RussianLink>& links) {
    std::map<std::string, std::vector<const RussianLink*>> byHeadword;
    for (const RussianLink& link : links) {
        byHeadword[link.headword].push_back(&link);
    }
    std::vector<ImportedArticle> articles;
    articles.reserve(byHeadword.size());
    for (auto& [headword, group] : byHeadword) {
        std::stable_sort(
            group.begin(), group.end(), [](const RussianLink* a, const RussianLink* b) {
                return std::make_tuple(a->phrase, !a->qualifier.empty(), !a->official) <
                       std::make_tuple(b->phrase, !b->qualifier.empty(), !b->official);
            });
        ImportedArticle article;
        article.headwords.push_back(headword);
        std::vector<std::string> lines;
        for (const RussianLink* link : group) {
            std::string line = Join({link->qualifier, link->esperanto}, " ");
            if (!link->gloss.empty()) {
                line += " \u2014 " + link->gloss;
            }
            if (std::find(lines.begin(), lines.end(), line) == lines.end()) {
                lines.push_back(std::move(line));
            }
            for (const std::string& word : link->indexed) {
                if (std::find(article.headwords.begin(), article.headwords.end(), word) ==
                    article.headwords.end()) {
                    article.headwords.push_back(word);
                }
            }
        }
        article.text = headword;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            article.text += '\n';
            if (lines.size() > 1) {
                article.text += std::to_string(i + 1) + ". ";
            }
            article.text += lines[i];
        }
        articles.push_back(std::move(article));
    }
    return articles;
}
