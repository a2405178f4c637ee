#include "WorkerPool.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kTickMs = 100;

volatile sig_atomic_t stopSignal = 0;

void NoteStop(int signal) { stopSignal = signal; }

struct Worker {
    size_t job;
    pid_t pid;
    int pipe;  // read end: the job's answer, then end of file when its process ends
    Clock::time_point start;
    std::string said;
};

int64_t MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

void WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

// The job's process: it dies with the pool, so that no page goes on unwatched.
[[noreturn]] void RunChild(const Worker& self, const std::vector<Worker>& others, pid_t pool, const JobHandlers& handlers) {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != pool) _exit(127);
    for (const Worker& other : others) close(other.pipe);
    WriteAll(self.pipe, handlers.run(self.job));
    _exit(0);
}

JobOutcome Ended(Worker& worker, int status) {
    JobOutcome outcome;
    outcome.ms = MsSince(worker.start);
    outcome.worker = worker.pid;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        outcome.said = std::move(worker.said);
    } else {
        outcome.kind = JobOutcome::Died;
        if (WIFSIGNALED(status))
            outcome.signal = WTERMSIG(status);
        else
            outcome.exitCode = WEXITSTATUS(status);
    }
    return outcome;
}

JobOutcome Killed(Worker& worker, JobOutcome::Kind kind) {
    kill(worker.pid, SIGKILL);
    while (waitpid(worker.pid, nullptr, 0) < 0 && errno == EINTR) {}
    JobOutcome outcome;
    outcome.kind = kind;
    outcome.ms = MsSince(worker.start);
    outcome.worker = worker.pid;
    return outcome;
}

class Pool {
public:
    Pool(unsigned parallel, unsigned timeoutSeconds, const JobHandlers& handlers)
        : parallel_(parallel), timeout_(std::chrono::seconds(timeoutSeconds)), handlers_(handlers) {}

    bool Run(size_t count) {
        size_t next = 0;
        while (next < count || !running_.empty()) {
            if (stopSignal) {
                for (Worker& worker : running_) Finish(worker, Killed(worker, JobOutcome::Interrupted));
                running_.clear();
                return false;
            }
            while (running_.size() < parallel_ && next < count) Start(next++);
            Wait();
            handlers_.tick();
        }
        return true;
    }

private:
    void Start(size_t job) {
        std::fflush(stdout);
        std::fflush(stderr);
        int fds[2];
        pid_t pool = getpid();
        pid_t pid = -1;
        if (pipe(fds) == 0) {
            pid = fork();
            if (pid < 0) {
                close(fds[0]);
                close(fds[1]);
            }
        }
        if (pid < 0) {
            JobOutcome outcome;
            outcome.kind = JobOutcome::NotStarted;
            outcome.said = std::string("cannot start a worker: ") + std::strerror(errno);
            handlers_.finished(job, outcome);
            return;
        }
        Worker worker{job, pid, fds[0], Clock::now(), {}};
        if (pid == 0) {
            close(fds[0]);
            worker.pipe = fds[1];
            RunChild(worker, running_, pool, handlers_);
        }
        close(fds[1]);
        running_.push_back(std::move(worker));
        handlers_.started(job, pid);
    }

    // Takes what the workers wrote until the next tick, and ends those that are done or late.
    void Wait() {
        std::vector<pollfd> fds;
        for (const Worker& worker : running_) fds.push_back({worker.pipe, POLLIN, 0});
        if (poll(fds.data(), fds.size(), kTickMs) < 0 && errno != EINTR) return;
        std::vector<Worker> still;
        for (size_t i = 0; i < running_.size(); ++i) {
            Worker& worker = running_[i];
            bool ended = false;
            if (fds[i].revents) {
                char buffer[4096];
                ssize_t n = read(worker.pipe, buffer, sizeof buffer);
                if (n > 0)
                    worker.said.append(buffer, static_cast<size_t>(n));
                else
                    ended = n == 0 || errno != EINTR;
            }
            if (ended) {
                int status = 0;
                while (waitpid(worker.pid, &status, 0) < 0 && errno == EINTR) {}
                Finish(worker, Ended(worker, status));
            } else if (Clock::now() - worker.start > timeout_) {
                Finish(worker, Killed(worker, JobOutcome::TimedOut));
            } else {
                still.push_back(std::move(worker));
            }
        }
        running_ = std::move(still);
    }

    void Finish(Worker& worker, JobOutcome outcome) {
        close(worker.pipe);
        // Ctrl-C reaches the workers too: one that died of it was stopped, not crashed.
        if (stopSignal && outcome.kind == JobOutcome::Died) outcome.kind = JobOutcome::Interrupted;
        handlers_.finished(worker.job, outcome);
    }

    unsigned parallel_;
    Clock::duration timeout_;
    const JobHandlers& handlers_;
    std::vector<Worker> running_;
};

}  // namespace

bool RunJobs(size_t count, unsigned parallel, unsigned timeoutSeconds, const JobHandlers& handlers) {
    stopSignal = 0;
    struct sigaction stop {};
    stop.sa_handler = NoteStop;
    struct sigaction oldInt, oldTerm;
    sigaction(SIGINT, &stop, &oldInt);
    sigaction(SIGTERM, &stop, &oldTerm);
    bool whole = Pool(parallel, timeoutSeconds, handlers).Run(count);
    sigaction(SIGINT, &oldInt, nullptr);
    sigaction(SIGTERM, &oldTerm, nullptr);
    return whole;
}
