// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Reads articles from a dictionary text file: each ArticleRef names one byte
// span of the file, which is read, given CR LF line ends and decoded to UTF-16.

#include "index/article_ref.h"
#include "platform/file_open.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Longest span that is read; a longer one (or one whose end lies before its
// start) gives an empty article without touching the file.
inline constexpr std::uint32_t kMaxArticleBytes = 2048;

// Last byte offset at which an article can start: the reader seeks to it with
// a signed 32-bit offset. The dictionary tools refuse an article beyond it,
// and the index check reports one.
inline constexpr std::uint32_t kMaxArticleOffset = INT32_MAX;

// Room for a decoded article: every LF may gain a CR, so the text after line-end
// normalisation can be twice the span, and no byte decodes to more than one unit.
inline constexpr std::size_t kMaxArticleUnits = 2 * kMaxArticleBytes;

class cKelimboProv {
public:
    // Full path of the dictionary text file (the file system's bytes); set once at start-up.
    std::string path;

    // Makes `out` the texts of all references, in order, each followed by CR LF.
    // A failure leaves `out` empty and propagates.
    virtual void GetArticles(std::u16string& out, const std::vector<ArticleRef>& refs);

    // The shown text of the article [start, end).
    virtual std::u16string GetArticle(std::uint32_t start, std::uint32_t end) = 0;

    // Appends to `out` what GetArticles makes of `refs`, in UTF-8, reading the
    // file as GetArticles does and failing as it does; a failure leaves `out`
    // as it was and propagates.
    void AppendArticlesUtf8(std::string& out, const std::vector<ArticleRef>& refs);

    // Appends the shown text of the article [start, end) to `out` in UTF-8.
    // This one converts GetArticle's text; the providers write it directly.
    virtual void AppendArticleUtf8(std::string& out, std::uint32_t start, std::uint32_t end);

    virtual ~cKelimboProv() = default;

    // Reads the span [start, end) of the file, normalises its line ends to CR LF,
    // drops the line ends at its end, cuts it at the first NUL and decodes it from
    // `codePage` into `out`, which has room for `capacity` units and a terminator.
    // Returns the units written: 0 for a span that is too long, or whose text
    // needs more than `capacity` units or cannot be decoded. Raises cExcMsg when
    // the file cannot be opened or the span cannot be read whole.
    std::size_t ReadSpan(std::uint32_t start, std::uint32_t end, char16_t* out,
                         std::size_t capacity, unsigned codePage);

    // The bytes ReadSpan decodes: the span read, its line ends normalised and
    // cut as there, into `text`, which has room for kMaxArticleUnits bytes and a
    // terminator. Returns their count, 0 for a span that is too long; raises
    // as ReadSpan does.
    std::size_t ReadText(std::uint32_t start, std::uint32_t end, char* text);

private:
    // Within AppendArticlesUtf8: the text file stays open from one article to
    // the next.
    bool m_keepOpen = false;
    platform::FileHandle m_kept;
    // The file's name as the messages give it, and the path it was made for.
    std::string m_context;
    std::string m_contextPath;
};
