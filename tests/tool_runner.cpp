#include "tool_runner.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

constexpr uid_t NOBODY = 65534;
constexpr auto TIME_LIMIT = std::chrono::seconds(30);

[[noreturn]] void run_child(const std::vector<std::string> &command, const std::string &directory,
                            const std::vector<std::string> &arguments, const run_options &options,
                            int output_pipe, int error_pipe)
{
    dup2(output_pipe, STDOUT_FILENO);
    dup2(error_pipe, STDERR_FILENO);
    const int no_input = open("/dev/null", O_RDONLY);
    dup2(no_input, STDIN_FILENO);
    if (chdir(directory.c_str()) != 0)
        _exit(126);
    if (options.address_space_limit != 0) {
        const rlimit limit{static_cast<rlim_t>(options.address_space_limit),
                           static_cast<rlim_t>(options.address_space_limit)};
        if (setrlimit(RLIMIT_AS, &limit) != 0)
            _exit(126);
    }
    if (options.unprivileged && geteuid() == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(NOBODY) != 0 || setuid(NOBODY) != 0)
            _exit(126);
    }
    for (const std::string &setting : options.environment)
        putenv(const_cast<char *>(setting.c_str()));

    std::vector<char *> vector;
    for (const std::string &word : command)
        vector.push_back(const_cast<char *>(word.c_str()));
    for (const std::string &word : arguments)
        vector.push_back(const_cast<char *>(word.c_str()));
    vector.push_back(nullptr);
    execv(vector[0], vector.data());
    _exit(127);
}

}  // namespace

tool_run run_in_directory(const std::vector<std::string> &command, const std::string &directory,
                          const std::vector<std::string> &arguments, const run_options &options)
{
    tool_run result;
    int output_pipe[2];
    int error_pipe[2];
    if (pipe2(output_pipe, O_CLOEXEC) != 0 || pipe2(error_pipe, O_CLOEXEC) != 0)
        return result;

    const pid_t child = fork();
    if (child == 0)
        run_child(command, directory, arguments, options, output_pipe[1], error_pipe[1]);
    close(output_pipe[1]);
    close(error_pipe[1]);

    const auto deadline = std::chrono::steady_clock::now() + TIME_LIMIT;
    pollfd streams[2] = {{output_pipe[0], POLLIN, 0}, {error_pipe[0], POLLIN, 0}};
    std::string *texts[2] = {&result.standard_output, &result.standard_error};
    int open_streams = 2;
    while (open_streams > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            result.timed_out = true;
            kill(child, SIGKILL);
            break;
        }
        if (poll(streams, 2, static_cast<int>(left.count())) < 0)
            break;
        for (int index = 0; index < 2; ++index) {
            if (streams[index].fd < 0 || streams[index].revents == 0)
                continue;
            char block[4096];
            const ssize_t count = read(streams[index].fd, block, sizeof block);
            if (count > 0) {
                texts[index]->append(block, static_cast<std::size_t>(count));
            } else {
                close(streams[index].fd);
                streams[index].fd = -1;
                --open_streams;
            }
        }
    }
    for (const pollfd &stream : streams) {
        if (stream.fd >= 0)
            close(stream.fd);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status) && !result.timed_out)
        result.exit_status = WEXITSTATUS(status);
    return result;
}
