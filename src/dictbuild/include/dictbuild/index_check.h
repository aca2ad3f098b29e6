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
};

// Loads the index as the program does (records inside their blocks), then checks
// the ascending order, that every headword is found by its own text and, with
// the text file, that every reference lies inside it and is at most 2048 bytes.
IndexCheck CheckIndex(Language language, const std::string& indexPath,
                      const std::optional<std::filesystem::path>& textFile);
