// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Runs a program as a separate process and collects what it wrote and how it ended.

#include "support/isolated_environment.h"

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
// `input` on its standard input, in `environment`; without one, in a fresh
// isolated environment of its own.
ProcessOutcome RunProcess(const std::vector<std::string>& argv, const std::string& input = "");
ProcessOutcome RunProcess(const std::vector<std::string>& argv, const std::string& input,
                          const IsolatedEnvironment& environment);

} // namespace testing_support
