// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Reads articles from a dictionary text file: each ArticleRef names one byte
// span of the file, which is read, given CR LF line ends and decoded to UTF-16.
//
// A provider loaded with its index (Load) opens the text file once, checks it
// against the identity the index records, and reads every article through
// that one open file: a file replaced by rename since goes on giving the text
// the index was made for, and a file written over in place gives the read
// error, never the bytes of other articles. A provider given only a `path`
// opens the file for each call, as it finds it.

#include "index/article_ref.h"
#include "index/bsi_format.h"
#include "platform/file_open.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class cIndex;

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

    // Sets `path` to `textPath` and opens the file there for good, the text of
    // `index` (loaded). When the index records its text's identity, the file's
    // size and fingerprint must match it: otherwise raises cExcMsg naming both
    // files. A file that cannot be opened is not a failure here: each article
    // asked for tries again, and raises the open message.
    void Load(const std::string& textPath, const cIndex& index);

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
    // the file cannot be opened or the span cannot be read whole, or, for a
    // loaded provider, when the file has been written since it was opened.
    std::size_t ReadSpan(std::uint32_t start, std::uint32_t end, char16_t* out,
                         std::size_t capacity, unsigned codePage);

    // The bytes ReadSpan decodes: the span read, its line ends normalised and
    // cut as there, into `text`, which has room for kMaxArticleUnits bytes and a
    // terminator. Returns their count, 0 for a span that is too long; raises
    // as ReadSpan does.
    std::size_t ReadText(std::uint32_t start, std::uint32_t end, char* text);

private:
    // The loaded provider's file, opened and checked against the identity if
    // it is not open yet. A file that cannot be opened raises the open message
    // when `required`, and gives null otherwise.
    std::FILE* OpenLoaded(bool required);
    // Sets the context naming the file at `path`.
    void NameFile();

    // Within AppendArticlesUtf8: the text file stays open from one article to
    // the next, and a loaded file's state is compared before the first read
    // and after the last (m_bracketRead: a read was made) rather than around
    // each read; a write at any moment in between is seen all the same.
    bool m_keepOpen = false;
    bool m_bracketed = false;
    bool m_bracketRead = false;
    platform::FileHandle m_kept;
    // The file's name as the messages give it, and the path it was made for.
    std::string m_context;
    std::string m_contextPath;

    // Set by Load: the file open from then on, its state when it was opened,
    // and what it must match.
    bool m_loaded = false;
    platform::FileHandle m_file;
    platform::OpenFileState m_opened;
    std::optional<bsi::TextIdentity> m_identity;
    std::string m_indexPath;
};
