// The Windows executable's resources, read back from a program that carries them, as Explorer reads them.
#include "Version.h"

#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string_view>
#include <vector>

TEST(VersionResource, CarriesTheVersionTheIconAndTheManifest) {
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(path, &ignored));
    void *fixed = nullptr, *text = nullptr;
    UINT size = 0;
    ASSERT_TRUE(!block.empty() &&
                GetFileVersionInfoA(path, 0, static_cast<DWORD>(block.size()), block.data()) &&
                VerQueryValueA(block.data(), "\\", &fixed, &size) &&
                VerQueryValueA(block.data(), "\\StringFileInfo\\040904b0\\FileVersion", &text, &size));
    EXPECT_EQ(static_cast<const VS_FIXEDFILEINFO*>(fixed)->dwFileVersionMS,
              MAKELONG(VersionMinor, VersionMajor));
    EXPECT_EQ(static_cast<const VS_FIXEDFILEINFO*>(fixed)->dwFileVersionLS, MAKELONG(VersionRevision, 0));
    EXPECT_STREQ(static_cast<const char*>(text), "2.00.0010");
    EXPECT_NE(FindResourceA(nullptr, "IDI_ICON1", MAKEINTRESOURCEA(14)), nullptr);   // RT_GROUP_ICON
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)); // RT_MANIFEST
    ASSERT_NE(found, nullptr);
    const std::string_view manifest(static_cast<const char*>(LockResource(LoadResource(nullptr, found))),
                                    SizeofResource(nullptr, found));
    EXPECT_TRUE(manifest.find("Microsoft.Windows.Common-Controls") != manifest.npos &&
                manifest.find("asInvoker") != manifest.npos);
}
