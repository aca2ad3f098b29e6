// SPDX-License-Identifier: GPL-2.0-or-later
#include "dictbuild/staged_files.h"

#include "articles/dictionary_files.h"
#include "dictbuild/commit_journal.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The files of a folder that are only ever replaced whole: what a killed
// command leaves of their new versions is removed by the next one.
constexpr std::string_view kTargets[] = {kEsperantoFiles.text,     kEsperantoFiles.index,
                                         kRussianFiles.text,       kRussianFiles.index,
                                         kEsperantoFiles.fulltext, kRussianFiles.fulltext};

// How long a starting program waits for an import in its last step.
constexpr std::chrono::milliseconds kStartWait(3000);

std::string SystemError() {
    return std::strerror(errno);
}

// The number of renames after which the commit ends its process, or -1.
long ExitAfterRenames() {
    const char* value = std::getenv(kExitAfterRenameVariable);
    long count = -1;
    if (value != nullptr) {
        std::from_chars(value, value + std::strlen(value), count);
    }
    return count;
}

void ExitIfAsked(long renamesDone, long exitAfter) {
    if (renamesDone == exitAfter) {
        ::kill(::getpid(), SIGKILL);
    }
}

// Whether the path names something, link or not; false when it does not exist.
// Throws for any other failure to look.
bool Exists(const fs::path& path, struct stat& status) {
    if (::lstat(path.c_str(), &status) == 0) {
        return true;
    }
    if (errno == ENOENT || errno == ENOTDIR) {
        return false;
    }
    throw std::runtime_error("cannot look at " + path.string() + ": " + SystemError());
}

// The journal's bytes, read without following a link or blocking on a FIFO.
// Throws std::runtime_error saying why it cannot be read.
std::string ReadJournal(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        throw std::runtime_error("cannot be read (" + SystemError() + ")");
    }
    std::string bytes;
    struct stat status {};
    const bool regular = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    ssize_t got = 0;
    if (regular) {
        char buffer[kMaxCommitJournalBytes + 1];
        while (bytes.size() <= kMaxCommitJournalBytes &&
               (got = ::read(fd, buffer, sizeof buffer)) > 0) {
            bytes.append(buffer, static_cast<std::size_t>(got));
        }
    }
    const std::string error = SystemError();
    ::close(fd);
    if (!regular) {
        throw std::runtime_error("is not a regular file");
    }
    if (got < 0) {
        throw std::runtime_error("cannot be read (" + error + ")");
    }
    return bytes;
}

void Sync(const fs::path& folder) {
    if (!platform::SyncFolder(folder.string())) {
        throw std::runtime_error("cannot write the folder " + folder.string() +
                                 " to the disk: " + SystemError());
    }
}

// Carries out the renames of a journal left in the folder, then removes it.
// Every name is checked before the first rename, so a refused journal changes
// nothing. False when there was no journal.
bool RollForward(const fs::path& folder) {
    const fs::path journal = folder / kCommitJournalName;
    struct stat status {};
    if (!Exists(journal, status)) {
        return false;
    }
    std::vector<StagedRename> renames;
    try {
        renames = DecodeCommitJournal(ReadJournal(journal));
    } catch (const std::runtime_error& e) {
        throw std::runtime_error("the commit journal " + journal.string() + " " + e.what() +
                                 ": refused, the dictionary files are left as they are; "
                                 "remove the journal to import again");
    }
    std::vector<bool> pending;
    for (const StagedRename& rename : renames) {
        const fs::path temporary = folder / rename.temporary;
        const bool there = Exists(temporary, status);
        if (there && !S_ISREG(status.st_mode)) {
            throw std::runtime_error(temporary.string() +
                                     ", named by the commit journal, is not a regular file: "
                                     "refused; the dictionary files are left as they are");
        }
        pending.push_back(there); // a file that is gone was renamed before the kill
    }
    for (std::size_t i = 0; i < renames.size(); ++i) {
        if (pending[i] && std::rename((folder / renames[i].temporary).c_str(),
                                      (folder / renames[i].target).c_str()) != 0) {
            throw std::runtime_error("cannot put " + (folder / renames[i].target).string() +
                                     " in place: " + SystemError());
        }
    }
    Sync(folder);
    if (::unlink(journal.c_str()) != 0) {
        throw std::runtime_error("cannot remove " + journal.string() + ": " + SystemError());
    }
    Sync(folder);
    return true;
}

// Whether a name in the folder is a temporary file or a backup that an
// import killed before its end left behind.
bool IsLeftover(std::string_view name) {
    if (IsTemporaryNameOf(name, kCommitJournalName)) {
        return true;
    }
    for (const std::string_view target : kTargets) {
        if (IsTemporaryNameOf(name, target)) {
            return true;
        }
        // Backups "NAME.oldPID" of an earlier way of committing.
        const std::string old = std::string(target) + ".old";
        if (name.starts_with(old) && name.size() > old.size() &&
            name.find_first_not_of("0123456789", old.size()) == std::string_view::npos) {
            return true;
        }
    }
    return false;
}

