#include "platform/FileTooLarge.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <cerrno>
#endif

Status FileTooLarge() {
#ifdef _WIN32
    return Status::Failure(ERROR_NOT_ENOUGH_MEMORY, "The file is too large");
#else
    return Status::Failure(ENOMEM, "The file is too large");
#endif
}
