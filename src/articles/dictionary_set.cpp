// SPDX-License-Identifier: GPL-2.0-or-later
#include "articles/dictionary_set.h"

#include "articles/dictionary_files.h"
#include "platform/file_replace.h"
#include "platform/user_folders.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// An order file larger than this is not a list a person wrote; only its
// beginning is read.
constexpr std::size_t kMaxOrderFileBytes = 1 << 20;

bool IsNameByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.';
}

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A line quoted for a message: its bytes up to a sensible length, control
// bytes shown as '?'.
std::string Quoted(std::string_view text) {
    constexpr std::size_t kShown = 80;
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size() && i < kShown; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        out += byte < 0x20 || byte == 0x7f ? '?' : text[i];
    }
    return out + (text.size() > kShown ? "\u2026\"" : "\"");
}

std::string FolderWithSlash(std::string_view folder) {
    std::string out(folder);
    if (!out.empty() && out.back() != '/') {
        out += '/';
    }
    return out;
}

// The order file's bytes; empty when there is none or it is not a regular
// file (a FIFO is never opened for reading in a way that waits).
std::string ReadOrderFile(const std::string& path, std::vector<std::string>& messages) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) {
            messages.push_back(path + ": cannot be read: " + std::strerror(errno));
        }
        return {};
    }
    std::string bytes;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        messages.push_back(path + ": not a plain file; the dictionaries keep their own order");
        ::close(fd);
        return {};
    }
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            messages.push_back(path + ": cannot be read: " + std::strerror(errno));
            bytes.clear();
            break;
        }
        if (n == 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (bytes.size() > kMaxOrderFileBytes) {
            messages.push_back(path + ": longer than " + std::to_string(kMaxOrderFileBytes) +
                               " bytes; only its beginning is read");
            bytes.resize(kMaxOrderFileBytes);
            break;
        }
    }
    ::close(fd);
    return bytes;
}

bool IsFolder(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

} // namespace

std::string DictionaryNameProblem(std::string_view name) {
    if (name.empty()) {
        return "a dictionary's name cannot be empty";
    }
    if (name.size() > kMaxDictionaryNameBytes) {
        return "a dictionary's name has at most " + std::to_string(kMaxDictionaryNameBytes) +
               " characters";
    }
    if (!std::all_of(name.begin(), name.end(), IsNameByte)) {
        return "a dictionary's name holds only Latin letters, digits, '-', '_' and '.': " +
               Quoted(name);
    }
    if (name.front() == '.' || name.front() == '-') {
        return "a dictionary's name cannot start with '" + std::string(1, name.front()) +
               "': " + Quoted(name);
    }
    if (name == kOrderFileName) {
        return "\"" + std::string(kOrderFileName) + "\" is the order file's name";
    }
    return {};
}

std::string DictionariesFolderOf(std::string_view dataFolder) {
    return FolderWithSlash(dataFolder) + kDictionariesFolderName + "/";
}

OrderFile ParseOrderFile(std::string_view text) {
    OrderFile file;
    std::set<std::string, std::less<>> seen;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        ++lineNumber;
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const bool enabled = line.front() != '-';
        const std::string_view name = enabled ? line : Trim(line.substr(1));
        const std::string where = "order, line " + std::to_string(lineNumber) + ": ";
        if (const std::string problem = DictionaryNameProblem(name); !problem.empty()) {
            file.messages.push_back(where + problem);
            continue;
        }
        if (!seen.emplace(name).second) {
            file.messages.push_back(where + Quoted(name) +
                                    " is named again; the first line counts");
            continue;
        }
        file.entries.push_back({std::string(name), enabled});
    }
    return file;
}

std::string FormatOrderFile(const std::vector<OrderEntry>& entries) {
    std::string text = "# The order in which Kelimbo shows the dictionaries' articles, one name a\n"
                       "# line; a line \"-NAME\" switches that dictionary off.\n";
    for (const OrderEntry& entry : entries) {
        text += (entry.enabled ? "" : "-") + entry.name + "\n";
    }
    return text;
}

