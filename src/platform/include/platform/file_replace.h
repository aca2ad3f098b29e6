// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Replacing a file whole: a new version is written beside it, made durable and
// renamed over the old one, so that a reader finds either the old file or the
// new one, never a mixture.
//
// The new version is created under a fresh random name in the target's own
// folder, and only as a new file: an existing name, and above all a link
// someone else planted there, is never opened or followed.

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

namespace platform {

// A new file in the folder of the file it will replace, named
// ".NAME.tmp" and random letters. The destructor removes it unless it was put
// in place or kept.
class NewFile {
public:
    NewFile() = default;
    ~NewFile();
    NewFile(NewFile&& other) noexcept;
    NewFile& operator=(NewFile&& other) noexcept;
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    // Creates the new, empty file for the narrow path `target`. False, with
    // errno telling why, when it cannot be made.
    bool Create(std::string_view target);

    // The open file, for writing; null before Create and after Finish.
    std::FILE* Stream() const { return m_stream; }
    // Writes all the bytes; false when the file did not take them.
    bool Write(std::string_view bytes);
    // Writes out the buffers, has the system put the file on the disk and
    // closes it; false when any of it failed.
    bool Finish();
    // Finish (unless done), then the rename over the target, made durable.
    bool PutInPlace();
    // The file stays when this object ends: its caller renames it later.
    void Keep() { m_kept = true; }

    const std::string& Path() const { return m_path; }
    const std::string& Target() const { return m_target; }

private:
    void Discard() noexcept;

    std::string m_path;
    std::string m_target;
    std::FILE* m_stream = nullptr;
    bool m_kept = false;
};

// The prefix of the names NewFile gives the temporary files of a file named
// `name` (".NAME.tmp"); random letters follow it.
std::string TemporaryPrefix(std::string_view name);

// Removes what a program killed while it wrote `target` left behind: the
// regular files NewFile names for it (".NAME.tmp" and its random letters)
// last written more than `age` ago. A younger one may be another program's,
// still being written, and is left; so are links and anything else.
void RemoveStaleTemporaries(std::string_view target, std::chrono::seconds age);

// Flushes the stream's buffers and has the system write the file to the disk.
bool FlushToDisk(std::FILE* file);

// Has the system write a folder's entries (renames, removals) to the disk.
bool SyncFolder(std::string_view folder);

// Renames a file at a narrow path to another in the same folder, replacing
// the target in one step, and makes the rename durable.
bool ReplaceFile(std::string_view from, std::string_view to);

// Removes the file at a narrow path; false when there was none or it could not go.
bool RemoveFile(std::string_view path);

} // namespace platform
