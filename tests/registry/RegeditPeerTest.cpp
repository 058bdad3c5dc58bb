// A store written here, imported by Wine's own registry editor and read back with Wine's reg tool.
#include "registry/RegFileStore.h"
#include "registry/SearchFix.h"
#include "registry/modCore.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

TEST(RegeditPeer, WinesRegistryEditorImportsTheStore) {
    if (std::system("command -v wine >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "wine is not installed: the store is not checked against Wine's registry editor";
    }
    ::setenv("WINEPREFIX", VANTREL_PEER_WINEPREFIX, 1);
    ::setenv("WINEDEBUG", "-all", 1);
    ::setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
    std::filesystem::create_directories(VANTREL_PEER_WINEPREFIX);
    TempFolder folder;
    RegFileStore store(folder.File("HKEY_CURRENT_USER.reg"));
    ASSERT_TRUE(ApplySearchFix(store).empty());
    ASSERT_TRUE(InstallShortcut(store, "peer", "http://peer/?q=%s&quote=\"x\"\\back").ok());
    std::string windowsPath = "Z:" + store.Path();
    std::ranges::replace(windowsPath, '/', '\\');
    // The keys are cleared first; output goes to a file, so no Wine process holds a pipe of the runner's.
    const std::string keys = "'HKCU\\Software\\Microsoft\\Internet Explorer' 'HKCU\\.DEFAULT' "
                             "'HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\URL'";
    std::system(("(wineserver -p; for k in " + keys +
                 "; do wine reg delete \"$k\" /f; done; wine regedit /S '" + windowsPath + "'; for k in " +
                 keys + "; do wine reg query \"$k\" /s; done; wineserver -k) >'" + folder.File("out") +
                 "' 2>&1 </dev/null")
                    .c_str());
    const std::string shown = ReadBytes(folder.File("out"));
    for (const char* lines :
         {"Internet Explorer\\SearchUrl\\peer\r\n    (Default)    REG_SZ    "
          "http://peer/?q=%s&quote=\"x\"\\back\r\n"
          "         REG_SZ    +\r\n    %    REG_SZ    %25\r\n",
          "    Do404Search-DELME    REG_BINARY    01000000\r\n",
          "    Use Custom Search URL    REG_DWORD    0x0\r\n",
          "\\.DEFAULT\\Software\\Microsoft\\Internet Explorer\\Main\r\n    Search Bar    REG_SZ    "
          "http://search.msn.com/spbasic.htm\r\n",
          "URL\\DefaultPrefix\r\n    @    REG_SZ    http://\r\n"}) {
        EXPECT_NE(shown.find(lines), std::string::npos) << lines << "\nin\n" << shown;
    }
}
