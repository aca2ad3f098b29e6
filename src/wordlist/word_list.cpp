// SPDX-License-Identifier: GPL-2.0-or-later
#include "wordlist/word_list.h"

#include "index/my_less.h"
#include "index/x_less.h"
#include "platform/code_page.h"
#include "platform/file_lock.h"
#include "platform/file_replace.h"
#include "platform/source_file.h"
#include "platform/user_folders.h"
#include "text/index_key.h"
#include "wordlist/word_list_file.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace wordlist {

namespace {

WordListWriteFault g_writeFault = nullptr;

bool FaultInjected() {
    return g_writeFault != nullptr && g_writeFault();
}

std::string Key(std::string_view text, bool esperanto) {
    std::string key(text);
    key += esperanto ? "\te" : "\tr";
    return key;
}

// The lock beside the file that every saving program takes: ".NAME.lock".
std::string LockPath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, nameAt) + "." + path.substr(nameAt) + ".lock";
}

// A path inside a message: its bytes as UTF-8, invalid ones replaced.
std::string Shown(std::string_view path) {
    std::string shown;
    platform::AppendCleanUtf8(shown, path);
    return shown;
}

// The file's bytes, as far as they could be read.
struct FileBytes {
    bool exists = false;
    bool read = false; // false: it exists but could not be read (`why` says why)
    std::string bytes;
    std::string why;
};

FileBytes ReadListFile(const std::string& path) {
    FileBytes file;
    file.exists = platform::PathExists(path);
    if (!file.exists) {
        file.read = true;
        return file;
    }
    platform::SourceFile source(path, platform::Links::Follow, file.why);
    file.read = source.IsOpen() && source.ReadAll(file.bytes, kMaxWordListBytes, file.why);
    return file;
}

// Writes a whole file as a new file renamed over `path`, on the disk before
// the rename.
bool WriteWhole(const std::string& path, std::string_view bytes) {
    platform::NewFile file;
    if (!file.Create(path)) {
        return false;
    }
    if (FaultInjected() || !file.Write(bytes)) {
        return false;
    }
    if (FaultInjected() || !platform::FlushToDisk(file.Stream())) {
        return false;
    }
    if (FaultInjected() || !file.PutInPlace()) {
        return false;
    }
    return true;
}

void SortByDate(std::vector<Word>& words) {
    std::stable_sort(words.begin(), words.end(),
                     [](const Word& a, const Word& b) { return a.added < b.added; });
}

// What a file's damage costs, told once.
std::string DamageMessage(const std::string& path, const ParsedWordList& parsed) {
    return "Файл списка слов «" + Shown(path) +
           "» повреждён: прочитано слов: " + std::to_string(parsed.words.size()) +
           ", не прочитано строк: " + std::to_string(parsed.damagedLines) +
           ". Прежний файл будет сохранён как «" + Shown(path) + ".bak», когда список сохранится.";
}

} // namespace

void SetWordListWriteFault(WordListWriteFault fault) {
    g_writeFault = fault;
}

WordList::WordList(std::string path) : m_path(std::move(path)) {}

void WordList::Load() {
    m_words.clear();
    m_changes.clear();
    m_readOnly = false;
    if (!m_path.empty()) {
        // A save cut short by a kill leaves its new file; nobody else's save
        // takes an hour.
        platform::RemoveStaleTemporaries(m_path, std::chrono::hours(1));
        FileBytes file = ReadListFile(m_path);
        if (!file.read) {
            // Saving would replace a file nobody has read: keep it as it is.
            m_readOnly = true;
            m_messages.push_back("Файл списка слов «" + Shown(m_path) + "» не прочитан (" +
                                 file.why + "); список не будет сохранён, чтобы его не потерять.");
        } else if (file.exists) {
            ParsedWordList parsed = ParseWordList(file.bytes);
            if (parsed.Future()) {
                m_readOnly = true;
                m_messages.push_back("Файл списка слов «" + Shown(m_path) +
                                     "» записан более новой версией программы (версия " +
                                     std::to_string(parsed.version) +
                                     "): прочитано слов: " + std::to_string(parsed.words.size()) +
                                     "; список открыт только для чтения и не будет перезаписан.");
            } else if (parsed.Damaged()) {
                m_messages.push_back(DamageMessage(m_path, parsed));
            }
            m_words = std::move(parsed.words);
            SortByDate(m_words);
        }
    }
    Reindex();
}

