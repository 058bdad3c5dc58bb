#include "platform/PathText.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

std::wstring FromCodePage(UINT codePage, std::string_view text) {
    const int size = static_cast<int>(text.size());
    std::wstring wide(
        static_cast<std::size_t>(MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

std::string ToCodePage(UINT codePage, std::wstring_view wide) {
    const int size = static_cast<int>(wide.size());
    std::string text(static_cast<std::size_t>(
                         WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr)),
                     '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, text.data(), static_cast<int>(text.size()), nullptr,
                        nullptr);
    return text;
}

} // namespace

std::string PathInMessage(std::string_view path) {
    return ToCodePage(CP_ACP, WideFromUtf8(path));
}

std::wstring WideFromUtf8(std::string_view text) {
    return FromCodePage(CP_UTF8, text);
}

std::string Utf8FromWide(std::wstring_view text) {
    return ToCodePage(CP_UTF8, text);
}

std::wstring ExecutableWidePath() {
    // The path may be longer than MAX_PATH; a result that fills the buffer may have been cut, so grow and ask
    // again.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

#else

std::string PathInMessage(std::string_view path) {
    return std::string(path);
}

#endif
