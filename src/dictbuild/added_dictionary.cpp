// SPDX-License-Identifier: GPL-2.0-or-later
#include "dictbuild/added_dictionary.h"

#include "articles/dictionary_files.h"
#include "articles/dictionary_set.h"
#include "dictbuild/staged_files.h"
#include "platform/file_replace.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

constexpr const char* kStagingMark = ".new-";
constexpr const char* kRemovedMark = ".old-";

std::string SystemError() {
    return std::strerror(errno);
}

// Whether a name in the dictionaries folder is what a killed change left: a
// staging folder, a dictionary on its way out, the order file's temporary.
bool IsLeftover(const std::string& name) {
    if (!name.starts_with('.')) {
        return false;
    }
    return name.find(kStagingMark) != std::string::npos ||
           name.find(kRemovedMark) != std::string::npos ||
           name.starts_with(platform::TemporaryPrefix(kOrderFileName));
}

void RemoveLeftovers(const fs::path& folder) {
    std::vector<fs::path> leftovers;
    std::error_code unreadable;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, unreadable)) {
        if (IsLeftover(entry.path().filename().string())) {
            leftovers.push_back(entry.path());
        }
    }
    for (const fs::path& path : leftovers) {
        std::error_code ignored;       // what cannot go stays, and nothing reads it
        fs::remove_all(path, ignored); // a link goes itself, never what it points at
    }
}

// A fresh, empty folder ".NAME" + mark + random letters beside the
// dictionaries, readable by all as a dictionary is.
fs::path FreshFolder(const fs::path& folder, const std::string& name, const char* mark) {
    std::string pattern = (folder / ("." + name + mark + "XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a folder in " + folder.string() + ": " +
                                 SystemError());
    }
    ::chmod(pattern.c_str(), 0755);
    return pattern;
}

bool IsFolder(const fs::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

void RequireName(const std::string& name) {
    if (const std::string problem = DictionaryNameProblem(name); !problem.empty()) {
        throw std::runtime_error(problem);
    }
}

// The dictionary folder of a name, refused when the name is.
fs::path TargetOf(const fs::path& folder, const std::string& name) {
    RequireName(name);
    return folder / name;
}

// The data folder, once the name is known to be one a dictionary may take:
// a refused name never takes the lock or makes a folder.
std::string_view CheckedData(std::string_view dataFolder, const std::string& name) {
    RequireName(name);
    return dataFolder;
}

DictionaryList ExistingDictionary(std::string_view dataFolder, const std::string& name,
                                  const fs::path& target) {
    DictionaryList list = ListDictionaries(dataFolder);
    const bool known = std::any_of(list.dictionaries.begin(), list.dictionaries.end(),
                                   [&](const AddedDictionary& d) { return d.name == name; });
    if (!known) {
        throw std::runtime_error("there is no dictionary named " + name + " (" + target.string() +
                                 ")");
    }
    return list;
}

} // namespace

DictionariesLock::DictionariesLock(std::string_view dataFolder)
    : m_folder(DictionariesFolderOf(dataFolder)) {
    std::error_code failed;
    fs::create_directories(m_folder, failed);
    if (failed) {
        throw std::runtime_error("cannot make " + m_folder.string() + ": " + failed.message());
    }
    const fs::path path = m_folder / kImportLockName;
    switch (m_lock.Lock(path.string())) {
    case platform::LockResult::Held:
        RemoveLeftovers(m_folder);
        return;
    case platform::LockResult::Busy:
        throw std::runtime_error("another command is changing the dictionaries of " +
                                 m_folder.string() + " (it holds " + path.string() +
                                 "); try again when it has ended");
    case platform::LockResult::Unusable:
        break;
    }
    throw std::runtime_error("cannot use the lock file " + path.string() + ": " + SystemError() +
                             " (it must be a regular file, not a link)");
}

NewDictionary::NewDictionary(std::string_view dataFolder, std::string name, bool replace)
    : m_dataFolder(dataFolder), m_lock(CheckedData(dataFolder, name)), m_name(std::move(name)),
      m_target(m_lock.Folder() / m_name) {
    struct stat status {};
    if (::lstat(m_target.c_str(), &status) == 0) {
        if (!S_ISDIR(status.st_mode)) {
            throw std::runtime_error(m_target.string() +
                                     " is there and is not a folder; it is left as it is");
        }
        if (!replace) {
            throw std::runtime_error("a dictionary named " + m_name + " exists (" +
                                     m_target.string() + "); --replace replaces it");
        }
        m_replacing = true;
    }
    m_staging = FreshFolder(m_lock.Folder(), m_name, kStagingMark);
}

NewDictionary::~NewDictionary() {
    if (!m_published) {
        std::error_code ignored;
        fs::remove_all(m_staging, ignored);
    }
}

