// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Markup to plain text through libxml2: HTML, Pango markup and XDXF article
// content, with blocks as line breaks and nested blocks as indentation.

#include "formats/article_text.h"
#include "formats/dictionary_reader.h"

#include <libxml/tree.h>

#include <string>
#include <string_view>

namespace formats {

// Sets libxml2 up once for the process (safe to call often).
void InitXml();

// HTML: whitespace flows; <br> and blocks break lines; lists, <dd> and
// <blockquote> indent; pictures, sounds and objects are counted and skipped.
void AppendHtml(std::string_view html, ArticleText& text, SkipCounts& skipped);
// Pango markup (and other XML-like markup whose text is literal): tags go,
// text stays as written.
void AppendPango(std::string_view markup, ArticleText& text);
// XDXF article content in visual form (literal text, as StarDict keeps it).
void AppendXdxfMarkup(std::string_view markup, ArticleText& text, SkipCounts& skipped);

// The children of an XDXF <ar> (or of the wrapper around StarDict content),
// <k> keys left out. `flowing` for the logical form, where whitespace is not
// significant; the visual form keeps text as written.
void AppendXdxfNodes(const xmlNode* parent, bool flowing, ArticleText& text, SkipCounts& skipped);

// An XDXF <k>: the shown headword keeps <opt> (and <nu>) parts, the key
// leaves them out. Both cleaned as headwords.
struct XdxfKey {
    std::string shown;
    std::string key;
};
XdxfKey ReadXdxfKey(const xmlNode* k);

// The text content of a node, whitespace flowing.
std::string NodeText(const xmlNode* node);

} // namespace formats
