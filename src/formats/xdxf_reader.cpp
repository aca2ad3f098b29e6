// SPDX-License-Identifier: GPL-2.0-or-later
// XDXF: an XML file (plain or gzip-compressed) read as a stream with
// libxml2's reader, one <ar> article at a time. Each <k> gives a key; the
// first, with its <opt> parts, is the shown headword. The root's
// format="logical" makes whitespace flow; the visual form (the default) keeps
// the text's lines.
#include "formats/article_text.h"
#include "formats/data_file.h"
#include "formats/dictionary_reader.h"
#include "formats/markup_text.h"

#include <libxml/xmlreader.h>

#include <algorithm>
#include <exception>

namespace formats {
namespace {

namespace fs = std::filesystem;

// No network, no external DTD, entities left as they are.
constexpr int kReaderOptions = XML_PARSE_NONET | XML_PARSE_NOCDATA;

std::string_view AsView(const xmlChar* text) {
    return text != nullptr ? reinterpret_cast<const char*>(text) : "";
}

class XdxfReader final : public DictionaryReader {
public:
    XdxfReader(const fs::path& source, const InflateLimits& limits);
    ~XdxfReader() override;
    bool Next(ImportedArticle& article) override;

private:
    static int ReadBlock(void* context, char* buffer, int size);
    static int Close(void*) { return 0; }
    static void OnError(void* context, xmlErrorPtr error);
    // Moves to the next <ar>, reading the dictionary's own description on the
    // way; false at the end of the file.
    bool MoveToArticle();
    [[noreturn]] void Fail();
    bool Article(const xmlNode* ar, ImportedArticle& article);

