// Values as the Windows registry hands them to any other program: each type with its bytes, texts with their
// terminating zero counted.
#include "UserRegistryTest.h"
#include "registry/SearchFix.h"
#include "registry/modCore.h"
#include "support/SearchFixValues.h"

#include <windows.h>

#include <string>

namespace {

// The value's type and bytes, as "type:bytes".
std::string QueryRaw(const std::string& path, const std::string& name) {
    DWORD type = 0, size = 1024;
    std::string bytes(size, '\0');
    if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type,
                     bytes.data(), &size) != ERROR_SUCCESS) {
        return "missing " + path + "\\" + name;
    }
    return std::to_string(type) + ":" + bytes.substr(0, size);
}

using Win32RegistryTest = UserRegistryTest;

TEST_F(Win32RegistryTest, EachValueHasItsTypeAndBytes) {
    ASSERT_TRUE(InstallShortcut(Store(), "g", "http://g/?q=%s").ok());
    ASSERT_TRUE(ApplySearchFix(Store()).empty());
    const std::string g = "Software\\Microsoft\\Internet Explorer\\SearchUrl\\g";
    EXPECT_EQ(QueryRaw(g, "") + QueryRaw(g, "+"), std::string("1:http://g/?q=%s\0"
                                                              "1:%2B\0",
                                                              23));
    for (auto [key, name, value] : SearchFixValues()) {
        if (value) {
            key = key.ends_with('\\') ? key.substr(0, key.size() - 1) : key;
            const std::string zero = value->Type == RegType::String ? std::string(1, '\0') : "";
            EXPECT_EQ(QueryRaw(key, name),
                      std::to_string(static_cast<int>(value->Type)) + ":" + value->Data + zero);
        }
    }
}

} // namespace
