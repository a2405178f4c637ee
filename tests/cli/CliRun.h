// Runs the command-line host as a separate program, the way a pipeline does.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrum::testing {

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string ReadPipe(FILE* pipe) {
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
    return text;
}

// Runs a shell command line and takes its stdout, stderr and exit code.
inline RunResult RunShell(const std::string& command) {
    RunResult result;
    char errPath[] = "/tmp/kestrum-cli-err-XXXXXX";
    int fd = mkstemp(errPath);
    if (fd < 0) return result;
    close(fd);
    FILE* pipe = popen((command + " 2>" + errPath).c_str(), "r");
    if (pipe) {
        result.out = ReadPipe(pipe);
        int status = pclose(pipe);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    if (FILE* err = fopen(errPath, "rb")) {
        result.err = ReadPipe(err);
        fclose(err);
    }
    remove(errPath);
    return result;
}

inline RunResult RunCli(const std::string& arguments) { return RunShell(std::string(KESTRUM_CLI_PATH) + " " + arguments); }

}  // namespace kestrum::testing
