#include "registry/ListText.h"

#ifdef _WIN32
#include "platform/PathText.h"

#include <windows.h>

#include <algorithm>
#else
#include "registry/Utf16.h"
#endif

#ifdef _WIN32

std::optional<std::string> ListTextToUtf8(std::string_view text) {
    if (text.empty()) {
        return std::string();
    }
    const int size = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (wideLength == 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), wideLength);
    return Utf8FromWide(wide);
}

std::optional<std::string_view> ListTextAsUtf8(std::string_view text, std::deque<std::string>& converted) {
    // Every ANSI code page keeps ASCII as it is.
    if (std::ranges::all_of(text, [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return text;
    }
    std::optional<std::string> utf8 = ListTextToUtf8(text);
    if (!utf8) {
        return std::nullopt;
    }
    return converted.emplace_back(std::move(*utf8));
}

#else

std::optional<std::string> ListTextToUtf8(std::string_view text) {
    if (FirstNonUtf8(text) != std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(text);
}

std::optional<std::string_view> ListTextAsUtf8(std::string_view text, std::deque<std::string>&) {
    if (FirstNonUtf8(text) != std::string_view::npos) {
        return std::nullopt;
    }
    return text;
}

#endif
