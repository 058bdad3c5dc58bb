#include "registry/RegFileStore.h"

#include "engines/VectorEngineRows.h"
#include "engines/modParse.h"
#include "platform/AtomicFile.h"
#include "registry/SearchFix.h"
#include "registry/UserRegistry.h"
#include "registry/modCore.h"
#include "registry/modRegistry.h"
#include "support/FileBytes.h"
#include "support/RecordingPrompt.h"
#include "support/SearchFixValues.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <pwd.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr RegRoot CurrentUser = RegRoot::CurrentUser;

// UTF-16LE of an ASCII text, with the byte-order mark.
std::string Utf16Le(std::string_view ascii) {
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

class RegFileStoreTest : public ::testing::Test {
protected:
    std::string StorePath() const { return folder_.File("ievantrel/HKEY_CURRENT_USER.reg"); }

    void WriteStore(std::string_view bytes) {
        std::filesystem::create_directories(folder_.Path() / "ievantrel");
        ASSERT_TRUE(ReplaceFileAtomically(StorePath(), bytes).ok());
    }

    // Runs `work` on a store of its own in a child process, which exits 0 when `work` returns true.
    pid_t InChild(const std::function<bool(RegFileStore&)>& work) const {
        const pid_t child = ::fork();
        if (child == 0) {
            RegFileStore store(StorePath());
            ::_exit(work(store) ? 0 : 1);
        }
        return child;
    }
    static bool ExitedCleanly(pid_t child) {
        int status = 0;
        return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    TempFolder folder_;
    RegFileStore store_{StorePath()};
};

TEST_F(RegFileStoreTest, WritesTheRegistryEditorsExportFormatByteForByte) {
    ASSERT_TRUE(WriteStringValue(store_, CurrentUser, "Software\\Test\\", "", "a\"b\\c").ok());
    ASSERT_TRUE(WriteDwordValue(store_, CurrentUser, "Software\\Test", "Count", 42).ok());
    ASSERT_TRUE(WriteBinaryValue(store_, CurrentUser, "Software\\Test", "Flag", 1).ok());
    ASSERT_TRUE(EnsureKey(store_, CurrentUser, "Software\\Test\\Empty").ok());
    EXPECT_EQ(ReadBytes(StorePath()), Utf16Le("Windows Registry Editor Version 5.00\r\n"
                                              "\r\n"
                                              "[HKEY_CURRENT_USER\\Software]\r\n"
                                              "\r\n"
                                              "[HKEY_CURRENT_USER\\Software\\Test]\r\n"
                                              "@=\"a\\\"b\\\\c\"\r\n"
                                              "\"Count\"=dword:0000002a\r\n"
                                              "\"Flag\"=hex:01,00,00,00\r\n"
                                              "\r\n"
                                              "[HKEY_CURRENT_USER\\Software\\Test\\Empty]\r\n"
                                              "\r\n"));
}

TEST_F(RegFileStoreTest, TextsAreUtf8InsideAndUtf16InTheFile) {
    ASSERT_TRUE(
        WriteStringValue(store_, CurrentUser, "Software\\Caf\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x94\x8D")
            .ok());
    ASSERT_TRUE(WriteStringValue(store_, CurrentUser, "Software", "Latin1", "caf\xE9!").ok());
    EXPECT_EQ(store_.QueryValue(CurrentUser, "software\\CAF\xC3\xA9", "\xE2\x82\xAC")->Data,
              "\xF0\x9F\x94\x8D");
    EXPECT_EQ(store_.QueryValue(CurrentUser, "Software", "Latin1")->Data, "caf\xEF\xBF\xBD!");
    const std::string bytes = ReadBytes(StorePath());
    EXPECT_NE(bytes.find(std::string("C\0a\0f\0\xE9\0]\0", 10)), std::string::npos);
    EXPECT_NE(bytes.find(std::string("\x3D\xD8\x0D\xDD", 4)), std::string::npos);
}

TEST_F(RegFileStoreTest, ReadsAnEightBitFileWithEitherHeaderAndContinuedHexLines) {
    WriteStore("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Old]\n\"Text\"=\"x\"\n"
               "\"Bytes\"=hex:01,02,\\\n  03,ff\n; a comment\n");
    EXPECT_EQ(store_.QueryValue(CurrentUser, "Software\\Old", "Text"), (RegValue{RegType::String, "x"}));
    EXPECT_EQ(store_.QueryValue(CurrentUser, "Software\\Old", "Bytes"),
              (RegValue{RegType::Binary, "\x01\x02\x03\xFF"}));
    WriteStore("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n@=dword:00000010\r\n");
    EXPECT_EQ(store_.QueryValue(CurrentUser, "A", ""),
              (RegValue{RegType::Dword, std::string("\x10\0\0\0", 4)}));
}

// Key lines in any order: each value lands under the key of the line above it.
TEST_F(RegFileStoreTest, ReadsKeysListedOutOfTreeOrder) {
    WriteStore("REGEDIT4\n[HKEY_CURRENT_USER\\A\\B]\n[HKEY_CURRENT_USER\\C]\n[HKEY_CURRENT_USER\\A\\D]"
               "\n\"v\"=\"1\"\n"
               "[HKEY_CURRENT_USER\\A]\n\"w\"=\"2\"\n");
    EXPECT_EQ(store_.QueryValue(CurrentUser, "A\\D", "v"), (RegValue{RegType::String, "1"}));
    EXPECT_EQ(store_.QueryValue(CurrentUser, "A", "w"), (RegValue{RegType::String, "2"}));
    EXPECT_EQ(store_.SubKeyNames(CurrentUser, "C"), std::vector<std::string>{});
    EXPECT_EQ(store_.SubKeyNames(CurrentUser, "A\\B"), std::vector<std::string>{});
}

TEST_F(RegFileStoreTest, LivesUnderXdgConfigHomeOrTheHomeConfigFolder) {
    ::setenv("XDG_CONFIG_HOME", folder_.Path().c_str(), 1);
    EXPECT_EQ(UserRegistryFilePath(), StorePath());
    ::setenv("HOME", (folder_.Path() / "home").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(UserRegistryFilePath(), folder_.File("home/.config/ievantrel/HKEY_CURRENT_USER.reg"));
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(UserRegistryFilePath(), folder_.File("home/.config/ievantrel/HKEY_CURRENT_USER.reg"));
    // Without a home in the environment, the user's own from the system; "/" is a home like any other.
    const std::string home = folder_.File("home");
    ::unsetenv("HOME");
    const std::string fromSystem = UserRegistryFilePath();
    ::setenv("HOME", "", 1);
    EXPECT_EQ(UserRegistryFilePath(), fromSystem);
    EXPECT_EQ(std::filesystem::path(fromSystem), std::filesystem::path(::getpwuid(::getuid())->pw_dir) /
                                                     ".config/ievantrel/HKEY_CURRENT_USER.reg");
    ::setenv("HOME", "/", 1);
    EXPECT_EQ(std::filesystem::path(UserRegistryFilePath()).lexically_normal(),
              "/.config/ievantrel/HKEY_CURRENT_USER.reg");
    ::setenv("HOME", home.c_str(), 1);

    RegFileStore store(UserRegistryFilePath());
    EXPECT_FALSE(store.KeyExists(CurrentUser, "Software"));
    EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "home"));
    ASSERT_TRUE(EnsureKey(store, CurrentUser, "Software").ok());
    EXPECT_TRUE(std::filesystem::exists(UserRegistryFilePath()));
}

TEST_F(RegFileStoreTest, RefusesPathsThatCannotNameAKeyAndWritesNothing) {
    for (const char* path : {"\\Software", "Software\\\\Deeper", "Software\\Line\nBreak"}) {
        EXPECT_FALSE(EnsureKey(store_, CurrentUser, path).ok()) << path;
    }
    // Each byte that is not UTF-8 becomes one character in the file, so 256 of them make too long a name.
    EXPECT_FALSE(EnsureKey(store_, CurrentUser, "Software\\" + std::string(256, '\x87')).ok());
    EXPECT_FALSE(WriteStringValue(store_, CurrentUser, "Software", "Name", "two\r\nlines").ok());
    EXPECT_FALSE(DeleteKeyTree(store_, CurrentUser, "").ok());
    EXPECT_FALSE(std::filesystem::exists(StorePath()));
}

TEST_F(RegFileStoreTest, ABatchReadsOnceAndWritesOnceAtItsEnd) {
    ASSERT_TRUE(EnsureKey(store_, CurrentUser, "Software\\Before").ok());
    const std::string before = ReadBytes(StorePath());
    {
        RegistryBatch batch(store_);
        ASSERT_TRUE(batch.Started().ok());
        ASSERT_TRUE(InstallShortcut(store_, "one", "http://one/%s").ok());
        ASSERT_TRUE(InstallShortcut(store_, "two", "http://two/%s").ok());
        EXPECT_TRUE(store_.KeyExists(CurrentUser, "Software\\Microsoft\\Internet Explorer\\SearchUrl\\one"));
        EXPECT_EQ(ReadBytes(StorePath()), before);
        ASSERT_TRUE(batch.Commit().ok());
    }
    RegFileStore other(StorePath());
    EXPECT_EQ(other.SubKeyNames(CurrentUser, "Software\\Microsoft\\Internet Explorer\\SearchUrl"),
              (std::vector<std::string>{"one", "two"}));
}

// Two processes install their own shortcuts, one batch each, into the same store at the same time.
TEST_F(RegFileStoreTest, TwoProcessesWritingAtOnceLoseNothing) {
    std::vector<pid_t> children;
    for (const std::string writer : {"a", "b"}) {
        children.push_back(InChild([&](RegFileStore& store) {
            bool ok = true;
            for (int i = 0; i < 40; ++i) {
                RegistryBatch batch(store);
                ok =
                    ok && InstallShortcut(store, writer + std::to_string(i), "u").ok() && batch.Commit().ok();
            }
            return ok;
        }));
    }
    for (const pid_t child : children) {
        EXPECT_TRUE(ExitedCleanly(child));
    }
    EXPECT_EQ(store_.SubKeyNames(CurrentUser, "Software\\Microsoft\\Internet Explorer\\SearchUrl").size(),
              80u);
}

TEST_F(RegFileStoreTest, ACrashBeforeTheRenameLeavesTheOldStoreAndFreesTheLock) {
    ASSERT_TRUE(InstallShortcut(store_, "old", "http://old/%s").ok());
    const std::string before = ReadBytes(StorePath());
    EXPECT_TRUE(ExitedCleanly(InChild([&](RegFileStore& store) {
        store.BeginBatch();
        InstallShortcut(store, "lost", "http://lost/%s");
        // What a crash after writing the temporary file and before renaming it leaves behind.
        WriteBytes(folder_.File("ievantrel/.HKEY_CURRENT_USER.reg.Xy12z9"),
                   "Windows Registry Editor Version 5.00");
        return true;
    })));
    EXPECT_EQ(ReadBytes(StorePath()), before);
    EXPECT_FALSE(store_.KeyExists(CurrentUser, "Software\\Microsoft\\Internet Explorer\\SearchUrl\\lost"));
    ASSERT_TRUE(InstallShortcut(store_, "new", "http://new/%s").ok());
    EXPECT_TRUE(store_.KeyExists(CurrentUser, "Software\\Microsoft\\Internet Explorer\\SearchUrl\\old"));
    EXPECT_EQ(FolderListing(folder_.Path() / "ievantrel"),
              (std::vector<std::string>{"HKEY_CURRENT_USER.reg", "HKEY_CURRENT_USER.reg.lock"}));
}

const std::string Header = "Windows Registry Editor Version 5.00\r\n\r\n";

// Every command refuses a store it cannot read, names the file and the line, and never overwrites it.
TEST_F(RegFileStoreTest, ACorruptStoreIsNeverOverwrittenAndNamedWithItsLine) {
    const std::pair<std::string, int> cases[] = {
        {std::string("\x8F\x03\xD1\x00\x7A\xC4\x19\xEE\x00\x42\xB7", 11), 1},
        {Utf16Le(Header + "[HKEY_CURRENT_USER\\A]\r\n").substr(0, 97), 3},
        {Utf16Le("[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"y\"\r\n"), 1},
        {Utf16Le(Header + "[HKEY_CURRENT_USER\\A\r\n\"x\"=\"y\"\r\n"), 3},
        {Utf16Le(Header + "[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"y\"\r\n\"p\"=hex(2):41,00\r\n"), 5},
        {Utf16Le(Header + "[HKEY_LOCAL_MACHINE\\A]\r\n"), 3},
        {Utf16Le(Header + "[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"y\r\n"), 4},
        {Utf16Le(Header + "[HKEY_CURRENT_USER\\A]\r\n\r\n\"x\"y\"z\"\r\n"), 5}};
    for (const auto& [bytes, line] : cases) {
        SCOPED_TRACE(line);
        WriteStore(bytes);
        const std::string expected = "\"" + StorePath() + "\" cannot be read: line " + std::to_string(line);
        const Status removed = RemoveAllShortcuts(store_);
        EXPECT_NE(removed.description().find(expected), std::string::npos) << removed.description();
        const std::vector<SearchFixFailure> failures = ApplySearchFix(store_);
        const std::vector<SearchFixValue> steps = SearchFixValues();
        ASSERT_EQ(failures.size(), steps.size());
        for (std::size_t i = 0; i < steps.size(); ++i) {
            EXPECT_EQ(failures[i].KeyPath + "|" + failures[i].ValueName, steps[i].Key + "|" + steps[i].Name);
            EXPECT_EQ(failures[i].Reason.description(), removed.description());
        }
        VectorEngineRows rows;
        rows.Add(EngineRow{"g", "", MakeRecordLine("g", "http://g/%s"), true});
        rows.Add(EngineRow{"off", "", MakeRecordLine("off", "http://off/%s"), false});
        rows.Add(EngineRow{"h", "", MakeRecordLine("h", "http://h/%s"), true});
        RecordingPrompt prompt;
        InstallEngines(rows, store_, prompt);
        ASSERT_EQ(prompt.Shown.size(), 1u);
        EXPECT_EQ(prompt.Shown[0].Icon, PromptIcon::Exclamation);
        EXPECT_TRUE(
            prompt.Shown[0].Text.starts_with("0 of 3 shortcuts have been installed.\r\n\r\n"
                                             "These shortcuts could not be installed:\r\ng\r\nh\r\n\r\n"
                                             "Because: The registry file "))
            << prompt.Shown[0].Text;
        EXPECT_NE(prompt.Shown[0].Text.find(expected), std::string::npos);
        EXPECT_FALSE(store_.KeyExists(CurrentUser, "Software"));
        EXPECT_EQ(ReadBytes(StorePath()), bytes);
    }
}

} // namespace