    std::string m_label;
    SequentialFile m_file;
    xmlTextReaderPtr m_reader = nullptr;
    std::exception_ptr m_readError; // a FormatError of the file, kept whole
    std::string m_parseError;
    int m_errorLine = 0;
    bool m_flowing = false;
    bool m_skipSubtree = false;
    bool m_onArticle = false;
    std::string m_lastKey;
};

XdxfReader::XdxfReader(const fs::path& source, const InflateLimits& limits)
    : m_label(FileLabel(source)), m_file(source, limits) {
    InitXml();
    m_info.format = Format::Xdxf;
    m_info.sourceFile = source.filename().string();
    m_total = m_file.FileSize();
    m_reader = xmlReaderForIO(&XdxfReader::ReadBlock, &XdxfReader::Close, this, nullptr, nullptr,
                              kReaderOptions);
    if (m_reader == nullptr) {
        throw FormatError(m_label, "", "cannot start the XML reader");
    }
    xmlTextReaderSetStructuredErrorHandler(m_reader, &XdxfReader::OnError, this);
    try {
        m_onArticle = MoveToArticle();
    } catch (...) {
        xmlFreeTextReader(m_reader);
        throw;
    }
}

XdxfReader::~XdxfReader() {
    xmlFreeTextReader(m_reader);
}

int XdxfReader::ReadBlock(void* context, char* buffer, int size) {
    auto* self = static_cast<XdxfReader*>(context);
    try {
        return static_cast<int>(self->m_file.Read(buffer, static_cast<std::size_t>(size)));
    } catch (const FormatError&) {
        self->m_readError = std::current_exception();
        return -1;
    }
}

void XdxfReader::OnError(void* context, xmlErrorPtr error) {
    auto* self = static_cast<XdxfReader*>(context);
    // The last error is the one that stops the reader.
    if (error != nullptr && error->level >= XML_ERR_ERROR) {
        self->m_parseError = CleanHeadword(error->message != nullptr ? error->message : "");
        self->m_errorLine = error->line;
    }
}

void XdxfReader::Fail() {
    if (m_readError) {
        std::rethrow_exception(m_readError);
    }
    std::string entry = "line " + std::to_string(m_errorLine);
    if (!m_lastKey.empty()) {
        entry += ", after the article " + m_lastKey;
    }
    throw FormatError(m_label, entry, m_parseError.empty() ? "not well-formed XML" : m_parseError);
}

bool XdxfReader::MoveToArticle() {
    for (;;) {
        const int result =
            m_skipSubtree ? xmlTextReaderNext(m_reader) : xmlTextReaderRead(m_reader);
        m_skipSubtree = false;
        if (result < 0 || m_readError) {
            Fail();
        }
        if (result == 0) {
            return false;
        }
        if (xmlTextReaderNodeType(m_reader) != XML_READER_TYPE_ELEMENT) {
            continue;
        }
        const std::string_view name = AsView(xmlTextReaderConstLocalName(m_reader));
        if (name == "ar") {
            m_skipSubtree = true;
            return true;
        }
        if (name == "xdxf") {
            const auto attribute = [&](const char* key) {
                xmlChar* value = xmlTextReaderGetAttribute(m_reader, BAD_CAST key);
                std::string text = CleanHeadword(AsView(value));
                xmlFree(value);
                return text;
            };
            m_info.fromLanguage = attribute("lang_from");
            m_info.toLanguage = attribute("lang_to");
            m_flowing = attribute("format") == "logical";
        } else if (name == "full_name" || name == "full_title" || name == "title" ||
                   name == "description") {
            const xmlNode* node = xmlTextReaderExpand(m_reader);
            if (node == nullptr) {
                Fail();
            }
            // A full title wins over a short one.
            if (name == "description") {
                m_info.description = NodeText(node);
            } else if (name != "title" || m_info.name.empty()) {
                m_info.name = CleanHeadword(NodeText(node));
            }
            m_skipSubtree = true;
        }
    }
}

bool XdxfReader::Article(const xmlNode* ar, ImportedArticle& article) {
    std::vector<XdxfKey> keys;
    const auto collect = [&](const xmlNode* parent) {
        for (const xmlNode* node = parent->children; node != nullptr; node = node->next) {
            if (node->type == XML_ELEMENT_NODE && AsView(node->name) == "k") {
                keys.push_back(ReadXdxfKey(node));
            }
        }
    };
    collect(ar);
    for (const xmlNode* node = ar->children; node != nullptr; node = node->next) {
        if (node->type == XML_ELEMENT_NODE && AsView(node->name) == "head") {
            collect(node);
        }
    }
    article.headwords.clear();
    const auto add = [&](const std::string& word) {
        if (!word.empty() && std::find(article.headwords.begin(), article.headwords.end(), word) ==
                                 article.headwords.end()) {
            article.headwords.push_back(word);
        }
    };
    // Only keys are looked up: the shown headword, <opt> parts and all, is
    // the text's first line.
    for (const XdxfKey& key : keys) {
        add(key.key);
    }
    ArticleText text;
    AppendXdxfNodes(ar, m_flowing, text, m_skipped);
    const std::string body = text.Take();
    if (keys.empty() || keys.front().shown.empty() || keys.front().key.empty() || body.empty()) {
        ++m_skipped.empty;
        return false;
    }
    m_lastKey = keys.front().shown;
    article.text = ComposeArticle(keys.front().shown, body);
    return true;
}

bool XdxfReader::Next(ImportedArticle& article) {
    while (m_onArticle) {
        const xmlNode* ar = xmlTextReaderExpand(m_reader);
        if (ar == nullptr) {
            Fail();
        }
        const bool made = Article(ar, article);
        m_onArticle = MoveToArticle();
        m_done = std::min(m_file.Position(), m_total);
        if (made) {
            return true;
        }
    }
    m_done = m_total;
    return false;
}

} // namespace

std::unique_ptr<DictionaryReader> OpenXdxf(const std::filesystem::path& source,
                                           const InflateLimits& limits) {
    return std::make_unique<XdxfReader>(source, limits);
}

} // namespace formats
