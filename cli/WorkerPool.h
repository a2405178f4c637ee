// Runs jobs each in a process of its own, a few at a time: a job that crashes or hangs
// takes only its own process with it, and the pool starts the next one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>

struct JobOutcome {
    enum Kind { Done, TimedOut, Died, NotStarted, Interrupted } kind = Done;
    std::string said;     // what the job's process wrote back (Done), or why it could not start
    int exitCode = 0;     // Died: the exit code, or 0 when `signal` is set
    int signal = 0;       // Died: the signal that ended the process
    int64_t ms = 0;       // from the start of the process to its end
    pid_t worker = 0;
};

struct JobHandlers {
    // Runs in the job's process; what it returns is handed back as JobOutcome::said.
    std::function<std::string(size_t job)> run;
    std::function<void(size_t job, pid_t worker)> started;
    std::function<void(size_t job, const JobOutcome& outcome)> finished;
    // Called about every tenth of a second while jobs run.
    std::function<void()> tick;
};

// Runs jobs 0 to count - 1 in order of their numbers, up to `parallel` at once; a job
// still running after `timeoutSeconds` is killed. SIGINT or SIGTERM stop the pool: the
// running jobs are killed and finish as Interrupted, the others are not started. False
// when stopped so.
bool RunJobs(size_t count, unsigned parallel, unsigned timeoutSeconds, const JobHandlers& handlers);
