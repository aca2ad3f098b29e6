// SPDX-License-Identifier: GPL-2.0-or-later
#include "errors/checked_io.h"

#include "errors/exc_msg.h"
#include "platform/ansi_literal.h"

namespace {
constexpr auto kReadError = platform::Ansi(u8"Ошибка при чтении файла %s");
constexpr auto kWriteError = platform::Ansi(u8"Ошибка при записи файла %s");
} // namespace

std::size_t ReadChecked(void* buffer, std::size_t size, std::size_t count, std::FILE* file,
                        const char* context) {
    const std::size_t got = std::fread(buffer, size, count, file);
    if (got != count) {
        RaiseMsg(kReadError.c_str(), context);
    }
    return got;
}

std::size_t WriteChecked(const void* buffer, std::size_t size, std::size_t count, std::FILE* file,
                         const char* context) {
    const std::size_t put = std::fwrite(buffer, size, count, file);
    if (put != count) {
        RaiseMsg(kWriteError.c_str(), context);
    }
    return put;
}

void SeekChecked(std::FILE* file, std::int32_t offset, int origin, const char* context) {
    if (std::fseek(file, offset, origin) != 0) {
        RaiseMsg(kReadError.c_str(), context);
    }
}
