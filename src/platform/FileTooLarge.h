#pragma once

#include "platform/Status.h"

#include <new>
#include <string>

// What a step reports when the memory it needed for a file's content could not be had: "The file is too
// large", with the system's code for running out of memory.
Status FileTooLarge();

// Runs `step` (which returns a Status) over `bytes`, a file's content. When the step runs out of memory
// (std::bad_alloc), its work is unwound, `bytes` is emptied and its memory freed, and FileTooLarge()
// returned: a file larger than the memory the program can get fails like any other read, and the program goes
// on.
template <typename Step> Status UnlessFileTooLarge(std::string& bytes, Step step) {
    try {
        return step();
    } catch (const std::bad_alloc&) {
        std::string().swap(bytes);
        return FileTooLarge();
    }
}
