// SPDX-License-Identifier: GPL-2.0-or-later
#include "formats/markup_text.h"

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>

#include <memory>
#include <mutex>

namespace formats {
namespace {

// Deeper nesting than this is not walked: no real article needs it, and the
// walk stays within the stack whatever a file holds.
constexpr int kMaxDepth = 200;

// libxml2 takes sizes as int.
constexpr std::size_t kMaxMarkup = 1u << 30;

constexpr int kXmlOptions = XML_PARSE_RECOVER | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                            XML_PARSE_NONET | XML_PARSE_NOCDATA;
constexpr int kHtmlOptions = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                             HTML_PARSE_NONET | HTML_PARSE_NOIMPLIED;

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using Doc = std::unique_ptr<xmlDoc, DocFree>;

std::string_view Name(const xmlNode* node) {
    return reinterpret_cast<const char*>(node->name);
}

std::string_view Content(const xmlNode* node) {
    return node->content != nullptr ? reinterpret_cast<const char*>(node->content) : "";
}

bool IsOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    for (const std::string_view candidate : names) {
        if (name == candidate) {
            return true;
        }
    }
    return false;
}

// Parses markup as the content of a wrapper element; null when nothing parses.
Doc ParseXmlFragment(std::string_view markup) {
    InitXml();
    if (markup.size() > kMaxMarkup) {
        return nullptr;
    }
    std::string wrapped;
    wrapped.reserve(markup.size() + 16);
    wrapped += "<w>";
    wrapped += markup;
    wrapped += "</w>";
    return Doc(xmlReadMemory(wrapped.data(), static_cast<int>(wrapped.size()), nullptr, "UTF-8",
                             kXmlOptions));
}

class HtmlWalker {
public:
    HtmlWalker(ArticleText& text, SkipCounts& skipped) : m_text(text), m_skipped(skipped) {}

    void Walk(const xmlNode* node, int depth, bool preformatted) {
        for (; node != nullptr; node = node->next) {
            if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
                preformatted ? m_text.Literal(Content(node)) : m_text.Flowing(Content(node));
            } else if (node->type == XML_ELEMENT_NODE && depth < kMaxDepth) {
                Element(node, depth, preformatted);
            }
        }
    }

private:
    void Element(const xmlNode* node, int depth, bool preformatted) {
        const std::string_view name = Name(node);
        if (name == "br") {
            m_text.NewLine();
        } else if (IsOneOf(name, {"img", "audio", "video", "object", "embed", "source"})) {
            ++m_skipped.resources;
        } else if (IsOneOf(name, {"script", "style", "head", "title"})) {
            // not shown
        } else if (IsOneOf(name, {"blockquote", "ul", "ol", "dd"})) {
            const int level = m_text.Level();
            m_text.Break();
            m_text.Indent(level + 1);
            Walk(node->children, depth + 1, preformatted);
            m_text.Break();
            m_text.Indent(level);
        } else if (IsOneOf(name, {"p", "div", "li", "dt", "tr", "table", "h1", "h2", "h3", "h4",
                                  "h5", "h6", "hr", "pre", "dl", "section", "article"})) {
            m_text.Break();
            Walk(node->children, depth + 1, preformatted || name == "pre");
            m_text.Break();
        } else {
            if (IsOneOf(name, {"td", "th"})) {
                m_text.Flowing(" ");
            }
            Walk(node->children, depth + 1, preformatted);
        }
    }

    ArticleText& m_text;
    SkipCounts& m_skipped;
};

void WalkLiteral(const xmlNode* node, int depth, ArticleText& text) {
    for (; node != nullptr; node = node->next) {
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            text.Literal(Content(node));
        } else if (node->type == XML_ELEMENT_NODE && depth < kMaxDepth) {
            WalkLiteral(node->children, depth + 1, text);
        }
    }
}

class XdxfWalker {
public:
    XdxfWalker(bool flowing, ArticleText& text, SkipCounts& skipped)
        : m_flowing(flowing), m_text(text), m_skipped(skipped) {}

    void Walk(const xmlNode* node, int depth) {
        for (; node != nullptr; node = node->next) {
            if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
                Text(Content(node));
            } else if (node->type == XML_ELEMENT_NODE && depth < kMaxDepth) {
                Element(node, depth);
            }
        }
    }

