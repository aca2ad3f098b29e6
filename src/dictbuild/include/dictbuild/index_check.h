// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Verifying a headword index against everything its format promises.

#include "dictbuild/dictionary_direction.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct IndexCheck {
    std::size_t headwords = 0;
    std::size_t references = 0;
    std::size_t problemCount = 0;      // all problems found
    std::vector<std::string> problems; // the first kMaxListed of them, UTF-8
    static constexpr std::size_t kMaxListed = 20;
    // The index loaded and records no identity of its text, as indexes made
    // before they did: not a problem, but its text cannot be checked.
    bool withoutIdentity = false;
};

// Loads the index as the program does (records inside their blocks), then checks
// the ascending order, that every headword is found by its own text and, with
// the text file, that every reference lies inside it and is at most 2048 bytes,
// and that it is the text the index was made for: its size and the hash of all
// of it are those the index records.
IndexCheck CheckIndex(Language language, const std::string& indexPath,
                      const std::optional<std::filesystem::path>& textFile);
