// SPDX-License-Identifier: GPL-2.0-or-later
#include "revo/revo_parser.h"

#include "platform/source_file.h"

#include <libxml/SAX2.h>
#include <libxml/entities.h>
#include <libxml/hash.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>

#include <climits>
#include <cstdlib>
#include <stdexcept>
#include <sys/stat.h>

namespace {

// The folder external entities are read from, while a parser lives.
const std::filesystem::path* g_dtdFolder = nullptr;

// What one parse needs in libxml2's callbacks (one parse at a time).
struct ParseState {
    const std::unordered_map<std::string, std::string>* entities = nullptr;
    std::string firstError;
};
ParseState* g_state = nullptr;

constexpr int kOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

// Largest file read: the biggest ReVo files are below 1 MB.
constexpr std::uintmax_t kMaxFileBytes = 64u << 20;

// The resolved path, without symbolic links; empty when there is none.
std::string RealPath(const std::filesystem::path& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    std::string result = real != nullptr ? real : "";
    std::free(real);
    return result;
}

// Reads a file of the DTD folder. A downloaded folder may hold links to
// anywhere (dtd/passwd -> /etc/passwd): the file itself must not be a link,
// must still lie inside the folder once every link on its way is resolved,
// and must be a regular file. False with the reason otherwise.
bool ReadDtdFile(const std::filesystem::path& folder, const std::string& name, std::string& content,
                 std::string& why) {
    const std::filesystem::path path = folder / name;
    platform::SourceFile file(path, platform::Links::Refuse, why);
    if (!file.IsOpen()) {
        why = path.string() + " is " + why;
        return false;
    }
    const std::string inside = RealPath(folder);
    const std::string real = RealPath(path);
    if (inside.empty() || !real.starts_with(inside + "/")) {
        why = path.string() + " lies outside the DTD folder";
        return false;
    }
    if (!file.ReadAll(content, kMaxFileBytes, why)) {
        why = path.string() + ": " + why;
        return false;
    }
    return true;
}

// External entities come only from the DTD folder, by their file name: the
// DTD's own includes ("../dtd/vokosgn.dtd") resolve there wherever the folder
// lies, and nothing else on the system (nor the network) can be read. The
// parser takes a refusal for a warning; it is made the parse's error.
xmlParserInputPtr LoadFromDtdFolder(const char* url, const char*, xmlParserCtxtPtr ctxt) {
    const std::string_view whole(url != nullptr ? url : "");
    const std::string name(whole.substr(whole.find_last_of('/') + 1));
    std::string why = "only files of the DTD folder are";
    struct stat info {};
    if (g_dtdFolder != nullptr && !name.empty() && name != "." && name != ".." &&
        ::lstat((*g_dtdFolder / name).c_str(), &info) == 0) {
        std::string content;
        if (ReadDtdFile(*g_dtdFolder, name, content, why) && content.size() <= INT_MAX) {
            xmlParserInputBufferPtr buffer = xmlParserInputBufferCreateMem(
                content.data(), static_cast<int>(content.size()), XML_CHAR_ENCODING_NONE);
            xmlParserInputPtr input =
                buffer != nullptr ? xmlNewIOInputStream(ctxt, buffer, XML_CHAR_ENCODING_NONE)
                                  : nullptr;
            if (input == nullptr) {
                xmlFreeParserInputBuffer(buffer);
                return nullptr;
            }
            // The file's own name, the base of what it includes in turn.
            input->filename = reinterpret_cast<const char*>(
                xmlStrdup(reinterpret_cast<const xmlChar*>((*g_dtdFolder / name).c_str())));
            return input;
        }
    }
    if (g_state != nullptr && g_state->firstError.empty()) {
        g_state->firstError =
            "the external entity \"" + std::string(whole) + "\" is not read: " + why;
    }
    return nullptr;
}

std::string Trimmed(const char* message) {
    std::string text = message != nullptr ? message : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

void KeepFirstError(void*, xmlErrorPtr error) {
    if (g_state == nullptr || error == nullptr || error->level < XML_ERR_ERROR ||
        !g_state->firstError.empty()) {
        return;
    }
    g_state->firstError = "line " + std::to_string(error->line) + ": " + Trimmed(error->message);
}

// The document's own declarations first; then the DTD's, declared in the
// document as it needs them, as loading the DTD into it would have done.
xmlEntityPtr GetEntity(void* context, const xmlChar* name) {
    if (xmlEntityPtr own = xmlSAX2GetEntity(context, name)) {
        return own;
    }
    auto* ctxt = static_cast<xmlParserCtxtPtr>(context);
    if (g_state == nullptr || g_state->entities == nullptr || ctxt->inSubset != 0 ||
        ctxt->myDoc == nullptr || ctxt->myDoc->intSubset == nullptr) {
        return nullptr;
    }
    const auto found = g_state->entities->find(reinterpret_cast<const char*>(name));
    if (found == g_state->entities->end()) {
        return nullptr;
    }
    return xmlAddDocEntity(ctxt->myDoc, name, XML_INTERNAL_GENERAL_ENTITY, nullptr, nullptr,
                           reinterpret_cast<const xmlChar*>(found->second.c_str()));
}

struct ContextFree {
    void operator()(xmlParserCtxt* ctxt) const { xmlFreeParserCtxt(ctxt); }
};
using ParserContext = std::unique_ptr<xmlParserCtxt, ContextFree>;

ParserContext NewContext() {
    ParserContext ctxt(xmlNewParserCtxt());
    if (!ctxt) {
        throw std::bad_alloc();
    }
    ctxt->sax->serror = KeepFirstError;
    ctxt->sax->getEntity = GetEntity;
    return ctxt;
}

// Parses under a state that the callbacks see.
XmlDocument Parse(xmlParserCtxt* ctxt, std::string_view bytes, const std::string& url, int options,
                  ParseState& state) {
    g_state = &state;
    XmlDocument doc(xmlCtxtReadMemory(ctxt, bytes.data(), static_cast<int>(bytes.size()),
                                      url.c_str(), nullptr, options));
    g_state = nullptr;
    if (doc && (ctxt->wellFormed == 0 || !state.firstError.empty())) {
        doc.reset();
    }
    return doc;
}

void CollectEntity(void* payload, void* data, const xmlChar* name) {
    const auto* entity = static_cast<const xmlEntity*>(payload);
    if (entity->etype == XML_INTERNAL_GENERAL_ENTITY && entity->content != nullptr) {
        static_cast<std::unordered_map<std::string, std::string>*>(data)->emplace(
            reinterpret_cast<const char*>(name), reinterpret_cast<const char*>(entity->content));
    }
}

bool IsElement(const xmlNode* node, const char* name) {
    return node != nullptr && node->type == XML_ELEMENT_NODE &&
           xmlStrEqual(node->name, reinterpret_cast<const xmlChar*>(name));
}

// Why a well-formed document is not a ReVo file; empty when it is one.
std::string NotRevo(xmlDoc* doc) {
    const xmlNode* root = xmlDocGetRootElement(doc);
    if (!IsElement(root, "vortaro")) {
        return std::string("not a ReVo file: the root element is <") +
               (root != nullptr ? reinterpret_cast<const char*>(root->name) : "") +
               ">, not <vortaro>";
    }
    for (const xmlNode* child = root->children; child != nullptr; child = child->next) {
        if (IsElement(child, "art")) {
            return {};
        }
    }
    return "not a ReVo file: <vortaro> holds no <art>";
}

} // namespace

RevoParser::RevoParser(std::filesystem::path dtdFolder)
    : m_dtdFolder(std::move(dtdFolder)), m_previousLoader(xmlGetExternalEntityLoader()) {
    xmlInitParser();
    g_dtdFolder = &m_dtdFolder;
    xmlSetExternalEntityLoader(LoadFromDtdFolder);

    // A document of nothing but the DOCTYPE, read beside the DTD, loads it.
    const std::string probe = "<?xml version=\"1.0\"?>\n"
                              "<!DOCTYPE vortaro SYSTEM \"vokoxml.dtd\">\n<vortaro/>\n";
    ParserContext ctxt = NewContext();
    ParseState state;
    XmlDocument doc = Parse(ctxt.get(), probe, (m_dtdFolder / "dtd-probe.xml").string(),
                            kOptions | XML_PARSE_DTDLOAD, state);
    if (doc && doc->extSubset != nullptr && doc->extSubset->entities != nullptr) {
        xmlHashScan(static_cast<xmlHashTablePtr>(doc->extSubset->entities), CollectEntity,
                    &m_entities);
    }
    if (m_entities.empty()) {
        g_dtdFolder = nullptr;
        xmlSetExternalEntityLoader(m_previousLoader);
        throw std::runtime_error("cannot load the DTD " + (m_dtdFolder / "vokoxml.dtd").string() +
                                 (state.firstError.empty() ? std::string(": it defines no entities")
                                                           : ": " + state.firstError));
    }
}

RevoParser::~RevoParser() {
    g_dtdFolder = nullptr;
    xmlSetExternalEntityLoader(m_previousLoader);
}

ParsedFile RevoParser::ParseFile(const std::filesystem::path& file) {
    std::string why;
    platform::SourceFile source(file, platform::Links::Follow, why);
    if (!source.IsOpen()) {
        return {nullptr, "cannot read the file: " + why};
    }
    if (source.Size() > kMaxFileBytes) {
        return {nullptr, "the file is larger than 64 MiB"};
    }
    std::string bytes;
    if (!source.ReadAll(bytes, kMaxFileBytes, why)) {
        return {nullptr, "cannot read the file: " + why};
    }
    return ParseMemory(bytes, file.string());
}

ParsedFile RevoParser::ParseMemory(std::string_view bytes, const std::string& name) {
    if (bytes.size() > kMaxFileBytes) {
        return {nullptr, "the file is larger than 64 MiB"};
    }
    ParserContext ctxt = NewContext();
    ParseState state;
    state.entities = &m_entities;
    XmlDocument doc = Parse(ctxt.get(), bytes, name, kOptions | XML_PARSE_NOENT, state);
    if (!doc) {
        return {nullptr,
                state.firstError.empty() ? "the parser gave no document" : state.firstError};
    }
    std::string why = NotRevo(doc.get());
    if (!why.empty()) {
        return {nullptr, std::move(why)};
    }
    return {std::move(doc), {}};
}
