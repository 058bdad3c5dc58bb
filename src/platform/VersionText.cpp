#include "platform/VersionText.h"

#include "Version.h"

#include <cstdio>

#ifdef _WIN32
#include "platform/PathText.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <optional>
#include <vector>
#endif

namespace {

#ifdef _WIN32
// The numbers of the executable's VERSIONINFO, laid out as FILEVERSION major,minor,0,revision.
std::optional<ProgramVersion> ResourceVersion() {
    const std::wstring path = ExecutableWidePath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) {
        return std::nullopt;
    }
    std::vector<char> block(size);
    void* fixed = nullptr;
    UINT fixedSize = 0;
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data()) ||
        !VerQueryValueW(block.data(), L"\\", &fixed, &fixedSize) || fixedSize < sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
    return ProgramVersion{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                          LOWORD(info->dwFileVersionLS)};
}
#endif

// The numbers written into a printf format; zero-padding flags give the "00" and "0000" patterns.
template <typename... Numbers> std::string Formatted(const char* format, Numbers... numbers) {
    char text[64];
    std::snprintf(text, sizeof text, format, numbers...);
    return text;
}

} // namespace

ProgramVersion CurrentVersion() {
#ifdef _WIN32
    if (const auto version = ResourceVersion()) {
        return *version;
    }
#endif
    return {VersionMajor, VersionMinor, VersionRevision};
}

std::string MainWindowCaption(const ProgramVersion& version) {
    return Formatted("IE Vantrel v2.%02d", version.Minor);
}

std::string VersionText(const ProgramVersion& version) {
    return Formatted("%d.%02d", version.Major, version.Minor);
}

std::string BuildText(const ProgramVersion& version) {
    return Formatted("#%04d", version.Revision);
}