bool WordList::Save() {
    const std::string failed = "Список слов не сохранён в «" + Shown(m_path) + "»: ";
    if (m_path.empty()) {
        m_messages.push_back("Список слов не сохранён: для него нет файла.");
        return false;
    }
    if (m_readOnly) {
        m_messages.push_back(failed + "он открыт только для чтения.");
        return false;
    }
    platform::FileLock lock;
    if (lock.Lock(LockPath(m_path), std::chrono::milliseconds(2000)) !=
        platform::LockResult::Held) {
        m_messages.push_back(failed + "его файл занят другой программой.");
        return false;
    }
    const FileBytes file = ReadListFile(m_path);
    if (!file.read) {
        m_messages.push_back(failed + "файл не прочитан (" + file.why + ").");
        return false;
    }
    std::vector<Word> merged;
    if (file.exists) {
        ParsedWordList parsed = ParseWordList(file.bytes);
        if (parsed.Future()) {
            m_readOnly = true;
            m_messages.push_back(failed + "файл записан более новой версией программы.");
            return false;
        }
        if (parsed.Damaged() && !m_changes.empty() && !WriteWhole(m_path + ".bak", file.bytes)) {
            m_messages.push_back(failed + "не удалось сохранить копию повреждённого файла.");
            return false;
        }
        merged = std::move(parsed.words);
        SortByDate(merged);
    }
    if (!m_changes.empty()) {
        ApplyAll(merged, m_changes);
        if (!WriteWhole(m_path, FormatWordList(merged))) {
            m_messages.push_back(failed + "ошибка записи.");
            return false;
        }
    }
    m_words = std::move(merged);
    m_changes.clear();
    Reindex();
    return true;
}

void WordList::ApplyAll(std::vector<Word>& words, const std::vector<Change>& changes) {
    // Each word once, in slots that a removal empties, so that many changes
    // cost one pass over the list.
    std::vector<std::optional<Word>> slots(words.begin(), words.end());
    std::unordered_map<std::string, std::size_t> at;
    at.reserve(slots.size() + changes.size());
    for (std::size_t i = 0; i < slots.size(); ++i) {
        at.emplace(Key(slots[i]->text, slots[i]->esperanto), i);
    }
    for (const Change& change : changes) {
        const std::string key = Key(change.word.text, change.word.esperanto);
        const auto found = at.find(key);
        std::optional<Word>* slot = found == at.end() ? nullptr : &slots[found->second];
        const bool present = slot != nullptr && slot->has_value();
        switch (change.kind) {
        case ChangeKind::Add:
            if (!present) {
                at[key] = slots.size();
                slots.emplace_back(change.word);
            }
            break;
        case ChangeKind::Remove:
            if (present) {
                slot->reset();
            }
            break;
        case ChangeKind::Lookup:
            if (present && (*slot)->lookups != std::uint32_t(-1)) {
                ++(*slot)->lookups;
            }
            break;
        }
    }
    words.clear();
    for (std::optional<Word>& slot : slots) {
        if (slot) {
            words.push_back(std::move(*slot));
        }
    }
    SortByDate(words);
}

void WordList::Changed() {
    if (onChange) {
        onChange();
    }
}

void WordList::Reindex() {
    m_positions.clear();
    m_positions.reserve(m_words.size());
    for (std::size_t i = 0; i < m_words.size(); ++i) {
        m_positions.emplace(Key(m_words[i].text, m_words[i].esperanto), i);
    }
}

std::optional<std::size_t> WordList::PositionOf(std::string_view text, bool esperanto) const {
    const auto found = m_positions.find(Key(text, esperanto));
    if (found == m_positions.end()) {
        return std::nullopt;
    }
    return found->second;
}

