// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The numbers of a dictd .index: base 64 with the most significant digit
// first, no padding, digits A–Z a–z 0–9 + / for 0 to 63 ("B" is 1, "BA" 64).

#include <cstdint>
#include <optional>
#include <string_view>

namespace formats {

// nullopt for an empty text, a character outside the digits, or a value
// beyond 64 bits.
std::optional<std::uint64_t> DecodeDictdNumber(std::string_view digits);

} // namespace formats
