// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The orderings done the plain way, step by step on copies of the strings, as
// a yardstick for the index's own fast versions.

#include <string>
#include <vector>

namespace reference {

enum class Language { Russian, Esperanto };

bool RuCharLess(unsigned char x, unsigned char y);
int Compare(Language language, const std::string& a, const std::string& b);
bool Less(Language language, const std::string& a, const std::string& b);
// The string without the ignored punctuation of the Esperanto order.
std::string Stripped(const std::string& s);
// The headword begins with the query.
bool Matches(Language language, const std::string& query, const std::string& headword);

} // namespace reference