private:
    void Text(std::string_view text) {
        if (m_afterKey) {
            // The line end after a key belongs to the headword line.
            const std::size_t end = text.find('\n');
            if (end != std::string_view::npos && text.find_first_not_of(" \t\r") >= end) {
                text.remove_prefix(end + 1);
            }
            m_afterKey = false;
        }
        m_flowing ? m_text.Flowing(text) : m_text.Literal(text);
    }

    // Children on lines of their own, `extra` levels deeper than the current one.
    void Block(const xmlNode* node, int depth, int extra) {
        const int level = m_text.Level();
        m_text.Break();
        m_text.Indent(level + extra);
        Walk(node->children, depth + 1);
        m_text.Break();
        m_text.Indent(level);
    }

    void Element(const xmlNode* node, int depth) {
        const std::string_view name = Name(node);
        m_afterKey = name == "k";
        if (m_afterKey) {
            return; // keys make the headword line
        }
        if (name == "def" || name == "blockquote") {
            Block(node, depth, 1);
        } else if (name == "ex") {
            Block(node, depth, 1);
        } else if (name == "br") {
            m_text.NewLine();
        } else if (name == "rref") {
            ++m_skipped.resources;
        } else if (name == "kref" || name == "iref") {
            Text("→ ");
            Walk(node->children, depth + 1);
        } else if (name == "tr") {
            Text("[");
            Walk(node->children, depth + 1);
            Text("]");
        } else if (name == "ex_tran") {
            Text(" — ");
            Walk(node->children, depth + 1);
        } else {
            Walk(node->children, depth + 1);
        }
    }

    bool m_flowing;
    bool m_afterKey = false;
    ArticleText& m_text;
    SkipCounts& m_skipped;
};

void KeyParts(const xmlNode* node, int depth, bool shownOnly, std::string& shown,
              std::string& key) {
    for (; node != nullptr; node = node->next) {
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            shown += Content(node);
            if (!shownOnly) {
                key += Content(node);
            }
        } else if (node->type == XML_ELEMENT_NODE && depth < kMaxDepth) {
            const bool part = Name(node) == "opt" || Name(node) == "nu";
            KeyParts(node->children, depth + 1, shownOnly || part, shown, key);
        }
    }
}

} // namespace

void InitXml() {
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
}

void AppendHtml(std::string_view html, ArticleText& text, SkipCounts& skipped) {
    InitXml();
    if (html.find_first_of("<&") == std::string_view::npos) {
        text.Flowing(html);
        return;
    }
    if (html.size() > kMaxMarkup) {
        return;
    }
    const Doc doc(
        htmlReadMemory(html.data(), static_cast<int>(html.size()), nullptr, "UTF-8", kHtmlOptions));
    if (doc) {
        HtmlWalker(text, skipped).Walk(doc->children, 0, false);
    }
}

void AppendPango(std::string_view markup, ArticleText& text) {
    if (markup.find_first_of("<&") == std::string_view::npos) {
        text.Literal(markup);
        return;
    }
    const Doc doc = ParseXmlFragment(markup);
    if (doc) {
        WalkLiteral(xmlDocGetRootElement(doc.get()), 0, text);
    }
}

void AppendXdxfMarkup(std::string_view markup, ArticleText& text, SkipCounts& skipped) {
    const Doc doc = ParseXmlFragment(markup);
    if (doc) {
        AppendXdxfNodes(xmlDocGetRootElement(doc.get()), false, text, skipped);
    }
}

void AppendXdxfNodes(const xmlNode* parent, bool flowing, ArticleText& text, SkipCounts& skipped) {
    if (parent != nullptr) {
        XdxfWalker(flowing, text, skipped).Walk(parent->children, 0);
    }
}

XdxfKey ReadXdxfKey(const xmlNode* k) {
    std::string shown;
    std::string key;
    KeyParts(k->children, 0, false, shown, key);
    return {CleanHeadword(shown), CleanHeadword(key)};
}

std::string NodeText(const xmlNode* node) {
    ArticleText text;
    SkipCounts ignored;
    XdxfWalker(true, text, ignored).Walk(node->children, 0);
    return text.Take();
}

} // namespace formats
