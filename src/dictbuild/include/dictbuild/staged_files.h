// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Writing a dictionary folder all or nothing. New files are written under
// temporary names in the folder and put in place together by a commit whose
// journal (dictbuild/commit_journal.h) makes the renames finish even when the
// process is killed among them: whoever next imports into the folder, or
// starts a program on it, finishes them first. An import holds the folder's
// lock from start to end, so two imports never write one folder together.

#include "platform/file_lock.h"
#include "platform/file_replace.h"

#include <filesystem>
#include <string>
#include <vector>

// The lock file's name in the dictionary folder.
inline constexpr const char* kImportLockName = ".kelimbo-import.lock";

// The environment variable that makes a commit end its process, as a kill
// would, after that many of its renames (0: before the journal's own, 1: after
// it, 2 and on: after each file's). For the tests of an interrupted commit.
inline constexpr const char* kExitAfterRenameVariable = "KELIMBO_TEST_EXIT_AFTER_RENAME";

class StagedFiles {
public:
    explicit StagedFiles(std::filesystem::path dir);
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    // Writes `bytes` as the new file `name` of the folder, under a temporary
    // name, and makes it durable. Throws std::runtime_error.
    void Write(const std::string& name, const std::string& bytes);

    // Takes a new file of the folder that its writer made and finished
    // (NewFile::Finish), to be put in place with the others.
    void Add(platform::NewFile file);

    const std::filesystem::path& Folder() const { return m_dir; }

    // Puts every written file in place: the journal first, then the renames,
    // then the journal goes. Until the journal is in place nothing has
    // changed, and a failure throws with every temporary file removed; after
    // it, a failed rename throws and leaves the journal for the next import
    // or start to finish. Throws std::runtime_error.
    void Commit();

private:
    std::filesystem::path m_dir;
    std::vector<platform::NewFile> m_files;
};

// A dictionary folder held for an import from its start to its end: the
// folder is made when missing and its lock taken; then a commit a killed
// import left is finished, and the temporary files and backups of killed
// imports are removed. Throws std::runtime_error with a message for the user
// when another import holds the lock, the lock file cannot be used (a link, a
// FIFO), or a journal is there that is refused or cannot be finished; the
// folder's files are then left as they are.
class ImportLock {
public:
    explicit ImportLock(const std::filesystem::path& folder);

private:
    platform::FileLock m_lock;
};

// What a program reading the folder does at start: when a killed import left
// a commit half done, finishes it (waiting a moment for an import that is
// still committing). Returns a message for the user when a commit was left
// that cannot be finished, or is refused; empty otherwise.
std::string FinishInterruptedCommit(const std::string& folder);
