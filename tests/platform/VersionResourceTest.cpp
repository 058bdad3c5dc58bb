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

TEST(VersionResource, CarriesTheVersionTheIconAndTheManifest) {
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(path, &ignored));
    ASSERT_TRUE(!block.empty() &&
                GetFileVersionInfoA(path, 0, static_cast<DWORD>(block.size()), block.data()));
    void* value = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", &value, &size));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(VersionMinor, VersionMajor));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(VersionRevision, 0));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    for (const auto& [name, text] :
         {std::pair{"FileVersion", "2.00.0010"}, std::pair{"ProductName", "IE Vantrel"},
          std::pair{"CompanyName", "Dorvane Solutions"}}) {
        const std::string query = std::string("\\StringFileInfo\\040904b0\\") + name;
        ASSERT_TRUE(VerQueryValueA(block.data(), query.c_str(), &value, &size)) << name;
        EXPECT_STREQ(static_cast<const char*>(value), text);
    }
    const ProgramVersion version = CurrentVersion();
    EXPECT_EQ(VersionText(version) + BuildText(version), "2.00#0010");

    EXPECT_NE(FindResourceA(nullptr, "IDI_ICON1", MAKEINTRESOURCEA(14)), nullptr);   // RT_GROUP_ICON
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)); // RT_MANIFEST
    ASSERT_NE(found, nullptr);
    const std::string_view manifest(static_cast<const char*>(LockResource(LoadResource(nullptr, found))),
                                    SizeofResource(nullptr, found));
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string_view::npos);
    EXPECT_NE(manifest.find("asInvoker"), std::string_view::npos);
}
