#include "platform/AppPaths.h"
#include "platform/VersionText.h"

#include "MakerSite.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

TEST(AppPaths, ComeFromTheExecutablesFolderEndingInOneSeparator) {
    const std::string S(1, PathSeparator), site = std::string("http://") + MakerHost;
    EXPECT_EQ(AddBackslash("") + AddBackslash("T") + AddBackslash("T" + S) + AddBackslash("T" + S + S),
              S + "T" + S + "T" + S + "T" + S + S);
    InitGlobalsForExecutable("D:" + S + "Tools" + S + "ievantrel.exe");
    EXPECT_EQ(AppFolder, "D:" + S + "Tools" + S);
    EXPECT_EQ(EngineFile, AppFolder + "Search Engines.ini");
    EXPECT_EQ(DefaultEngineFile, AppFolder + "Search Engines.bak");
    InitGlobalsForExecutable(S + "ievantrel");
    EXPECT_EQ(DefaultEngineFile, S + "Search Engines.bak");
    EXPECT_EQ(HomePageURL + ProductPageURL + DonationURL + ForumURL, site + "/?from=" + ProgramWord + site +
                                                                         "/?id=" + ProgramWord + site +
                                                                         "/?id=donation" + site + "/forum/");
    InitGlobals();
    ASSERT_GE(AppFolder.size(), 2u);
    EXPECT_NE(AppFolder[AppFolder.size() - 2], PathSeparator);
    EXPECT_TRUE(std::filesystem::exists(AppFolder + "platform_test") ||
                std::filesystem::exists(AppFolder + "platform_test.exe"))
        << AppFolder;
}

TEST(VersionText, PadsTheMinorNumberAndTheRevisionAndComesFromTheResourceOnWindows) {
    EXPECT_EQ(MainWindowCaption({3, 7, 10}) + MainWindowCaption({2, 12, 0}),
              "IE Vantrel v2.07IE Vantrel v2.12");
    EXPECT_EQ(VersionText({2, 5, 0}) + VersionText({2, 123, 0}), "2.052.123");
    EXPECT_EQ(BuildText({2, 0, 7}) + BuildText({2, 0, 12345}), "#0007#12345");
    const ProgramVersion version = CurrentVersion();
#ifdef _WIN32
    // This program carries a version resource of its own: 3.07, build 42.
    EXPECT_EQ(VersionText(version) + BuildText(version), "3.07#0042");
#else
    EXPECT_EQ(VersionText(version) + BuildText(version), "2.00#0010");
#endif
}
