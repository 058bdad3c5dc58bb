#include "platform/AppPaths.h"

#include "MakerSite.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

const std::string S(1, PathSeparator);

} // namespace

TEST(AddBackslash, EndsInExactlyOneSeparator) {
    EXPECT_EQ(AddBackslash(""), S);
    EXPECT_EQ(AddBackslash("Tools"), "Tools" + S);
    EXPECT_EQ(AddBackslash("Tools" + S), "Tools" + S);
    EXPECT_EQ(AddBackslash("Tools" + S + S), "Tools" + S + S);
}

TEST(InitGlobals, BuildsBothListPathsFromTheExecutablesFolder) {
    InitGlobalsForExecutable("D:" + S + "Tools" + S + "Search" + S + "ievantrel.exe");
    EXPECT_EQ(AppFolder, "D:" + S + "Tools" + S + "Search" + S);
    EXPECT_EQ(EngineFile, "D:" + S + "Tools" + S + "Search" + S + "Search Engines.ini");
    EXPECT_EQ(DefaultEngineFile, "D:" + S + "Tools" + S + "Search" + S + "Search Engines.bak");

    InitGlobalsForExecutable("D:" + S + "ievantrel.exe");
    EXPECT_EQ(EngineFile, "D:" + S + "Search Engines.ini");
    InitGlobalsForExecutable(S + "ievantrel");
    EXPECT_EQ(DefaultEngineFile, S + "Search Engines.bak");
}

TEST(InitGlobals, PointsTheMakersAddressesAtItsSite) {
    InitGlobalsForExecutable(S + "ievantrel");
    const std::string site = std::string("http://") + MakerHost;
    EXPECT_EQ(HomePageURL, site + "/?from=" + ProgramWord);
    EXPECT_EQ(ProductPageURL, site + "/?id=" + ProgramWord);
    EXPECT_EQ(DonationURL, site + "/?id=donation");
    EXPECT_EQ(ForumURL, site + "/forum/");
}

TEST(InitGlobals, FindsTheRunningExecutablesFolder) {
    InitGlobals();
    ASSERT_FALSE(AppFolder.empty());
    EXPECT_EQ(AppFolder.back(), PathSeparator);
    EXPECT_NE(AppFolder[AppFolder.size() - 2], PathSeparator);
    EXPECT_TRUE(std::filesystem::exists(AppFolder + "platform_test") ||
                std::filesystem::exists(AppFolder + "platform_test.exe"))
        << AppFolder;
    EXPECT_EQ(EngineFile, AppFolder + "Search Engines.ini");
}
