#include "registry/SearchFix.h"
#include "registry/modCore.h"
#include "registry/modRegistry.h"

#include "UserRegistryTest.h"
#include "support/SearchFixValues.h"

#include <windows.h>

#include <ostream>
#include <string>

namespace {

struct RawValue {
    DWORD Type = 0;
    std::string Bytes;

    bool operator==(const RawValue&) const = default;
};

// The value exactly as the registry hands it to any other program.
RawValue QueryRaw(const std::string& path, const std::string& name) {
    RawValue value;
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS) << path;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, name.c_str(), nullptr, &value.Type, nullptr, &size), ERROR_SUCCESS)
        << name;
    value.Bytes.resize(size);
    EXPECT_EQ(RegQueryValueExA(key, name.c_str(), nullptr, &value.Type,
                               reinterpret_cast<BYTE*>(value.Bytes.data()), &size),
              ERROR_SUCCESS);
    RegCloseKey(key);
    return value;
}

void PrintTo(const RawValue& value, std::ostream* out) {
    *out << "type " << value.Type << ", " << ::testing::PrintToString(value.Bytes);
}

RawValue Sz(std::string text) {
    text.push_back('\0');
    return RawValue{REG_SZ, text};
}

using Win32RegistryTest = UserRegistryTest;

const std::string SearchUrl = "Software\\Microsoft\\Internet Explorer\\SearchUrl";

TEST_F(Win32RegistryTest, TextValuesCountTheirTerminatingZero) {
    ASSERT_TRUE(InstallShortcut(Store(), "g", "http://g/?q=%s").ok());
    EXPECT_EQ(QueryRaw(SearchUrl + "\\g", ""), Sz("http://g/?q=%s"));
    EXPECT_EQ(QueryRaw(SearchUrl + "\\g", " "), Sz("+"));
    EXPECT_EQ(QueryRaw(SearchUrl + "\\g", "%"), Sz("%25"));
    EXPECT_EQ(QueryRaw(SearchUrl + "\\g", "&"), Sz("%26"));
    EXPECT_EQ(QueryRaw(SearchUrl + "\\g", "+"), Sz("%2B"));
    ASSERT_TRUE(WriteStringValue(Store(), RegRoot::CurrentUser, "Software\\IEVantrelTest", "Empty", "").ok());
    EXPECT_EQ(QueryRaw("Software\\IEVantrelTest", "Empty"), Sz(""));
}

TEST_F(Win32RegistryTest, TheSearchFixWritesEachTypeWithItsBytes) {
    ASSERT_TRUE(ApplySearchFix(Store()).empty());
    for (auto [key, name, value] : SearchFixValues()) {
        if (value) {
            key = key.ends_with('\\') ? key.substr(0, key.size() - 1) : key;
            const RawValue expected = value->Type == RegType::String
                                          ? Sz(value->Data)
                                          : RawValue{static_cast<DWORD>(value->Type), value->Data};
            EXPECT_EQ(QueryRaw(key, name), expected) << name;
        }
    }
}

TEST_F(Win32RegistryTest, FailuresCarryTheSystemsCodeAndDescription) {
    ASSERT_TRUE(EnsureKey(Store(), RegRoot::CurrentUser, "Software\\IEVantrelTest\\Parent\\Child").ok());
    const Status refused = DeleteKey(Store(), RegRoot::CurrentUser, "Software\\IEVantrelTest\\Parent");
    EXPECT_EQ(refused.code(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(refused.description().empty());
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\IEVantrelTest\\Parent\\Child", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

} // namespace
