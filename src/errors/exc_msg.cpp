// SPDX-License-Identifier: GPL-2.0-or-later
#include "errors/exc_msg.h"

#include "platform/code_page.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

void RaiseMsg(const char* format, ...) {
    char narrow[1024];
    std::va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(narrow, sizeof narrow, format, args);
    va_end(args);
    if (written < 0) {
        narrow[0] = '\0';
    }

    char16_t wide[1024];
    const std::size_t units = platform::MultiByteToWide(
        platform::kAnsiCodePage, narrow, std::strlen(narrow), wide, sizeof wide / sizeof *wide - 1);
    wide[units] = u'\0';
    throw cExcMsg(wide);
}
