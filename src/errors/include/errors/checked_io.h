// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// File reads, writes and seeks that raise cExcMsg when they come up short,
// naming the file through the error context of the object that reads it: the
// words the messages need ("индекса:\n \"path\""), kept by that reader and
// passed to every operation.

#include <cstddef>
#include <cstdint>
#include <cstdio>

// fread; any count other than `count` raises "Ошибка при чтении файла %s".
std::size_t ReadChecked(void* buffer, std::size_t size, std::size_t count, std::FILE* file,
                        const char* context);

// fwrite; any count other than `count` raises "Ошибка при записи файла %s".
std::size_t WriteChecked(const void* buffer, std::size_t size, std::size_t count, std::FILE* file,
                         const char* context);

// fseek; a failure raises the reading message, there is no message of its own.
void SeekChecked(std::FILE* file, std::int32_t offset, int origin, const char* context);
