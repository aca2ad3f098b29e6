// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// UTF-16 text between the program's wide strings and the toolkit's QString.

#include <QString>

#include <string>
#include <string_view>

namespace fw::detail {

inline QString ToQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

inline std::u16string FromQString(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

} // namespace fw::detail
