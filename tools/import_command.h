// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// kelimbo-index import: another program's dictionary as one direction.

// Runs "import" with the arguments that follow it; returns the exit status
// (0 done, 1 failed, 2 usage).
int RunImportCommand(int argc, char** argv);

#include <optional>
#include <string>

// The data folder of the dictionaries a command adds or manages: the one
// given with --data, or the one the programs use.
std::string DataFolder(const std::optional<std::string>& given);
