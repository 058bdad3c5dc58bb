#include "platform/Status.h"

#include <cstring>

Status Status::FromErrno(int error) {
    return Failure(error, std::strerror(error));
}