void RemoveLeftovers(const fs::path& folder) {
    std::vector<fs::path> leftovers;
    std::error_code unreadable; // a folder that cannot be listed has nothing removed
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, unreadable)) {
        if (IsLeftover(entry.path().filename().native())) {
            leftovers.push_back(entry.path());
        }
    }
    // unlink removes a link itself, never what it points at. What cannot go
    // (a folder of such a name) stays: nothing ever reads it.
    for (const fs::path& path : leftovers) {
        ::unlink(path.c_str());
    }
}

} // namespace

StagedFiles::StagedFiles(fs::path dir) : m_dir(std::move(dir)) {}

void StagedFiles::Write(const std::string& name, const std::string& bytes) {
    const fs::path target = m_dir / name;
    platform::NewFile file;
    if (!file.Create(target.string())) {
        throw std::runtime_error("cannot create a new " + target.string() + ": " + SystemError());
    }
    if (!file.Write(bytes) || !file.Finish()) {
        throw std::runtime_error("cannot write " + file.Path() + ": " + SystemError());
    }
    m_files.push_back(std::move(file));
}

void StagedFiles::Add(platform::NewFile file) {
    if (file.Stream() != nullptr || file.Path().empty()) {
        throw std::logic_error("a staged file is finished before it is added");
    }
    m_files.push_back(std::move(file));
}

void StagedFiles::Commit() {
    const long exitAfter = ExitAfterRenames();
    std::vector<StagedRename> renames;
    for (const platform::NewFile& file : m_files) {
        renames.push_back({fs::path(file.Path()).filename().string(),
                           fs::path(file.Target()).filename().string()});
        // A folder in a target's place would stop its rename after the commit
        // is decided: it stops the commit before, with nothing changed.
        struct stat status {};
        if (Exists(file.Target(), status) && S_ISDIR(status.st_mode)) {
            throw std::runtime_error("cannot put " + file.Target() +
                                     " in place: a folder is there");
        }
    }
    // A commit left half done is finished first: its journal is replaced below.
    RollForward(m_dir);
    ExitIfAsked(0, exitAfter);
    platform::NewFile journal;
    const fs::path journalPath = m_dir / kCommitJournalName;
    if (!journal.Create(journalPath.string()) || !journal.Write(EncodeCommitJournal(renames)) ||
        !journal.PutInPlace()) {
        throw std::runtime_error("cannot write the commit journal " + journalPath.string() + ": " +
                                 SystemError());
    }
    // From here on the commit is decided: the temporary files belong to the
    // journal, and whoever finds it finishes the renames.
    for (platform::NewFile& file : m_files) {
        file.Keep();
    }
    ExitIfAsked(1, exitAfter);
    long done = 1;
    for (const StagedRename& rename : renames) {
        if (std::rename((m_dir / rename.temporary).c_str(), (m_dir / rename.target).c_str()) != 0) {
            throw std::runtime_error("cannot put " + (m_dir / rename.target).string() +
                                     " in place: " + SystemError() +
                                     "; the next import or start finishes it");
        }
        ExitIfAsked(++done, exitAfter);
    }
    Sync(m_dir);
    if (::unlink(journalPath.c_str()) != 0) {
        throw std::runtime_error("cannot remove " + journalPath.string() + ": " + SystemError());
    }
    Sync(m_dir);
    m_files.clear();
}

ImportLock::ImportLock(const fs::path& folder) {
    fs::create_directories(folder);
    const fs::path path = folder / kImportLockName;
    switch (m_lock.Lock(path.string())) {
    case platform::LockResult::Held:
        RollForward(folder);
        RemoveLeftovers(folder);
        return;
    case platform::LockResult::Busy:
        throw std::runtime_error("another import is writing into " + folder.string() +
                                 " (it holds " + path.string() + "); try again when it has ended");
    case platform::LockResult::Unusable:
        break;
    }
    throw std::runtime_error("cannot use the lock file " + path.string() + ": " + SystemError() +
                             " (it must be a regular file, not a link)");
}

std::string FinishInterruptedCommit(const std::string& folder) {
    const fs::path dir(folder.empty() ? std::string(".") : folder);
    try {
        struct stat status {};
        if (!Exists(dir / kCommitJournalName, status)) {
            return {};
        }
        if (::access(dir.c_str(), W_OK) != 0) {
            return "an import into " + dir.string() +
                   " was interrupted, and this user cannot write the folder to finish it";
        }
        platform::FileLock lock;
        switch (lock.Lock((dir / kImportLockName).string(), kStartWait)) {
        case platform::LockResult::Held:
            break;
        case platform::LockResult::Busy:
            return "an import into " + dir.string() + " is still writing its files";
        case platform::LockResult::Unusable:
            return "cannot use the lock file " + (dir / kImportLockName).string() + ": " +
                   SystemError();
        }
        RollForward(dir);
        return {};
    } catch (const std::exception& e) {
        return e.what();
    }
}
