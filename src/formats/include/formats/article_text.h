// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Text helpers shared by the readers: UTF-8 checks and conversions, and the
// builder that turns a body into lines with indentation. Code points are
// walked and appended with importing/utf8_points.h.

#include "importing/utf8_points.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace formats {

bool IsValidUtf8(std::string_view bytes);
// The bytes as valid UTF-8: each invalid or cut sequence becomes U+FFFD.
std::string ValidUtf8(std::string_view bytes);
std::string Cp1251ToUtf8(std::string_view bytes);
// UTF-16 units (little-endian when `bigEndian` is false) to UTF-8; a lone
// surrogate becomes U+FFFD, an odd last byte is dropped.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian);

// A headword as a single clean line: whitespace runs (line ends included)
// become one space, control characters go, the ends are trimmed, invalid
// UTF-8 becomes U+FFFD.
std::string CleanHeadword(std::string_view text);

// Builds an article body line by line.
class ArticleText {
public:
    // Lines begun from now on start with two spaces a level.
    void Indent(int level);
    int Level() const { return m_level; }
    // Text as written: '\n' ends a line, leading spaces stay as written.
    void Literal(std::string_view utf8);
    // Text whose whitespace runs, line ends included, are one space.
    void Flowing(std::string_view utf8);
    // Ends the current line unless nothing is on it.
    void Break();
    // Ends the current line, leaving an empty line when nothing is on it.
    void NewLine();
    // The body: lines without trailing spaces, never two empty lines in a row,
    // no empty line at either end, no line end at the end.
    std::string Take();

private:
    void Put(char c);
    void Put(std::string_view run);
    void EndLine();

    std::string m_text;
    std::string m_line;
    bool m_lineHasText = false;
    bool m_blankPending = false;
    int m_level = 0;
};

// Whether the first line of an article's text shows the key: holds its
// characters in order, as a shown headword holds the key it gives when its
// unsorted parts are left out.
bool HeadlineShowsKey(std::string_view text, std::string_view key);

// The article's text: the body as it is when its first line already begins
// with the shown headword, else the headword line followed by the body.
std::string ComposeArticle(std::string_view shown, std::string_view body);

} // namespace formats
