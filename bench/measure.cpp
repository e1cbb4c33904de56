// korvanel_measure: runs one command and reports its wall time and the
// resources the child used.
//
//   korvanel_measure [--dir DIR] [--stdout FILE] -- COMMAND [ARGS...]
//
// The command runs in DIR (default: here) with standard input from
// /dev/null and standard output to FILE (default: /dev/null). Prints one
// line: wall seconds, user seconds, system seconds, peak resident memory in
// kilobytes, and the exit status (128 + signal number when killed).
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

double seconds(const timeval& time) { return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6; }

int usage() {
    std::fputs("usage: korvanel_measure [--dir DIR] [--stdout FILE] -- COMMAND [ARGS...]\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const char* dir = nullptr;
    const char* output = "/dev/null";
    int first = 1;
    for (; first < argc; ++first) {
        const std::string_view option = argv[first];
        if (option == "--") {
            ++first;
            break;
        }
        if (option == "--dir" && first + 1 < argc) {
            dir = argv[++first];
        } else if (option == "--stdout" && first + 1 < argc) {
            output = argv[++first];
        } else {
            return usage();
        }
    }
    if (first >= argc) return usage();
    std::vector<char*> command(argv + first, argv + argc);
    command.push_back(nullptr);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return 1;
    }
    if (child == 0) {
        if (dir != nullptr && chdir(dir) != 0) _exit(126);
        const int in = open("/dev/null", O_RDONLY);
        const int out = open(output, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0) _exit(126);
        execvp(command[0], command.data());
        _exit(127);
    }
    int status = 0;
    rusage usage_of_child{};
    if (wait4(child, &status, 0, &usage_of_child) < 0) {
        std::perror("wait4");
        return 1;
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const int exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::printf("%.4f %.4f %.4f %ld %d\n", wall, seconds(usage_of_child.ru_utime), seconds(usage_of_child.ru_stime),
                usage_of_child.ru_maxrss, exit_status);
    return 0;
}
