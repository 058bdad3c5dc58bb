#include "platform/Win32Error.h"

#include <windows.h>

#include <string>

Status StatusFromWin32(unsigned long error) {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    std::string description = length > 0 ? std::string(buffer, length) : "Error " + std::to_string(error);
    LocalFree(buffer);
    while (!description.empty() && (description.back() == '\n' || description.back() == '\r' ||
                                    description.back() == ' ' || description.back() == '.')) {
        description.pop_back();
    }
    return Status::Failure(static_cast<long>(error), description + ".");
}
