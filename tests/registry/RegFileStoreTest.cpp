// The store file: its exact bytes, the files it reads, its place, its batches and lock, and corrupt files.
#include "registry/RegFileStore.h"
#include "engines/VectorEngineRows.h"
#include "engines/modParse.h"
#include "platform/AtomicFile.h"
#include "registry/RegistryCommands.h"
#include "registry/UserRegistry.h"
#include "registry/modCore.h"
#include "registry/modRegistry.h"
#include "support/FileBytes.h"
#include "support/RecordingPrompt.h"
#include "support/SearchFixValues.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr RegRoot User = RegRoot::CurrentUser;
const std::string SearchUrl = "Software\\Microsoft\\Internet Explorer\\SearchUrl";
using Names = std::vector<std::string>;

// UTF-16LE of an ASCII text, with the byte-order mark.
std::string Utf16Le(std::string_view ascii) {
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii) {
        bytes += std::string{c, '\0'};
    }
    return bytes;
}

RegValue Text(std::string text) {
    return RegValue{RegType::String, std::move(text)};
}

class RegFileStoreTest : public ::testing::Test {
protected:
    std::string Path() const { return folder.File("ievantrel/HKEY_CURRENT_USER.reg"); }
    void WriteStore(std::string_view bytes) {
        std::filesystem::create_directories(folder.Path() / "ievantrel");
        WriteBytes(Path(), bytes);
    }
    // Runs `work` on a store of its own in a child process; true when it returned true.
    template <typename Work> static pid_t InChild(const std::string& path, Work work) {
        const pid_t child = ::fork();
        if (child == 0) {
            RegFileStore store(path);
            ::_exit(work(store) ? 0 : 1);
        }
        return child;
    }
    static bool Succeeded(pid_t child) {
        int status = 0;
        return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    TempFolder folder;
    RegFileStore store{Path()};
};

TEST_F(RegFileStoreTest, WritesTheRegistryEditorsFormatInUtf16ByteForByte) {
    ASSERT_TRUE(WriteStringValue(store, User, "Software\\Test\\", "", "a\"b\\c").ok());
    ASSERT_TRUE(WriteDwordValue(store, User, "Software\\Test", "Count", 42).ok());
    ASSERT_TRUE(WriteBinaryValue(store, User, "Software\\Test", "Flag", 1).ok());
    ASSERT_TRUE(EnsureKey(store, User, "Software\\Test\\Empty").ok());
    EXPECT_EQ(ReadBytes(Path()),
              Utf16Le("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software]"
                      "\r\n\r\n[HKEY_CURRENT_USER\\Software\\Test]\r\n@=\"a\\\"b\\\\c\"\r\n"
                      "\"Count\"=dword:0000002a\r\n\"Flag\"=hex:01,00,00,00\r\n\r\n"
                      "[HKEY_CURRENT_USER\\Software\\Test\\Empty]\r\n\r\n"));
    ASSERT_TRUE(WriteStringValue(store, User, "Caf\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x94\x8D").ok());
    ASSERT_TRUE(WriteStringValue(store, User, "Software", "Latin1", "caf\xE9!").ok());
    EXPECT_EQ(store.QueryValue(User, "CAF\xC3\xA9", "\xE2\x82\xAC"), Text("\xF0\x9F\x94\x8D"));
    EXPECT_EQ(store.QueryValue(User, "Software", "Latin1"), Text("caf\xEF\xBF\xBD!"));
    EXPECT_NE(ReadBytes(Path()).find(std::string("C\0a\0f\0\xE9\0]\0", 10)), std::string::npos);
    EXPECT_NE(ReadBytes(Path()).find(std::string("\x3D\xD8\x0D\xDD", 4)), std::string::npos);
}

// Eight-bit files with either header, continued hex lines, and key blocks out of tree order: each value lands
// under the key line above it.
TEST_F(RegFileStoreTest, ReadsWhatTheRegistryEditorWrites) {
    WriteStore("REGEDIT4\n\n[HKEY_CURRENT_USER\\A\\B]\n[HKEY_CURRENT_USER\\C]\n[HKEY_CURRENT_USER\\A\\D]"
               "\n\"v\"=\"1\"\n"
               "[HKEY_CURRENT_USER\\A]\n\"Bytes\"=hex:01,02,\\\n  03,ff\n; a comment\n@=dword:00000010\n");
    EXPECT_EQ(store.QueryValue(User, "A\\D", "v"), Text("1"));
    EXPECT_EQ(store.QueryValue(User, "A", "Bytes"), (RegValue{RegType::Binary, "\x01\x02\x03\xFF"}));
    EXPECT_EQ(store.QueryValue(User, "A", ""), (RegValue{RegType::Dword, std::string("\x10\0\0\0", 4)}));
    EXPECT_EQ(store.SubKeyNames(User, "A\\B").size() + store.SubKeyNames(User, "C").size(), 0u);
    WriteStore("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"y\"\r\n");
    EXPECT_EQ(store.QueryValue(User, "A", "x"), Text("y"));
}

TEST_F(RegFileStoreTest, LivesUnderXdgConfigHomeOrTheHomeConfigFolder) {
    const std::string home = folder.File("home"), inHome = home + "/.config/ievantrel/HKEY_CURRENT_USER.reg";
    ::setenv("XDG_CONFIG_HOME", folder.Path().c_str(), 1);
    EXPECT_EQ(UserRegistryFilePath(), Path());
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(UserRegistryFilePath(), inHome);
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(UserRegistryFilePath(), inHome);
    // Without a home in the environment, the user's own from the system; "/" is a home like any other.
    ::unsetenv("HOME");
    EXPECT_EQ(std::filesystem::path(UserRegistryFilePath()),
              std::filesystem::path(::getpwuid(::getuid())->pw_dir) /
                  ".config/ievantrel/HKEY_CURRENT_USER.reg");
    ::setenv("HOME", "", 1);
    EXPECT_EQ(std::filesystem::path(UserRegistryFilePath()),
              std::filesystem::path(::getpwuid(::getuid())->pw_dir) /
                  ".config/ievantrel/HKEY_CURRENT_USER.reg");
    ::setenv("HOME", "/", 1);
    EXPECT_EQ(std::filesystem::path(UserRegistryFilePath()).lexically_normal(),
              "/.config/ievantrel/HKEY_CURRENT_USER.reg");
    ::setenv("HOME", home.c_str(), 1);
    auto opened = OpenUserRegistry();
    EXPECT_FALSE(opened->KeyExists(User, "Software"));
    EXPECT_FALSE(std::filesystem::exists(home));
    ASSERT_TRUE(EnsureKey(*opened, User, "Software").ok());
    EXPECT_TRUE(std::filesystem::exists(inHome));
}

TEST_F(RegFileStoreTest, RefusesPathsThatCannotNameAKeyAndWritesNothing) {
    for (const char* path : {"\\Software", "Software\\\\Deeper", "Software\\Line\nBreak"}) {
        EXPECT_FALSE(EnsureKey(store, User, path).ok()) << path;
    }
    // Each byte that is not UTF-8 becomes one character in the file, so 256 of them make too long a name.
    EXPECT_FALSE(EnsureKey(store, User, "Software\\" + std::string(256, '\x87')).ok());
    EXPECT_FALSE(WriteStringValue(store, User, "Software", "Name", "two\r\nlines").ok());
    EXPECT_FALSE(DeleteKeyTree(store, User, "").ok());
    EXPECT_FALSE(std::filesystem::exists(Path()));
}

// A batch reads once and writes once at its end; two processes writing batches at once lose nothing; a
// process that dies inside a batch leaves the old store, frees the lock, and its leftover is removed.
TEST_F(RegFileStoreTest, BatchesTakeTheLockAndTwoProcessesLoseNothing) {
    ASSERT_TRUE(InstallShortcut(store, "old", "http://old/%s").ok());
    const std::string before = ReadBytes(Path());
    {
        RegistryBatch batch(store);
        ASSERT_TRUE(batch.Started().ok() && InstallShortcut(store, "one", "u").ok());
        EXPECT_TRUE(store.KeyExists(User, SearchUrl + "\\one"));
        EXPECT_EQ(ReadBytes(Path()), before);
        ASSERT_TRUE(batch.Commit().ok());
    }
    EXPECT_EQ(RegFileStore(Path()).SubKeyNames(User, SearchUrl), (Names{"old", "one"}));
    EXPECT_TRUE(Succeeded(InChild(Path(), [&](RegFileStore& crashing) {
        crashing.BeginBatch();
        InstallShortcut(crashing, "lost", "u");
        WriteBytes(folder.File("ievantrel/.HKEY_CURRENT_USER.reg.Xy12z9"), "partial");
        return true;
    })));
    EXPECT_FALSE(store.KeyExists(User, SearchUrl + "\\lost"));
    std::vector<pid_t> children;
    for (const std::string writer : {"a", "b"}) {
        children.push_back(InChild(Path(), [&](RegFileStore& own) {
            bool ok = true;
            for (int i = 0; i < 40; ++i) {
                RegistryBatch batch(own);
                ok = ok && InstallShortcut(own, writer + std::to_string(i), "u").ok() && batch.Commit().ok();
            }
            return ok;
        }));
    }
    for (const pid_t child : children) {
        EXPECT_TRUE(Succeeded(child));
    }
    EXPECT_EQ(store.SubKeyNames(User, SearchUrl).size(), 82u);
    EXPECT_EQ(FolderListing(folder.Path() / "ievantrel"),
              (Names{"HKEY_CURRENT_USER.reg", "HKEY_CURRENT_USER.reg.lock"}));
}

// Every command refuses a store it cannot read, names the file and the line, and never overwrites it.
TEST_F(RegFileStoreTest, ACorruptStoreIsNeverOverwrittenAndEveryCommandSaysWhy) {
    const std::string header = "Windows Registry Editor Version 5.00\r\n\r\n";
    const std::pair<std::string, std::string> cases[] = {
        {Utf16Le("[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"y\"\r\n"),
         "1: the header \"Windows Registry Editor Version 5.00\" is missing."},
        {std::string("\x8F\x03\xD1\x00\x7A\xC4\x19\xEE\x00\x42\xB7", 11), "1: "},
        {Utf16Le(header + "[HKEY_CURRENT_USER\\A]\r\n").substr(0, 97), "3: "},
        {Utf16Le(header + "[HKEY_CURRENT_USER\\A\r\n\"x\"=\"y\"\r\n"), "3: "},
        {Utf16Le(header + "[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"y\"\r\n\"p\"=hex(2):41,00\r\n"), "5: "},
        {Utf16Le(header + "[HKEY_LOCAL_MACHINE\\A]\r\n"), "3: "},
        {Utf16Le(header + "[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"y\r\n"), "4: "},
        {Utf16Le(header + "[HKEY_CURRENT_USER\\A]\r\n\r\n\"x\"y\"z\"\r\n"), "5: "}};
    for (const auto& [bytes, line] : cases) {
        SCOPED_TRACE(line);
        WriteStore(bytes);
        VectorEngineRows rows;
        for (const auto& [prefix, checked] : {std::pair{"g", true}, {"off", false}, {"h", true}}) {
            rows.Add(EngineRow{prefix, "", MakeRecordLine(prefix, "http://x/%s"), checked});
        }
        RecordingPrompt prompt;
        prompt.Answers = {PromptAnswer::Yes};
        InstallEngines(rows, store, prompt);
        RemoveShortcutsCommand(store, prompt);
        SearchFixCommand(store, prompt);
        ASSERT_EQ(prompt.Shown.size(), 4u);
        const std::string reason = prompt.Shown[1].Text.substr(prompt.Shown[1].Text.find("Because: "));
        EXPECT_TRUE(
            reason.starts_with("Because: The registry file \"" + Path() + "\" cannot be read: line " + line))
            << reason;
        std::string notWritten = "The fix could not be applied completely.\r\n";
        for (const auto& [key, name, value] : SearchFixValues()) {
            notWritten += "\r\nNot written: " + key + (key.ends_with('\\') ? "" : "\\") + name;
        }
        const auto box = [](std::string title, std::string text) {
            return PromptMessage{std::move(title), std::move(text), PromptIcon::Exclamation,
                                 PromptButtons::Ok};
        };
        EXPECT_EQ(prompt.Shown[0],
                  box("InstallEngines()", "0 of 3 shortcuts have been installed.\r\n\r\nThese "
                                          "shortcuts could not be installed:\r\ng\r\nh\r\n\r\n" +
                                              reason));
        EXPECT_EQ(prompt.Shown[1],
                  box("Remove Shortcuts", "The search shortcuts could not be removed.\r\n\r\n" + reason));
        EXPECT_EQ(prompt.Shown[3], box("IE Search Fix", notWritten + "\r\n\r\n" + reason));
        EXPECT_EQ(ReadBytes(Path()), bytes);
    }
}

} // namespace
