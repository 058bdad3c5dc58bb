#pragma once

#include "platform/Status.h"

#include <string>

// An exclusive advisory lock (flock) on a file, held from Acquire until the object goes. The system releases
// it when the process ends, however it ends.
class FileLock {
public:
    FileLock() = default;
    ~FileLock() { Release(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Creates the file when missing and waits until the lock is ours.
    Status Acquire(const std::string& path);
    void Release();

private:
    int fd_ = -1;
};