void NewDictionary::KeepDirection(Language language) {
    if (!m_replacing) {
        return;
    }
    const DictionaryFiles files = FilesOf(language);
    for (const char* file : {files.text, files.index, files.fulltext}) {
        const fs::path from = m_target / file;
        if (!fs::is_regular_file(fs::symlink_status(from))) {
            continue;
        }
        // The files are only ever replaced whole, never written in place, so
        // the old dictionary and the new one may share them.
        std::error_code unlinkable;
        fs::create_hard_link(from, m_staging / file, unlinkable);
        if (unlinkable) {
            fs::copy_file(from, m_staging / file);
        }
    }
}

void NewDictionary::Publish() {
    if (m_replacing && IsFolder(m_target)) {
        // One step: the new folder takes the name, the old one the staging
        // folder's.
        if (::renameat2(AT_FDCWD, m_staging.c_str(), AT_FDCWD, m_target.c_str(), RENAME_EXCHANGE) !=
            0) {
            if (errno != EINVAL && errno != ENOSYS) {
                throw std::runtime_error("cannot put " + m_target.string() +
                                         " in place: " + SystemError());
            }
            // A file system without the exchange: the old folder goes aside
            // first. A kill between the two renames leaves no dictionary of
            // this name, never a part of one.
            const fs::path aside = FreshFolder(m_lock.Folder(), m_name, kRemovedMark);
            if (std::rename(m_target.c_str(), aside.c_str()) != 0 ||
                std::rename(m_staging.c_str(), m_target.c_str()) != 0) {
                throw std::runtime_error("cannot put " + m_target.string() +
                                         " in place: " + SystemError());
            }
            m_staging = aside;
        }
        platform::SyncFolder(m_lock.Folder().string());
        m_published = true;
        std::error_code ignored; // what cannot go now, the next change removes
        fs::remove_all(m_staging, ignored);
        return;
    }
    if (std::rename(m_staging.c_str(), m_target.c_str()) != 0) {
        throw std::runtime_error("cannot put " + m_target.string() + " in place: " + SystemError());
    }
    platform::SyncFolder(m_lock.Folder().string());
    m_published = true;
    try {
        AddToDictionaryOrder(m_dataFolder, m_name);
    } catch (const std::runtime_error& e) {
        // The dictionary is in place and listed by its name all the same.
        m_orderProblem = e.what();
    }
}

void RemoveDictionary(std::string_view dataFolder, const std::string& name) {
    const DictionariesLock lock(dataFolder);
    const fs::path target = TargetOf(lock.Folder(), name);
    DictionaryList list = ExistingDictionary(dataFolder, name, target);
    // Aside in one step, then removed: a kill in the removal leaves a folder
    // that no list shows and the next change removes.
    const fs::path aside = FreshFolder(lock.Folder(), name, kRemovedMark);
    if (std::rename(target.c_str(), aside.c_str()) != 0) {
        const std::string why = SystemError();
        std::error_code ignored;
        fs::remove(aside, ignored);
        throw std::runtime_error("cannot remove " + target.string() + ": " + why);
    }
    platform::SyncFolder(lock.Folder().string());
    std::erase_if(list.dictionaries, [&](const AddedDictionary& d) { return d.name == name; });
    WriteDictionaryOrder(dataFolder, OrderOf(list));
    std::error_code ignored;
    fs::remove_all(aside, ignored);
}

void OrderDictionaries(std::string_view dataFolder, const std::vector<std::string>& names) {
    const DictionariesLock lock(dataFolder);
    const DictionaryList list = ListDictionaries(dataFolder);
    std::vector<OrderEntry> rest = OrderOf(list);
    std::vector<OrderEntry> entries;
    for (const std::string& name : names) {
        const auto found = std::find_if(rest.begin(), rest.end(),
                                        [&](const OrderEntry& e) { return e.name == name; });
        if (found == rest.end()) {
            const bool twice = std::any_of(entries.begin(), entries.end(),
                                           [&](const OrderEntry& e) { return e.name == name; });
            throw std::runtime_error(twice ? name + " is named twice"
                                           : "there is no dictionary named " + name);
        }
        entries.push_back({name, true});
        rest.erase(found);
    }
    entries.insert(entries.end(), rest.begin(), rest.end());
    WriteDictionaryOrder(dataFolder, entries);
}

void EnableDictionary(std::string_view dataFolder, const std::string& name, bool enabled) {
    const DictionariesLock lock(dataFolder);
    const fs::path target = TargetOf(lock.Folder(), name);
    std::vector<OrderEntry> entries = OrderOf(ExistingDictionary(dataFolder, name, target));
    for (OrderEntry& entry : entries) {
        if (entry.name == name) {
            entry.enabled = enabled;
        }
    }
    WriteDictionaryOrder(dataFolder, entries);
}