DictionaryList ListDictionaries(std::string_view dataFolder) {
    DictionaryList list;
    const std::string folder = DictionariesFolderOf(dataFolder);
    const OrderFile order = ParseOrderFile(ReadOrderFile(folder + kOrderFileName, list.messages));
    list.messages.insert(list.messages.end(), order.messages.begin(), order.messages.end());

    // The folders that hold a dictionary, by name.
    std::set<std::string> found;
    std::error_code unreadable;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, unreadable)) {
        const std::string name = entry.path().filename().string();
        const std::string path = folder + name + "/";
        if (name.front() == '.' || !IsFolder(path)) {
            continue;
        }
        if (!DictionaryNameProblem(name).empty()) {
            list.messages.push_back(folder + name + ": not a dictionary's name; passed over");
            continue;
        }
        if (!platform::PathExists(path + kEsperantoFiles.index) &&
            !platform::PathExists(path + kRussianFiles.index) &&
            !platform::PathExists(path + kCommitJournalName)) {
            list.messages.push_back(path + ": holds no dictionary files; passed over");
            continue;
        }
        found.insert(name);
    }
    if (unreadable && unreadable != std::errc::no_such_file_or_directory) {
        list.messages.push_back(folder + ": cannot be listed: " + unreadable.message());
    }

    const auto add = [&](const std::string& name, bool enabled) {
        const std::string path = folder + name + "/";
        list.dictionaries.push_back({name, path, enabled,
                                     platform::PathExists(path + kEsperantoFiles.index),
                                     platform::PathExists(path + kRussianFiles.index)});
    };
    for (const OrderEntry& entry : order.entries) {
        if (found.erase(entry.name) == 0) {
            list.messages.push_back("order: no dictionary is named " + Quoted(entry.name) +
                                    "; the line is passed over");
            continue;
        }
        add(entry.name, entry.enabled);
    }
    for (const std::string& name : found) { // the rest, by name
        add(name, true);
    }
    return list;
}

namespace {

void ReplaceOrderFile(std::string_view dataFolder, const std::string& text) {
    const std::string folder = DictionariesFolderOf(dataFolder);
    std::error_code failed;
    fs::create_directories(folder, failed);
    if (failed) {
        throw std::runtime_error("cannot make " + folder + ": " + failed.message());
    }
    platform::NewFile file;
    const std::string path = folder + kOrderFileName;
    if (!file.Create(path) || !file.Write(text) || !file.PutInPlace()) {
        throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
    }
}

} // namespace

void WriteDictionaryOrder(std::string_view dataFolder, const std::vector<OrderEntry>& entries) {
    ReplaceOrderFile(dataFolder, FormatOrderFile(entries));
}

void AddToDictionaryOrder(std::string_view dataFolder, const std::string& name) {
    std::vector<std::string> ignored;
    const std::string path = DictionariesFolderOf(dataFolder) + kOrderFileName;
    std::string text = ReadOrderFile(path, ignored);
    if (text.empty()) {
        text = FormatOrderFile({});
    }
    const OrderFile order = ParseOrderFile(text);
    const auto listed = [&](const std::string& wanted) {
        return std::any_of(order.entries.begin(), order.entries.end(),
                           [&](const OrderEntry& entry) { return entry.name == wanted; });
    };
    if (listed(name)) {
        return;
    }
    if (!text.empty() && text.back() != '\n') {
        text += '\n';
    }
    for (const AddedDictionary& dictionary : ListDictionaries(dataFolder).dictionaries) {
        if (dictionary.name != name && !listed(dictionary.name)) {
            text += dictionary.name + "\n";
        }
    }
    ReplaceOrderFile(dataFolder, text + name + "\n");
}

std::vector<OrderEntry> OrderOf(const DictionaryList& list) {
    std::vector<OrderEntry> entries;
    for (const AddedDictionary& dictionary : list.dictionaries) {
        entries.push_back({dictionary.name, dictionary.enabled});
    }
    return entries;
}
