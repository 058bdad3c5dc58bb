#include "registry/SearchFix.h"
#include "registry/modCore.h"
#include "registry/modRegistry.h"

#include "UserRegistryTest.h"

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
    const std::string main = "Software\\Microsoft\\Internet Explorer\\Main";
    EXPECT_EQ(QueryRaw(main, "Do404Search-DELME"), (RawValue{REG_BINARY, std::string("\x01\0\0\0", 4)}));
    EXPECT_EQ(QueryRaw(main, "Use Custom Search URL"), (RawValue{REG_DWORD, std::string(4, '\0')}));
    EXPECT_EQ(QueryRaw(main, "Search Page"),
              Sz("http://www.microsoft.com/isapi/redir.dll?prd=ie&ar=iesearch"));
    EXPECT_EQ(QueryRaw("Software\\Microsoft\\Internet Explorer\\URLSearchHooks",
                       "{CFBFAE00-17A6-11D0-99CB-00C04FD64497}"),
              Sz(""));
    EXPECT_EQ(QueryRaw(".DEFAULT\\Software\\Microsoft\\Internet Explorer\\Main", "Search Bar"),
              Sz("http://search.msn.com/spbasic.htm"));
    EXPECT_EQ(QueryRaw("Software\\Microsoft\\Windows\\CurrentVersion\\URL\\DefaultPrefix", "@"),
              Sz("http://"));
    EXPECT_EQ(QueryRaw(SearchUrl, ""), Sz("http://home.microsoft.com/access/autosearch.asp?p=%s"));
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
