// A save of the list and an install into the store in a real process whose files may not grow beyond half
// the new content (RLIMIT_FSIZE): the write fails half way, the user is told, the old file stays as it was
// and no temporary file is left.
#include "ChildProcess.h"
#include "FaultEngines.h"
#include "FaultFolder.h"
#include "engines/VectorEngineRows.h"
#include "engines/modFileIO.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

class HalfWayWrite : public ::testing::Test {
protected:
    int Run(const std::vector<std::string>& arguments, rlim_t limit = RLIM_INFINITY) {
        ChildProcess child(arguments, output_.File("out.txt"), limit);
        return child.Wait();
    }
    std::string Told() const { return FileBytes(output_.File("out.txt")); }

    TempFolder output_;
};

TEST_F(HalfWayWrite, ASaveKeepsTheOldListAndSaysWhy) {
    TempFolder app;
    const std::string program = app.File("ievantrel");
    ASSERT_EQ(Run({FaultHelperPath(), "save", program, "100", "old"}), 0);
    const std::string old = FileBytes(app.File("Search Engines.ini"));
    VectorEngineRows rows;
    rows.AddMany(FaultEngines(5000, "new"));
    const rlim_t half = FormatEngineList(rows).size() / 2;

    EXPECT_EQ(Run({FaultHelperPath(), "save", program, "5000", "new"}, half), 2);

    EXPECT_EQ(Told(), "SaveEngines()\nError while trying to save search engines.\r\n\r\nFile: " +
                          app.File("Search Engines.ini") + "\r\nError: " + std::strerror(EFBIG) + "\n");
    EXPECT_EQ(FileBytes(app.File("Search Engines.ini")), old);
    EXPECT_EQ(StrayFiles(app.Path(), {"Search Engines.ini"}), std::vector<std::string>{});
}

TEST_F(HalfWayWrite, AnInstallKeepsTheOldStoreAndSaysWhy) {
    TempFolder config;
    ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    const std::string store = config.File("ievantrel/HKEY_CURRENT_USER.reg");
    ASSERT_EQ(Run({FaultHelperPath(), "install", "300", "new"}), 0);
    const rlim_t half = FileBytes(store).size() / 2;
    ASSERT_EQ(Run({FaultHelperPath(), "install", "10", "old"}), 0);
    const std::string old = FileBytes(store);

    EXPECT_EQ(Run({FaultHelperPath(), "install", "300", "new"}, half), 2);

    EXPECT_TRUE(Told().starts_with("InstallEngines()\n0 of 300 shortcuts have been installed.\r\n\r\n"
                                   "These shortcuts could not be installed:\r\nnew-0\r\n"))
        << Told();
    EXPECT_NE(Told().find(std::strerror(EFBIG)), std::string::npos) << Told();
    EXPECT_EQ(FileBytes(store), old);
    EXPECT_EQ(
        StrayFiles(config.Path() / "ievantrel", {"HKEY_CURRENT_USER.reg", "HKEY_CURRENT_USER.reg.lock"}),
        std::vector<std::string>{});
}

} // namespace
