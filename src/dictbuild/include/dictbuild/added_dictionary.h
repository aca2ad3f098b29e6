// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Adding, replacing and removing the dictionaries of DATA/dictionaries/
// (articles/dictionary_set.h). Each change holds that folder's import lock
// from start to end. A new dictionary is written whole into a fresh staging
// folder beside its place, ".NAME.new-XXXXXX", and published by one rename
// (or, over an existing one, one exchange of the two folders), so a reader
// finds the old dictionary or the new one, never a part of one. The staging
// folders of killed imports start with '.', which no dictionary's name does:
// lists pass them over, and the next change removes them.

#include "dictbuild/dictionary_direction.h"
#include "platform/file_lock.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The dictionaries folder of a data folder held for a change: made when
// missing, its lock taken, the leftovers of killed changes removed. Throws
// std::runtime_error when another change holds the lock.
class DictionariesLock {
public:
    explicit DictionariesLock(std::string_view dataFolder);
    const std::filesystem::path& Folder() const { return m_folder; }

private:
    std::filesystem::path m_folder;
    platform::FileLock m_lock;
};

class NewDictionary {
public:
    // Takes the lock and makes the staging folder. Throws std::runtime_error
    // for a name refused (DictionaryNameProblem) or, unless `replace`, one a
    // dictionary already has.
    NewDictionary(std::string_view dataFolder, std::string name, bool replace);
    // Removes the staging folder unless the dictionary was published.
    ~NewDictionary();
    NewDictionary(const NewDictionary&) = delete;
    NewDictionary& operator=(const NewDictionary&) = delete;

    // The folder the new dictionary's files are written into.
    const std::filesystem::path& Staging() const { return m_staging; }
    // Whether a dictionary of this name was there when the change began.
    bool Replacing() const { return m_replacing; }

    // Keeps the existing dictionary's files of a direction, when it has them,
    // in the new one (an import of one direction leaves the other as it was).
    void KeepDirection(Language language);

    // Puts the new dictionary in place, removes the old one, and names a new
    // dictionary last in the order file. Throws std::runtime_error when the
    // dictionary could not be put in place.
    void Publish();
    // Why the order file could not name the published dictionary; empty when
    // it does. The dictionary is listed after the ordered ones all the same.
    const std::string& OrderProblem() const { return m_orderProblem; }

private:
    std::string m_dataFolder;
    DictionariesLock m_lock;
    std::string m_name;
    std::filesystem::path m_target;
    std::filesystem::path m_staging;
    bool m_replacing = false;
    bool m_published = false;
    std::string m_orderProblem;
};

// Removes a dictionary and its line of the order file. Throws
// std::runtime_error when there is none of that name.
void RemoveDictionary(std::string_view dataFolder, const std::string& name);

// Puts the named dictionaries first, in the given order, and switches them
// on; the others keep their order and switches after them. Throws
// std::runtime_error naming a name that is no dictionary's.
void OrderDictionaries(std::string_view dataFolder, const std::vector<std::string>& names);

// Switches a dictionary on or off. Throws std::runtime_error when there is
// none of that name.
void EnableDictionary(std::string_view dataFolder, const std::string& name, bool enabled);
