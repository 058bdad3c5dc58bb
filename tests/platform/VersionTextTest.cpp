#include "platform/VersionText.h"

#include <gtest/gtest.h>

TEST(VersionText, PadsTheMinorNumberToTwoDigitsAndTheRevisionToFour) {
    EXPECT_EQ(MainWindowCaption({2, 0, 10}), "IE Vantrel v2.00");
    EXPECT_EQ(MainWindowCaption({2, 7, 10}), "IE Vantrel v2.07");
    EXPECT_EQ(MainWindowCaption({3, 12, 10}), "IE Vantrel v2.12");
    EXPECT_EQ(VersionText({2, 5, 0}), "2.05");
    EXPECT_EQ(VersionText({2, 123, 0}), "2.123");
    EXPECT_EQ(BuildText({2, 0, 7}), "#0007");
    EXPECT_EQ(BuildText({2, 0, 12345}), "#12345");
}

TEST(VersionText, ComesFromTheVersionResourceOnWindowsAndFromTheBuildElsewhere) {
    const ProgramVersion version = CurrentVersion();
#ifdef _WIN32
    // This test program carries a version resource of its own: 3.07, build 42.
    EXPECT_EQ(VersionText(version), "3.07");
    EXPECT_EQ(BuildText(version), "#0042");
#else
    EXPECT_EQ(VersionText(version), "2.00");
    EXPECT_EQ(BuildText(version), "#0010");
#endif
}
