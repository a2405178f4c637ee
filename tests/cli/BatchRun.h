// A `kestrum batch` run watched as it goes: its stderr read line by line while it
// runs, so that a test can act on a page's start line (the page and its worker's
// process id) before the run ends.
#pragma once

#include <csignal>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace kestrum::testing {

class BatchRun {
public:
    explicit BatchRun(const std::vector<std::string>& arguments) {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(fds[1], STDERR_FILENO);
            close(fds[0]);
            close(fds[1]);
            std::vector<char*> argv = {const_cast<char*>(KESTRUM_CLI_PATH), const_cast<char*>("batch")};
            for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(fds[1]);
        err_ = fdopen(fds[0], "r");
    }
    ~BatchRun() {
        if (pid_ > 0 && exitCode_ < 0) Wait();
    }
    BatchRun(const BatchRun&) = delete;
    BatchRun& operator=(const BatchRun&) = delete;

    pid_t Pid() const { return pid_; }

    // The next line of stderr, without its newline; false at the end.
    bool ReadLine(std::string& line) {
        line.clear();
        if (!err_) return false;
        for (int c; (c = std::fgetc(err_)) != EOF;) {
            if (c == '\n') {
                stderr_ += line + "\n";
                return true;
            }
            line += static_cast<char>(c);
        }
        stderr_ += line;
        return !line.empty();
    }

    // Reads stderr up to the line that starts `file`, and gives its worker's process id.
    pid_t WorkerOf(const std::string& file) {
        const std::string start = "batch: start " + file + " (worker ";
        for (std::string line; ReadLine(line);)
            if (line.rfind(start, 0) == 0) return static_cast<pid_t>(std::stol(line.substr(start.size())));
        return -1;
    }

    // Reads the rest of stderr and gives the exit code (-1 for a signal).
    int Wait() {
        for (std::string line; ReadLine(line);) {}
        if (err_) std::fclose(err_);
        err_ = nullptr;
        int status = 0;
        waitpid(pid_, &status, 0);
        exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return exitCode_;
    }

    // All of stderr read so far.
    const std::string& Stderr() const { return stderr_; }

private:
    pid_t pid_ = -1;
    std::FILE* err_ = nullptr;
    std::string stderr_;
    int exitCode_ = -1;
};

}  // namespace kestrum::testing
