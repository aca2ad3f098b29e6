// SPDX-License-Identifier: GPL-2.0-or-later
#include "articles/provider.h"

#include "errors/checked_io.h"
#include "errors/exc_msg.h"
#include "index/headword_index.h"
#include "platform/ansi_literal.h"
#include "platform/code_page.h"
#include "platform/file_open.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr auto kOpenError = platform::Ansi(u8"Ошибка при открытии файла словаря:\n%s");
constexpr auto kReadError = platform::Ansi(u8"Ошибка при чтении файла %s");
constexpr auto kMismatch = platform::Ansi(u8"Файл словаря не соответствует индексу:\n%s\n%s");
constexpr auto kContextWord = platform::Ansi(u8"словаря:\n \"");

// Copies `raw` up to its first NUL into `out`, writing every LF that does not
// follow a CR as CR LF, then drops all CR and LF bytes at the end. `out` has
// room for twice the raw text and a terminator. Returns the length written.
std::size_t NormaliseLineEnds(const char* raw, char* out) {
    const std::size_t n = std::strlen(raw);
    std::size_t w = 0;
    std::size_t i = 0;
    while (i < n) {
        const void* lf = std::memchr(raw + i, '\n', n - i);
        const std::size_t stop =
            lf != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lf) - raw) : n;
        std::memcpy(out + w, raw + i, stop - i);
        w += stop - i;
        if (stop == n) {
            break;
        }
        if (stop == 0 || raw[stop - 1] != '\r') {
            out[w++] = '\r';
        }
        out[w++] = '\n';
        i = stop + 1;
    }
    while (w > 0 && (out[w - 1] == '\r' || out[w - 1] == '\n')) {
        --w;
    }
    out[w] = '\0';
    return w;
}

} // namespace

void cKelimboProv::GetArticles(std::u16string& out, const std::vector<ArticleRef>& refs) {
    out.clear();
    std::u16string text; // built aside, so that a failure hands back no partial text
    for (const ArticleRef& ref : refs) {
        text += GetArticle(ref.start, ref.end);
        text += u"\r\n";
    }
    out = std::move(text);
}

void cKelimboProv::AppendArticlesUtf8(std::string& out, const std::vector<ArticleRef>& refs) {
    const std::size_t at = out.size();
    // The file is opened once for all the references, on the first that needs it.
    m_keepOpen = true;
    m_bracketed = true;
    m_bracketRead = false;
    try {
        for (const ArticleRef& ref : refs) {
            AppendArticleUtf8(out, ref.start, ref.end);
            out += "\r\n";
        }
        if (m_bracketRead && platform::StateOf(m_file.get()) != m_opened) {
            RaiseMsg(kReadError.c_str(), m_context.c_str());
        }
    } catch (...) {
        m_kept.reset();
        m_keepOpen = m_bracketed = m_bracketRead = false;
        out.resize(at); // no partial text, as GetArticles hands back none
        throw;
    }
    m_kept.reset();
    m_keepOpen = m_bracketed = m_bracketRead = false;
}

void cKelimboProv::AppendArticleUtf8(std::string& out, std::uint32_t start, std::uint32_t end) {
    out += platform::ToUtf8(GetArticle(start, end));
}

std::size_t cKelimboProv::ReadSpan(std::uint32_t start, std::uint32_t end, char16_t* out,
                                   std::size_t capacity, unsigned codePage) {
    char normalised[kMaxArticleUnits + 1];
    const std::size_t bytes = ReadText(start, end, normalised);
    const std::size_t units = platform::MultiByteToWide(codePage, normalised, bytes, out, capacity);
    out[units] = u'\0';
    return units;
}

void cKelimboProv::Load(const std::string& textPath, const cIndex& index) {
    path = textPath;
    m_loaded = true;
    m_file.reset();
    m_identity = index.Identity();
    m_indexPath = index.Path();
    OpenLoaded(false);
}

void cKelimboProv::NameFile() {
    if (m_contextPath != path) { // made once, not for every article
        m_context = kContextWord.c_str() + platform::AnsiPath(path) + "\"";
        m_contextPath = path;
    }
}

std::FILE* cKelimboProv::OpenLoaded(bool required) {
    if (m_file) {
        return m_file.get();
    }
    platform::FileHandle file = platform::OpenFile(path, "rb");
    if (!file) {
        if (!required) {
            return nullptr;
        }
        RaiseMsg(kOpenError.c_str(), platform::AnsiPath(path).c_str());
    }
    // Reads of at most 2 KB: no stream buffer (and no size query to make one).
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
    NameFile();
    const std::optional<platform::OpenFileState> state = platform::StateOf(file.get());
    if (!state) {
        RaiseMsg(kReadError.c_str(), m_context.c_str());
    }
    if (m_identity) {
        bool matches = state->size == m_identity->size;
        if (matches) {
            const std::optional<std::uint64_t> fingerprint =
                bsi::FingerprintOfFile(file.get(), state->size);
            // A file written while it was sampled gives the read error, as at
            // any later read.
            if (!fingerprint || platform::StateOf(file.get()) != state) {
                RaiseMsg(kReadError.c_str(), m_context.c_str());
            }
            matches = *fingerprint == m_identity->fingerprint;
        }
        if (!matches) {
            RaiseMsg(kMismatch.c_str(), platform::AnsiPath(path).c_str(),
                     platform::AnsiPath(m_indexPath).c_str());
        }
    }
    m_opened = *state;
    m_file = std::move(file);
    return m_file.get();
}

std::size_t cKelimboProv::ReadText(std::uint32_t start, std::uint32_t end, char* text) {
    const std::uint32_t length = end - start; // wraps to a huge length when end < start
    if (length > kMaxArticleBytes) {
        text[0] = '\0';
        return 0;
    }
    char raw[kMaxArticleBytes + 1];
    if (m_loaded) {
        std::FILE* file = OpenLoaded(true);
        NameFile();
        // Bytes read from a file written over since it was opened may belong
        // to other articles: the state is compared before and after the read
        // (or the reads of AppendArticlesUtf8), so that a write at any moment
        // up to its end is seen.
        const auto unchanged = [&] { return platform::StateOf(file) == m_opened; };
        if (!m_bracketRead && !unchanged()) {
            RaiseMsg(kReadError.c_str(), m_context.c_str());
        }
        // Offsets beyond the signed range are a read error, as a seek to them is.
        if (start > static_cast<std::uint32_t>(INT32_MAX) ||
            !platform::ReadAt(file, start, raw, length)) {
            RaiseMsg(kReadError.c_str(), m_context.c_str());
        }
        if (m_bracketed) {
            m_bracketRead = true;
        } else if (!unchanged()) {
            RaiseMsg(kReadError.c_str(), m_context.c_str());
        }
        raw[length] = '\0';
        return NormaliseLineEnds(raw, text);
    }

    platform::FileHandle own;
    platform::FileHandle& file = m_keepOpen ? m_kept : own;
    if (!file) {
        file = platform::OpenFile(path, "rb");
        if (!file) {
            RaiseMsg(kOpenError.c_str(), platform::AnsiPath(path).c_str());
        }
        // Reads of at most 2 KB: no stream buffer (and no size query to make one).
        std::setvbuf(file.get(), nullptr, _IONBF, 0);
    }
    NameFile();

    // Offsets beyond the signed range make the seek fail, which reports a read error.
    SeekChecked(file.get(), static_cast<std::int32_t>(start), SEEK_SET, m_context.c_str());
    ReadChecked(raw, 1, length, file.get(), m_context.c_str());
    own.reset();
    raw[length] = '\0';

    return NormaliseLineEnds(raw, text);
}
