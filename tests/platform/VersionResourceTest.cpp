// The Windows executable's resources, read back from a program that carries them, as Explorer and the
// program's own CurrentVersion() read them.
#include "Version.h"
#include "platform/VersionText.h"

#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<char> OwnVersionBlock() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    EXPECT_GT(length, 0u);
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(path, &ignored));
    EXPECT_FALSE(block.empty());
    EXPECT_TRUE(GetFileVersionInfoA(path, 0, static_cast<DWORD>(block.size()), block.data()));
    return block;
}

std::string StringValue(std::vector<char>& block, const char* name) {
    void* value = nullptr;
    UINT size = 0;
    const std::string query = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueA(block.data(), query.c_str(), &value, &size) || size == 0) {
        return {};
    }
    return static_cast<const char*>(value);
}

std::string_view ResourceText(LPCSTR name, LPCSTR type) {
    HRSRC found = FindResourceA(nullptr, name, type);
    if (found == nullptr) {
        return {};
    }
    HGLOBAL loaded = LoadResource(nullptr, found);
    return {static_cast<const char*>(LockResource(loaded)), SizeofResource(nullptr, found)};
}

} // namespace

TEST(VersionResource, FixedFileVersionIsMajorMinorZeroRevision) {
    std::vector<char> block = OwnVersionBlock();
    void* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", &fixed, &size));
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
    EXPECT_EQ(info->dwFileVersionMS, MAKELONG(VersionMinor, VersionMajor));
    EXPECT_EQ(info->dwFileVersionLS, MAKELONG(VersionRevision, 0));
    EXPECT_EQ(info->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST(VersionResource, FileVersionTextIsPadded) {
    std::vector<char> block = OwnVersionBlock();
    EXPECT_EQ(StringValue(block, "FileVersion"), "2.00.0010");
    EXPECT_EQ(StringValue(block, "ProductName"), "IE Vantrel");
    EXPECT_EQ(StringValue(block, "CompanyName"), "Dorvane Solutions");
}

TEST(VersionResource, TheProgramReadsItsVersionFromTheResource) {
    const ProgramVersion version = CurrentVersion();
    EXPECT_EQ(VersionText(version), "2.00");
    EXPECT_EQ(BuildText(version), "#0010");
}

TEST(VersionResource, CarriesTheIconAndTheManifest) {
    EXPECT_NE(FindResourceA(nullptr, "IDI_ICON1", MAKEINTRESOURCEA(14)), nullptr); // RT_GROUP_ICON
    const std::string_view manifest = ResourceText(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)); // RT_MANIFEST
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string_view::npos);
    EXPECT_NE(manifest.find("asInvoker"), std::string_view::npos);
}