bool WordList::Contains(std::string_view text, bool esperanto) const {
    return PositionOf(text, esperanto).has_value();
}

const Word* WordList::Find(std::string_view text, bool esperanto) const {
    const std::optional<std::size_t> at = PositionOf(text, esperanto);
    return at ? &m_words[*at] : nullptr;
}

bool WordList::Add(std::string_view text, bool esperanto, std::int64_t added) {
    return Restore(Word{std::string(text), esperanto, added, 0});
}

bool WordList::Restore(const Word& word) {
    if (!ValidWordText(word.text) || Contains(word.text, word.esperanto)) {
        return false;
    }
    // At its place by date: after every word kept at the same time or earlier.
    const auto place =
        std::upper_bound(m_words.begin(), m_words.end(), word.added,
                         [](std::int64_t added, const Word& kept) { return added < kept.added; });
    if (place == m_words.end()) {
        m_positions.emplace(Key(word.text, word.esperanto), m_words.size());
        m_words.push_back(word);
    } else {
        m_words.insert(place, word);
        Reindex();
    }
    m_changes.push_back({ChangeKind::Add, word});
    Changed();
    return true;
}

std::optional<Word> WordList::Remove(std::string_view text, bool esperanto) {
    const std::optional<std::size_t> at = PositionOf(text, esperanto);
    if (!at) {
        return std::nullopt;
    }
    Word removed = std::move(m_words[*at]);
    m_words.erase(m_words.begin() + static_cast<std::ptrdiff_t>(*at));
    Reindex();
    m_changes.push_back({ChangeKind::Remove, removed});
    Changed();
    return removed;
}

bool WordList::CountLookup(std::string_view text, bool esperanto) {
    const std::optional<std::size_t> at = PositionOf(text, esperanto);
    if (!at) {
        return false;
    }
    Word& word = m_words[*at];
    if (word.lookups != std::uint32_t(-1)) {
        ++word.lookups;
    }
    m_changes.push_back({ChangeKind::Lookup, Word{word.text, esperanto, 0, 0}});
    Changed();
    return true;
}

std::vector<std::size_t> WordList::Sorted(SortOrder order) const {
    std::vector<std::size_t> positions(m_words.size());
    for (std::size_t i = 0; i < positions.size(); ++i) {
        positions[i] = i;
    }
    if (order == SortOrder::Lookups) {
        std::stable_sort(positions.begin(), positions.end(), [&](std::size_t a, std::size_t b) {
            return m_words[a].lookups > m_words[b].lookups;
        });
    } else if (order == SortOrder::Alphabetical) {
        std::vector<std::string> keys;
        keys.reserve(m_words.size());
        for (const Word& word : m_words) {
            keys.push_back(to_index_key(platform::FromUtf8(word.text)));
        }
        const x_less esperantoOrder;
        const my_less russianOrder;
        std::stable_sort(positions.begin(), positions.end(), [&](std::size_t a, std::size_t b) {
            const bool eoA = m_words[a].esperanto;
            if (eoA != m_words[b].esperanto) {
                return eoA;
            }
            const pro_less& ordering = eoA ? static_cast<const pro_less&>(esperantoOrder)
                                           : static_cast<const pro_less&>(russianOrder);
            return ordering.less(keys[a], keys[b]);
        });
    }
    return positions;
}

std::vector<std::size_t> WordList::Filtered(const std::vector<std::size_t>& positions,
                                            std::u16string_view typed) const {
    const std::string query = to_index_key(typed);
    if (query.empty()) {
        return positions;
    }
    const x_less esperantoOrder;
    const my_less russianOrder;
    std::vector<std::size_t> kept;
    for (const std::size_t at : positions) {
        const Word& word = m_words[at];
        const pro_less& ordering = word.esperanto ? static_cast<const pro_less&>(esperantoOrder)
                                                  : static_cast<const pro_less&>(russianOrder);
        if (ordering.matches(query, to_index_key(platform::FromUtf8(word.text)))) {
            kept.push_back(at);
        }
    }
    return kept;
}

} // namespace wordlist
