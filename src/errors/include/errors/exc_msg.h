// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The program's one exception: a ready-made Russian message as UTF-16 text.

#include <exception>
#include <string>

class cExcMsg : public std::exception {
public:
    // Copies the text up to its terminator.
    explicit cExcMsg(const char16_t* msg) : m_msg(msg) {}
    virtual const char16_t* GetMsg() const { return m_msg.c_str(); }

private:
    std::u16string m_msg;
};

// Formats a narrow (Windows-1251) printf-style format with its arguments into a
// bounded buffer, converts it to UTF-16 and throws it as cExcMsg. Text beyond
// 1023 bytes is cut; nothing ever overflows.
[[noreturn]] void RaiseMsg(const char* format, ...);
