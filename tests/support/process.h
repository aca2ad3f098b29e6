// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Runs a program as a separate process and collects what it wrote and how it ended.

#include <string>
#include <vector>

namespace testing_support {

struct ProcessOutcome {
    int status = -1; // exit status, or -1 when the process did not exit normally
    bool signaled = false;
    std::string out;
    std::string err;
};

// Runs argv[0] with the rest as arguments (no shell interprets them), with
// `input` on its standard input.
ProcessOutcome RunProcess(const std::vector<std::string>& argv, const std::string& input = "");

} // namespace testing_support
