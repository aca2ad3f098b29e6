// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/process.h"

#include "support/temp_dir.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

ProcessOutcome RunProcess(const std::vector<std::string>& argv, const std::string& input) {
    return RunProcess(argv, input, IsolatedEnvironment());
}

ProcessOutcome RunProcess(const std::vector<std::string>& argv, const std::string& input,
                          const IsolatedEnvironment& environment) {
    TempDir io;
    WriteBytes(io.File("in"), input);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, io.File("in").c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, io.File("out").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, io.File("err").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    const ExecEnvironment variables(environment);

    ProcessOutcome outcome;
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), variables.Get()) == 0) {
        int raw = 0;
        waitpid(pid, &raw, 0);
        outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        outcome.signaled = WIFSIGNALED(raw);
    }
    posix_spawn_file_actions_destroy(&actions);
    outcome.out = ReadBytes(io.File("out"));
    outcome.err = ReadBytes(io.File("err"));
    return outcome;
}

} // namespace testing_support
