#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <string>
#include <vector>

// A program run in a child process with its standard output sent to a file. A child still running when the
// object goes is killed and reaped, so no test leaves one behind.
class ChildProcess {
public:
    // Starts `arguments[0]` with the given arguments; `fileSizeLimit` becomes the child's RLIMIT_FSIZE (with
    // SIGXFSZ ignored, so an oversized write fails with EFBIG instead of killing it).
    ChildProcess(const std::vector<std::string>& arguments, const std::string& outputFile,
                 rlim_t fileSizeLimit = RLIM_INFINITY);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    void Kill();
    // Waits for the child to end; its exit code, or 128 + the signal that ended it.
    int Wait();

private:
    pid_t pid_ = -1;
};

// The path of the fault helper program, which the build puts beside the tests.
std::string FaultHelperPath();
