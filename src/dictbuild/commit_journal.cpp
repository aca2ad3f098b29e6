// SPDX-License-Identifier: GPL-2.0-or-later
#include "dictbuild/commit_journal.h"

#include "articles/dictionary_files.h"
#include "platform/file_replace.h"

#include <algorithm>
#include <stdexcept>

namespace {

constexpr std::string_view kFirstLine = "kelimbo-commit 1";
constexpr std::string_view kLastLine = "end";
constexpr std::size_t kMaxRandomLetters = 64;

constexpr std::string_view kTargets[] = {kEsperantoFiles.text, kEsperantoFiles.index,
                                         kRussianFiles.text, kRussianFiles.index};

bool IsTarget(std::string_view name) {
    return std::find(std::begin(kTargets), std::end(kTargets), name) != std::end(kTargets);
}

bool IsLetterOrDigit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

[[noreturn]] void Refuse(const std::string& why) {
    throw std::runtime_error(why);
}

} // namespace

bool IsTemporaryNameOf(std::string_view name, std::string_view target) {
    const std::string prefix = platform::TemporaryPrefix(target);
    if (!name.starts_with(prefix)) {
        return false;
    }
    const std::string_view letters = name.substr(prefix.size());
    return !letters.empty() && letters.size() <= kMaxRandomLetters &&
           std::all_of(letters.begin(), letters.end(), IsLetterOrDigit);
}

std::string EncodeCommitJournal(const std::vector<StagedRename>& renames) {
    std::string bytes(kFirstLine);
    bytes += '\n';
    for (const StagedRename& rename : renames) {
        bytes += rename.temporary + ' ' + rename.target + '\n';
    }
    bytes += kLastLine;
    bytes += '\n';
    return bytes;
}

std::vector<StagedRename> DecodeCommitJournal(std::string_view bytes) {
    if (bytes.size() > kMaxCommitJournalBytes) {
        Refuse("is longer than " + std::to_string(kMaxCommitJournalBytes) + " bytes");
    }
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        if (end == std::string_view::npos) {
            Refuse("is cut short");
        }
        lines.push_back(bytes.substr(0, end));
        bytes.remove_prefix(end + 1);
    }
    if (lines.empty() || lines.front() != kFirstLine) {
        Refuse("does not start as a journal of this program's commits");
    }
    if (lines.size() < 2 || lines.back() != kLastLine) {
        Refuse("is cut short");
    }
    std::vector<StagedRename> renames;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::size_t space = line.find(' ');
        const std::string_view temporary = line.substr(0, space);
        const std::string_view target =
            space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
        if (!IsTarget(target)) {
            Refuse("names a file that is not the dictionary's (line " + std::to_string(i + 1) +
                   ")");
        }
        if (!IsTemporaryNameOf(temporary, target)) {
            Refuse("names a file that is not a new " + std::string(target) + " (line " +
                   std::to_string(i + 1) + ")");
        }
        if (std::any_of(renames.begin(), renames.end(),
                        [&](const StagedRename& r) { return r.target == target; })) {
            Refuse("names " + std::string(target) + " twice");
        }
        renames.push_back({std::string(temporary), std::string(target)});
    }
    if (renames.empty()) {
        Refuse("names no file");
    }
    return renames;
}
