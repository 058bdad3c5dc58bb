#include "registry/modRegistry.h"

#include "UserRegistryTest.h"

#include <string>

namespace {

constexpr RegRoot CurrentUser = RegRoot::CurrentUser;
constexpr const char* TestKey = "Software\\IEVantrelTest";

using WriterTest = UserRegistryTest;

TEST_F(WriterTest, TextValuesKeepTheirBytesAndTheEmptyNameIsTheDefaultValue) {
    ASSERT_TRUE(WriteStringValue(Store(), CurrentUser, TestKey, "", "http://a/?q=%s").ok());
    ASSERT_TRUE(WriteStringValue(Store(), CurrentUser, TestKey, "Empty", "").ok());
    EXPECT_EQ(Store().QueryValue(CurrentUser, TestKey, ""), (RegValue{RegType::String, "http://a/?q=%s"}));
    EXPECT_EQ(Store().QueryValue(CurrentUser, TestKey, "Empty"), (RegValue{RegType::String, ""}));
    EXPECT_EQ(Store().QueryValue(CurrentUser, TestKey, "Missing"), std::nullopt);
}

TEST_F(WriterTest, NumbersAreFourLittleEndianBytes) {
    ASSERT_TRUE(WriteBinaryValue(Store(), CurrentUser, TestKey, "Binary", 1).ok());
    ASSERT_TRUE(WriteDwordValue(Store(), CurrentUser, TestKey, "Zero", 0).ok());
    ASSERT_TRUE(WriteDwordValue(Store(), CurrentUser, TestKey, "Negative", -2).ok());
    EXPECT_EQ(Store().QueryValue(CurrentUser, TestKey, "Binary"),
              (RegValue{RegType::Binary, std::string("\x01\0\0\0", 4)}));
    EXPECT_EQ(Store().QueryValue(CurrentUser, TestKey, "Zero"),
              (RegValue{RegType::Dword, std::string(4, '\0')}));
    EXPECT_EQ(Store().QueryValue(CurrentUser, TestKey, "Negative"),
              (RegValue{RegType::Dword, "\xFE\xFF\xFF\xFF"}));
}

TEST_F(WriterTest, WritingCreatesMissingParentsAndATrailingBackslashNamesTheSameKey) {
    const std::string deep = std::string(TestKey) + "\\One\\Two\\Three";
    ASSERT_TRUE(WriteStringValue(Store(), CurrentUser, deep + "\\", "Name", "first").ok());
    ASSERT_TRUE(WriteStringValue(Store(), CurrentUser, deep, "Name", "second").ok());
    EXPECT_TRUE(Store().KeyExists(CurrentUser, std::string(TestKey) + "\\One"));
    EXPECT_EQ(Store().QueryValue(CurrentUser, deep + "\\", "Name"), (RegValue{RegType::String, "second"}));
    ASSERT_TRUE(EnsureKey(Store(), CurrentUser, std::string(TestKey) + "\\Empty\\").ok());
    EXPECT_TRUE(Store().KeyExists(CurrentUser, std::string(TestKey) + "\\Empty"));
}

TEST_F(WriterTest, NamesCompareWithoutRegardToCaseAndKeepTheirFirstCase) {
    ASSERT_TRUE(EnsureKey(Store(), CurrentUser, std::string(TestKey) + "\\MixedCase").ok());
    ASSERT_TRUE(
        WriteStringValue(Store(), CurrentUser, "SOFTWARE\\ievantreltest\\MIXEDCASE", "Value", "a").ok());
    ASSERT_TRUE(
        WriteStringValue(Store(), CurrentUser, std::string(TestKey) + "\\mixedcase", "VALUE", "b").ok());
    EXPECT_EQ(Store().SubKeyNames(CurrentUser, TestKey), std::vector<std::string>{"MixedCase"});
    EXPECT_EQ(Store().QueryValue(CurrentUser, std::string(TestKey) + "\\MixedCase", "value"),
              (RegValue{RegType::String, "b"}));
}

TEST_F(WriterTest, DeletingAKeyWithSubkeysFailsAndKeepsItWhileTheTreeDeleteRemovesAll) {
    const std::string parent = std::string(TestKey) + "\\Parent";
    ASSERT_TRUE(EnsureKey(Store(), CurrentUser, parent + "\\Child").ok());
    EXPECT_FALSE(DeleteKey(Store(), CurrentUser, parent).ok());
    EXPECT_TRUE(Store().KeyExists(CurrentUser, parent + "\\Child"));
    ASSERT_TRUE(DeleteKey(Store(), CurrentUser, parent + "\\Child").ok());
    ASSERT_TRUE(DeleteKey(Store(), CurrentUser, parent).ok());
    EXPECT_FALSE(Store().KeyExists(CurrentUser, parent));

    ASSERT_TRUE(EnsureKey(Store(), CurrentUser, parent + "\\A\\B").ok());
    ASSERT_TRUE(DeleteKeyTree(Store(), CurrentUser, parent + "\\").ok());
    EXPECT_FALSE(Store().KeyExists(CurrentUser, parent));
    EXPECT_TRUE(Store().KeyExists(CurrentUser, TestKey));
}

TEST_F(WriterTest, DeletingAMissingKeyIsNotAFailure) {
    EXPECT_TRUE(DeleteKey(Store(), CurrentUser, std::string(TestKey) + "\\Missing").ok());
    EXPECT_TRUE(DeleteKeyTree(Store(), CurrentUser, std::string(TestKey) + "\\Missing\\Deeper").ok());
}

TEST_F(WriterTest, AKeyNameLongerThanTheRegistryAllowsIsRefused) {
    const Status refused =
        EnsureKey(Store(), CurrentUser, std::string(TestKey) + "\\" + std::string(256, 'k'));
    EXPECT_FALSE(refused.ok());
    EXPECT_FALSE(refused.description().empty());
    EXPECT_TRUE(EnsureKey(Store(), CurrentUser, std::string(TestKey) + "\\" + std::string(200, 'k')).ok());
}

} // namespace
