// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// File reads, writes and seeks that raise cExcMsg when they come up short,
// naming the file through fileContext, one per process.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// Names the file in use, in the words the messages need ("индекса:\n \"path\"").
// Set by the user of a file once it is open, cleared after a clean close, left
// as it was by a failure. One per process, defined beside the checked
// operations that read it.
extern std::string fileContext;

void SetFileContext(const char* text);

// fread; any count other than `count` raises "Ошибка при чтении файла %s".
std::size_t ReadChecked(void* buffer, std::size_t size, std::size_t count, std::FILE* file);

// fwrite; any count other than `count` raises "Ошибка при записи файла %s".
std::size_t WriteChecked(const void* buffer, std::size_t size, std::size_t count, std::FILE* file);

// fseek; a failure raises the reading message, there is no message of its own.
void SeekChecked(std::FILE* file, std::int32_t offset, int origin);
