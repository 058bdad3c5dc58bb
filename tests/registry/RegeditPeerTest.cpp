#include "registry/RegFileStore.h"
#include "registry/SearchFix.h"
#include "registry/modCore.h"
#include "registry/modRegistry.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace {

// A store written here, imported by Wine's own registry editor and read back with Wine's reg tool.
class RegeditPeerTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v wine >/dev/null 2>&1") != 0) {
            GTEST_SKIP() << "wine is not installed: the store is not checked against Wine's registry editor";
        }
        ::setenv("WINEPREFIX", VANTREL_PEER_WINEPREFIX, 1);
        ::setenv("WINEDEBUG", "-all", 1);
        ::setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
        std::filesystem::create_directories(VANTREL_PEER_WINEPREFIX);
        // Wine's services start now, on no pipe of the test runner's, which would otherwise wait for them.
        ASSERT_EQ(Run("wineserver -p; wine cmd /c exit").first, 0);
    }
    void TearDown() override { Run("wineserver -k"); }

    // Runs a shell command with its output in a file, so no Wine process holds a pipe of ours; exit code and
    // output.
    std::pair<int, std::string> Run(const std::string& command) const {
        const std::string output = folder_.File("output.txt");
        const int status = std::system((command + " </dev/null >'" + output + "' 2>&1").c_str());
        std::ostringstream text;
        text << std::ifstream(output).rdbuf();
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text.str()};
    }

    // The data that `wine reg query` shows for the value, after its type; the whole output when the type is
    // wrong.
    std::string Query(const std::string& key, const std::string& name, const std::string& type) const {
        const std::string which = name.empty() ? "/ve" : "/v '" + name + "'";
        const auto [code, output] = Run("wine reg query 'HKEY_CURRENT_USER\\" + key + "' " + which);
        const std::string marker = type + "    ";
        const std::size_t at = output.find(marker);
        if (code != 0 || at == std::string::npos) {
            return output;
        }
        std::string data = output.substr(at + marker.size());
        return data.substr(0, data.find_first_of("\r\n"));
    }

    TempFolder folder_;
};

TEST_F(RegeditPeerTest, WinesRegistryEditorImportsTheStore) {
    const std::string storePath = folder_.File("HKEY_CURRENT_USER.reg");
    RegFileStore store(storePath);
    ASSERT_TRUE(ApplySearchFix(store).empty());
    ASSERT_TRUE(InstallShortcut(store, "peer", "http://peer/?q=%s&quote=\"x\"\\back").ok());

    std::string windowsPath = "Z:" + storePath;
    std::ranges::replace(windowsPath, '/', '\\');
    ASSERT_EQ(Run("wine regedit /S '" + windowsPath + "'").first, 0);

    const std::string searchUrl = "Software\\Microsoft\\Internet Explorer\\SearchUrl";
    const std::string main = "Software\\Microsoft\\Internet Explorer\\Main";
    EXPECT_EQ(Query(searchUrl + "\\peer", "", "REG_SZ"), "http://peer/?q=%s&quote=\"x\"\\back");
    EXPECT_EQ(Query(searchUrl + "\\peer", "%", "REG_SZ"), "%25");
    EXPECT_EQ(Query(searchUrl, "", "REG_SZ"), "http://home.microsoft.com/access/autosearch.asp?p=%s");
    EXPECT_EQ(Query(main, "Search Page", "REG_SZ"),
              "http://www.microsoft.com/isapi/redir.dll?prd=ie&ar=iesearch");
    EXPECT_EQ(Query(main, "Do404Search-DELME", "REG_BINARY"), "01000000");
    EXPECT_EQ(Query(main, "Use Custom Search URL", "REG_DWORD"), "0x0");
    EXPECT_EQ(Query(".DEFAULT\\Software\\Microsoft\\Internet Explorer\\Main", "Search Bar", "REG_SZ"),
              "http://search.msn.com/spbasic.htm");
    EXPECT_EQ(Query("Software\\Microsoft\\Windows\\CurrentVersion\\URL\\DefaultPrefix", "@", "REG_SZ"),
              "http://");
}

} // namespace
