// A store written here, imported by Wine's own registry editor and read back with Wine's reg tool.
#include "registry/RegFileStore.h"
#include "registry/SearchFix.h"
#include "registry/modCore.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

TEST(RegeditPeer, WinesRegistryEditorImportsTheStore) {
    if (std::system("command -v wine >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "wine is not installed: the store is not checked against Wine's registry editor";
    }
    ::setenv("WINEPREFIX", VANTREL_PEER_WINEPREFIX, 1);
    ::setenv("WINEDEBUG", "-all", 1);
    ::setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
    TempFolder folder;
    // Output goes to a file, so no Wine process holds a pipe of the test runner's.
    const auto run = [&](const std::string& command) {
        const int status = std::system((command + " </dev/null >'" + folder.File("out") + "' 2>&1").c_str());
        return status == 0 ? ReadBytes(folder.File("out"))
                           : "failed: " + command + "\n" + ReadBytes(folder.File("out"));
    };
    std::filesystem::create_directories(VANTREL_PEER_WINEPREFIX);
    run("wineserver -p; wine cmd /c exit");
    RegFileStore store(folder.File("HKEY_CURRENT_USER.reg"));
    ASSERT_TRUE(ApplySearchFix(store).empty());
    ASSERT_TRUE(InstallShortcut(store, "peer", "http://peer/?q=%s&quote=\"x\"\\back").ok());
    std::string windowsPath = "Z:" + store.Path();
    std::ranges::replace(windowsPath, '/', '\\');
    run("wine regedit /S '" + windowsPath + "'");
    const std::string ie = "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\";
    const std::pair<std::string, std::string> values[] = {
        {ie + "SearchUrl\\peer' /ve", "REG_SZ    http://peer/?q=%s&quote=\"x\"\\back"},
        {ie + "SearchUrl\\peer' /v '%'", "REG_SZ    %25"},
        {ie + "SearchUrl' /ve", "REG_SZ    http://home.microsoft.com/access/autosearch.asp?p=%s"},
        {ie + "Main' /v 'Search Page'",
         "REG_SZ    http://www.microsoft.com/isapi/redir.dll?prd=ie&ar=iesearch"},
        {ie + "Main' /v 'Do404Search-DELME'", "REG_BINARY    01000000"},
        {ie + "Main' /v 'Use Custom Search URL'", "REG_DWORD    0x0"},
        {"HKEY_CURRENT_USER\\.DEFAULT\\Software\\Microsoft\\Internet Explorer\\Main' /v 'Search Bar'",
         "REG_SZ    http://search.msn.com/spbasic.htm"},
        {"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\URL\\DefaultPrefix' /v @",
         "REG_SZ    http://"}};
    for (const auto& [query, shown] : values) {
        const std::string output = run("wine reg query '" + query);
        EXPECT_NE(output.find(shown + "\r\n"), std::string::npos) << query << "\n" << output;
    }
    run("wineserver -k");
}
