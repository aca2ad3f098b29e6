// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Cutting an entry that is longer than one article span into consecutive
// articles.

#include "dictbuild/dictionary_direction.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The entry (UTF-8 as the direction's source form holds it, marks included)
// cut into pieces whose encoded form in the direction's file is at most
// `maxBytes` long. Pieces end at line ends, the line end itself left out; a
// line that alone is too long is cut between words, a word that alone is too
// long between characters. Joined by line ends the pieces give the entry
// back, save that a cut between words turns that space into a line end.
std::vector<std::string> SplitIntoSpans(Language language, std::string_view entry,
                                        std::size_t maxBytes);

// The bytes the text takes in the direction's file.
std::size_t EncodedSize(Language language, std::string_view utf8);
