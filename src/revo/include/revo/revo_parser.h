// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Reading ReVo's XML files with libxml2.
//
// Every file names the DTD "../dtd/vokoxml.dtd", whose character entities
// (&ccirc;, &c_p;, about 800) give most of its letters. The DTD is parsed once;
// each file is then parsed with its entities substituted from it, network
// access off and the parser's default limits. An external entity is read only
// from the DTD folder.

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

struct XmlDocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using XmlDocument = std::unique_ptr<xmlDoc, XmlDocFree>;

struct ParsedFile {
    XmlDocument doc;   // null when the file is to be skipped
    std::string error; // then why: the parser's message with its line, or what is not ReVo
};

class RevoParser {
public:
    // Loads "vokoxml.dtd" from the folder, and what it includes from the same
    // folder. Throws std::runtime_error when it cannot be loaded or defines no
    // entities. Only one parser may exist at a time: it installs libxml2's
    // (process-wide) loader of external entities while it lives.
    explicit RevoParser(std::filesystem::path dtdFolder);
    ~RevoParser();
    RevoParser(const RevoParser&) = delete;
    RevoParser& operator=(const RevoParser&) = delete;

    // A file whose root is <vortaro> holding <art> elements; anything else,
    // and any error the parser reports, gives a null document and the reason.
    ParsedFile ParseFile(const std::filesystem::path& file);
    // The same for bytes in memory; `name` names them in messages and is the
    // base for relative references.
    ParsedFile ParseMemory(std::string_view bytes, const std::string& name);

    std::size_t EntityCount() const { return m_entities.size(); }

private:
    std::filesystem::path m_dtdFolder;
    std::unordered_map<std::string, std::string> m_entities; // name → replacement text
    xmlExternalEntityLoader m_previousLoader;
};
