// Runs the built program in a directory, as the user who runs the tests or as an unprivileged one.
#ifndef SETWIN_TESTS_TOOL_RUNNER_H
#define SETWIN_TESTS_TOOL_RUNNER_H

#include <string>
#include <vector>

struct tool_run {
    std::string standard_output;
    std::string standard_error;
    int exit_status = -1;   // -1 when the program did not exit by itself
    bool timed_out = false;
};

struct run_options {
    bool unprivileged = false;   // as the user "nobody" when the tests run as root
    std::vector<std::string> environment;  // NAME=value settings added to the environment
    long address_space_limit = 0;          // bytes of address space, 0 for no limit
};

// Runs command (program and leading arguments) followed by arguments, in directory.
tool_run run_in_directory(const std::vector<std::string> &command, const std::string &directory,
                          const std::vector<std::string> &arguments, const run_options &options);

#endif
