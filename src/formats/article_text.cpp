// SPDX-License-Identifier: GPL-2.0-or-later
#include "formats/article_text.h"

#include "importing/utf8_points.h"
#include "platform/code_page.h"

namespace formats {

bool IsValidUtf8(std::string_view bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        if (static_cast<unsigned char>(bytes[at]) < 0x80) {
            ++at;
            continue;
        }
        const std::size_t before = at;
        if (NextCodePoint(bytes, at) == 0xFFFD && at == before + 1) {
            return false;
        }
    }
    return true;
}

std::string ValidUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    std::string out;
    out.reserve(bytes.size() + 16);
    std::size_t at = 0;
    while (at < bytes.size()) {
        AppendUtf8(out, NextCodePoint(bytes, at));
    }
    return out;
}

std::string Cp1251ToUtf8(std::string_view bytes) {
    return platform::ToUtf8(platform::FromAnsi(bytes));
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    const auto unit = [&](std::size_t at) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        return bigEndian ? (char32_t{first} << 8) | second : (char32_t{second} << 8) | first;
    };
    // At most three bytes for each unit (a pair of units makes four).
    std::string out(bytes.size() / 2 * 3, '\0');
    std::size_t size = 0;
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        char32_t c = unit(at);
        if (c < 0x80) {
            out[size++] = static_cast<char>(c);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && at + 3 < bytes.size()) {
            const char32_t next = unit(at + 2);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
                at += 2;
            }
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        char encoded[4];
        std::size_t length = 0;
        if (c < 0x800) {
            encoded[0] = static_cast<char>(0xC0 | (c >> 6));
            encoded[1] = static_cast<char>(0x80 | (c & 0x3F));
            length = 2;
        } else if (c < 0x10000) {
            encoded[0] = static_cast<char>(0xE0 | (c >> 12));
            encoded[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            encoded[2] = static_cast<char>(0x80 | (c & 0x3F));
            length = 3;
        } else {
            encoded[0] = static_cast<char>(0xF0 | (c >> 18));
            encoded[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            encoded[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            encoded[3] = static_cast<char>(0x80 | (c & 0x3F));
            length = 4;
        }
        for (std::size_t k = 0; k < length; ++k) {
            out[size++] = encoded[k];
        }
    }
    out.resize(size);
    return out;
}

std::string CleanHeadword(std::string_view text) {
    std::string valid;
    if (!IsValidUtf8(text)) {
        valid = ValidUtf8(text);
        text = valid;
    }
    std::string out;
    out.reserve(text.size());
    bool space = false;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r' || byte == '\v' ||
            byte == '\f') {
            space = !out.empty();
        } else if (byte >= 0x20 && byte != 0x7F) {
            if (space) {
                out.push_back(' ');
                space = false;
            }
            out.push_back(c);
        }
    }
    return out;
}

namespace {

bool IsPlain(unsigned char byte) {
    return byte >= 0x20 && byte != 0x7F;
}

bool IsWhitespace(unsigned char byte) {
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r' || byte == '\v' ||
           byte == '\f';
}

} // namespace

void ArticleText::Indent(int level) {
    m_level = level < 0 ? 0 : level;
}

void ArticleText::Put(char c) {
    Put(std::string_view(&c, 1));
}

void ArticleText::Put(std::string_view run) {
    if (m_line.empty()) {
        m_line.append(static_cast<std::size_t>(m_level) * 2, ' ');
    }
    m_line += run;
    m_lineHasText = m_lineHasText || run.find_first_not_of(' ') != std::string_view::npos;
}

void ArticleText::Literal(std::string_view utf8) {
    // Runs of plain characters go on whole; line ends, tabs and control
    // characters one by one.
    for (std::size_t at = 0; at < utf8.size();) {
        std::size_t end = at;
        while (end < utf8.size() && IsPlain(static_cast<unsigned char>(utf8[end]))) {
            ++end;
        }
        if (end > at) {
            Put(utf8.substr(at, end - at));
        }
        if (end == utf8.size()) {
            break;
        }
        if (utf8[end] == '\n') {
            NewLine();
        } else if (utf8[end] == '\t') {
            Put(m_lineHasText ? " " : "  ");
        }
        at = end + 1;
    }
}

void ArticleText::Flowing(std::string_view utf8) {
    for (std::size_t at = 0; at < utf8.size();) {
        std::size_t end = at;
        while (end < utf8.size() && IsPlain(static_cast<unsigned char>(utf8[end])) &&
               utf8[end] != ' ') {
            ++end;
        }
        if (end > at) {
            Put(utf8.substr(at, end - at));
        }
        if (end == utf8.size()) {
            break;
        }
        if (IsWhitespace(static_cast<unsigned char>(utf8[end])) && m_lineHasText &&
            m_line.back() != ' ') {
            Put(' ');
        }
        at = end + 1;
    }
}

void ArticleText::Break() {
    if (m_lineHasText) {
        EndLine();
    } else {
        m_line.clear();
    }
}

void ArticleText::NewLine() {
    EndLine();
}

void ArticleText::EndLine() {
    while (!m_line.empty() && m_line.back() == ' ') {
        m_line.pop_back();
    }
    if (!m_lineHasText) {
        // An empty line separates what comes before from what follows, once.
        m_blankPending = !m_text.empty();
    } else {
        if (!m_text.empty()) {
            m_text.push_back('\n');
            if (m_blankPending) {
                m_text.push_back('\n');
            }
        }
        m_text += m_line;
        m_blankPending = false;
    }
    m_line.clear();
    m_lineHasText = false;
}

std::string ArticleText::Take() {
    Break();
    std::string text = std::move(m_text);
    m_text.clear();
    m_blankPending = false;
    return text;
}

bool HeadlineShowsKey(std::string_view text, std::string_view key) {
    const std::string_view first = text.substr(0, text.find('\n'));
    std::size_t at = 0;
    for (const char c : first) {
        if (at < key.size() && c == key[at]) {
            ++at;
        }
    }
    return !key.empty() && at == key.size();
}

std::string ComposeArticle(std::string_view shown, std::string_view body) {
    const std::string_view first = body.substr(0, body.find('\n'));
    if (first.starts_with(shown)) {
        if (first.size() == shown.size()) {
            return std::string(body);
        }
        const auto next = static_cast<unsigned char>(first[shown.size()]);
        const bool alphanumeric = (next >= '0' && next <= '9') || (next >= 'A' && next <= 'Z') ||
                                  (next >= 'a' && next <= 'z') || next >= 0x80;
        if (!alphanumeric) {
            return std::string(body);
        }
    }
    std::string text(shown);
    if (!body.empty()) {
        text.push_back('\n');
        text += body;
    }
    return text;
}

} // namespace formats
