// The registry's rules, the installer, the search fix and the commands on the store the program opens: under
// Wine the real registry (the keys the program writes cleared first), elsewhere the store file in a fresh
// configuration folder, whose bytes, readers, place, lock and corrupt files are checked too.
#include "engines/VectorEngineRows.h"
#include "engines/modParse.h"
#include "registry/RegKey.h"
#include "registry/RegistryCommands.h"
#include "registry/SearchFix.h"
#include "registry/UserRegistry.h"
#include "registry/Utf16.h"
#include "registry/modCore.h"
#include "registry/modRegistry.h"
#include "support/FileBytes.h"
#include "support/RecordingPrompt.h"
#include "support/SearchFixValues.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include "registry/RegFileStore.h"

#include <pwd.h>
#include <unistd.h>
#endif

namespace {

constexpr RegRoot User = RegRoot::CurrentUser;
const std::string Key = "Software\\IEVantrelTest",
                  SearchUrl = "Software\\Microsoft\\Internet Explorer\\SearchUrl";
using Boxes = std::vector<PromptMessage>;
#ifdef _WIN32
const std::string Acute = "\xE9", CapitalAcute = "\xC9"; // in the ANSI code page
#else
const std::string Acute = "\xC3\xA9", CapitalAcute = "\xC3\x89";
#endif

RegValue Text(std::string text) {
    return RegValue{RegType::String, std::move(text)};
}

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
#ifdef _WIN32
        for (const char* path :
             {"Software\\Microsoft\\Internet Explorer", ".DEFAULT",
              "Software\\Microsoft\\Windows\\CurrentVersion\\URL", "Software\\IEVantrelTest"}) {
            ASSERT_TRUE(s.DeleteTree(User, path).ok()) << path;
        }
#endif
    }
    void Add(const std::string& prefix, const std::string& url, bool checked = true) {
        rows.Add(EngineRow{"", "", MakeRecordLine(prefix, url), checked});
    }
    // The shortcut's URL, when its four escapes are there too.
    std::string Shortcut(const std::string& prefix) {
        const std::string key = SearchUrl + (prefix.empty() ? "" : "\\" + prefix);
        std::string escapes;
        for (const char* name : {" ", "%", "&", "+"}) {
            escapes += s.QueryValue(User, key, name).value_or(Text("")).Data + "|";
        }
        const auto url = s.QueryValue(User, key, "");
        return url && escapes == "+|%25|%26|%2B|" ? url->Data : "(" + escapes + ")";
    }
    // The subkeys' names, sorted, each followed by a space.
    std::string SubKeys(const std::string& path = SearchUrl) {
        std::vector<std::string> names = s.SubKeyNames(User, path);
        std::ranges::sort(names);
        std::string joined;
        for (const std::string& name : names) {
            joined += name + " ";
        }
        return joined;
    }

    TempFolder config;
#ifndef _WIN32
    const std::string path = config.File("ievantrel/HKEY_CURRENT_USER.reg");
    // Set here, before the store below is opened.
    const int configHome = ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
#endif
    std::unique_ptr<RegistryStore> store = OpenUserRegistry();
    RegistryStore& s = *store;
    VectorEngineRows rows;
    RecordingPrompt prompt;
};

TEST_F(Registry, ValuesKeysCaseAndDeletionBehaveAsTheRegistrys) {
    ASSERT_TRUE(WriteStringValue(s, User, Key, "", "http://a/?q=%s").ok() &&
                WriteStringValue(s, User, Key, "Empty", "").ok());
    EXPECT_EQ(s.QueryValue(User, Key, ""), Text("http://a/?q=%s"));
    EXPECT_EQ(s.QueryValue(User, Key, "Empty"), Text(""));
    EXPECT_EQ(s.QueryValue(User, Key, "Missing"), std::nullopt);
    // Parents are made; a trailing backslash names the same key; names keep their first case.
    ASSERT_TRUE(WriteStringValue(s, User, Key + "\\Mixed\\Two\\", "Name", "first").ok());
    ASSERT_TRUE(WriteStringValue(s, User, "SOFTWARE\\ievantreltest\\MIXED\\two", "NAME", "second").ok());
    EXPECT_EQ(SubKeys(Key) + SubKeys(Key + "\\mixed"), "Mixed Two ");
    EXPECT_EQ(s.QueryValue(User, Key + "\\Mixed\\Two\\", "name"), Text("second"));
    // A key with subkeys is kept; the tree goes whole.
    EXPECT_FALSE(DeleteKey(s, User, Key + "\\Mixed").ok());
    ASSERT_TRUE(DeleteKey(s, User, Key + "\\Mixed\\Two").ok() && DeleteKey(s, User, Key + "\\Mixed").ok());
    ASSERT_TRUE(EnsureKey(s, User, Key + "\\A\\B\\").ok() && DeleteKeyTree(s, User, Key + "\\A\\").ok());
    EXPECT_EQ(SubKeys(Key), "");
    // Key names up to 255 characters.
    EXPECT_FALSE(EnsureKey(s, User, Key + "\\" + std::string(256, 'k')).description().empty());
    EXPECT_TRUE(EnsureKey(s, User, Key + "\\" + std::string(200, 'k')).ok());
}

// Rows as "+prefix url" (checked) or "-prefix url". An unchecked row leaves a checked row's key.
TEST_F(Registry, InstallRewritesTheSearchUrlKeyFromTheCheckedRowsAndReportsTheCount) {
    ASSERT_TRUE(InstallShortcut(s, "byhand", "http://by-hand/%s").ok());
    for (const std::string& row :
         std::vector<std::string>{"+g http://g/?q=%s", "-off http://off/%s", "+ http://empty/%s", "- ",
                                  "+Dup http://first", "+dUP http://second", "-DUP\\ http://unchecked",
                                  "+a\\b http://nested", "+..\\Escaped http://dots", "+noUrl ",
                                  "+" + Acute + " http://acute", "-" + CapitalAcute + " http://unchecked"}) {
        Add(row.substr(1, row.find(' ') - 1), row.substr(row.find(' ') + 1), row[0] == '+');
    }
    InstallEngines(rows, s, prompt);
    EXPECT_EQ(SubKeys(), ".. Dup a g noUrl " + Acute + " ");
    EXPECT_EQ(Shortcut("g") + Shortcut("") + Shortcut("dup") + Shortcut("a\\b") + Shortcut("..\\Escaped") +
                  Shortcut("noUrl") + Shortcut(Acute),
              "http://g/?q=%shttp://empty/%shttp://secondhttp://nestedhttp://dotshttp://acute");
    // Removing the empty prefix keeps the key; removing all deletes it, and again succeeds.
    EXPECT_TRUE(RemoveShortcut(s, "").ok() && RemoveShortcut(s, "g").ok() && RemoveShortcut(s, "g").ok());
    EXPECT_EQ(SubKeys() + Shortcut(""), ".. Dup a noUrl " + Acute + " http://empty/%s");
    EXPECT_TRUE(RemoveAllShortcuts(s).ok() && RemoveAllShortcuts(s).ok() && !s.KeyExists(User, SearchUrl));
    rows.Replace({});
    InstallEngines(rows, s, prompt);
    EXPECT_TRUE(s.KeyExists(User, SearchUrl));
    Add("good", "http://good/%s");
    Add(std::string(300, 'x'), "http://long/%s");
    Add("unchecked", "http://u/%s", false);
    InstallEngines(rows, s, prompt);
    EXPECT_EQ(Shortcut("good"), "http://good/%s");
    ASSERT_EQ(prompt.Shown.size(), 3u);
    const std::string reason = prompt.Shown[2].Text.substr(prompt.Shown[2].Text.find("\r\n\r\nBecause: "));
    EXPECT_GT(reason.size(), 13u);
    EXPECT_EQ(prompt.Shown,
              (Boxes{{"InstallEngines()", "8 of 12 shortcuts have been installed.", PromptIcon::Information,
                      PromptButtons::Ok},
                     {"InstallEngines()", "0 of 0 shortcuts have been installed.", PromptIcon::Information,
                      PromptButtons::Ok},
                     {"InstallEngines()",
                      "1 of 3 shortcuts have been installed.\r\n\r\nThese shortcuts could not be "
                      "installed:\r\n" +
                          std::string(300, 'x') + reason,
                      PromptIcon::Exclamation, PromptButtons::Ok}}));
}

// The fix writes its twenty values and leaves every other value alone; its command asks and acts only on Yes.
TEST_F(Registry, TheSearchFixWritesItsValuesOnlyOnYesAndLeavesTheRest) {
    ASSERT_TRUE(InstallShortcut(s, "keep", "http://keep/%s").ok() &&
                WriteStringValue(s, User, Key, "A", "b").ok());
    const PromptMessage question{
        "IE Search Fix",
        "Some installations of Internet Explorer cease to allow searching\r\nfrom the address bar when "
        "anti-virus or spyware-removal tools\r\nare used. Use this to fix the problem.\r\n\r\nAs is "
        "standard procedure with software that modifies the registry,\r\nreplying Yes is entirely at your "
        "own risk.\r\n\r\nDo you want to apply this fix?",
        PromptIcon::Question, PromptButtons::YesNo};
    prompt.Answers = {PromptAnswer::No, PromptAnswer::Yes};
    SearchFixCommand(s, prompt);
    EXPECT_FALSE(s.KeyExists(User, "Software\\Microsoft\\Internet Explorer\\Main"));
    SearchFixCommand(s, prompt);
    for (const auto& [key, name, value] : SearchFixValues()) {
        EXPECT_TRUE(s.KeyExists(User, key) && (!value || s.QueryValue(User, key, name) == value))
            << key << name;
    }
    EXPECT_FALSE(s.QueryValue(User, "Software\\Microsoft\\Windows\\CurrentVersion\\URL\\DefaultPrefix", ""));
    EXPECT_EQ(Shortcut("keep") + s.QueryValue(User, Key, "A")->Data, "http://keep/%sb");
    RemoveShortcutsCommand(s, prompt);
    EXPECT_FALSE(s.KeyExists(User, SearchUrl));
    EXPECT_EQ(prompt.Shown,
              (Boxes{question,
                     question,
                     {"IE Search Fix",
                      "The fix has been applied.\r\nIf searching still doesn't work, then try restarting.",
                      PromptIcon::Information, PromptButtons::Ok},
                     {"Remove Shortcuts", "All search shortcuts have been removed.", PromptIcon::Information,
                      PromptButtons::Ok}}));
}

// Bytes that are not UTF-8 and unpaired surrogates become U+FFFD, one per byte or unit.
TEST(Utf16, ConvertsWellFormedTextAndReplacesEverythingElse) {
    using namespace std::string_literals;
    const std::string bad = "\xEF\xBF\xBD", bad2 = bad + bad, bad3 = bad2 + bad;
    const std::string cases[][3] = {
        {"a\xC3\xA9\xE2\x82\xAC", "a\0\xE9\0\xAC\x20"s, "a\xC3\xA9\xE2\x82\xAC"},
        {"a\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF", "a\0\x80\0\xFF\x07\0\x08\xFF\xFF"s,
         "a\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
        {"\xF0\x90\x80\x80", "\0\xD8\0\xDC"s, "\xF0\x90\x80\x80"},
        {"\xF4\x8F\xBF\xBF", "\xFF\xDB\xFF\xDF", "\xF4\x8F\xBF\xBF"},
        {"\xED\xBF\xBF", "\xFD\xFF\xFD\xFF\xFD\xFF", bad3},
        {"\xF4\x90\x80\x80", "\xFD\xFF\xFD\xFF\xFD\xFF\xFD\xFF", bad2 + bad2},
        {"\xF8\x90\x80\x80", "\xFD\xFF\xFD\xFF\xFD\xFF\xFD\xFF", bad2 + bad2},
        {"\xC1\xBF\xE0\x9F\xBF", "\xFD\xFF\xFD\xFF\xFD\xFF\xFD\xFF\xFD\xFF", bad3 + bad2},
        {"\xE2\x82", "\xFD\xFF\xFD\xFF", bad2},
        // Runs of eight ASCII characters and more, around a character that is not.
        {"abcdefghi\xC3\xA9jklmnopqr", "a\0b\0c\0d\0e\0f\0g\0h\0i\0\xE9\0j\0k\0l\0m\0n\0o\0p\0q\0r\0"s,
         "abcdefghi\xC3\xA9jklmnopqr"}};
    for (const auto& [utf8, utf16, back] : cases) {
        std::string wide, narrow;
        AppendUtf16Le(utf8, wide);
        AppendUtf8FromUtf16Le(wide, narrow);
        EXPECT_EQ(wide + "|" + narrow, utf16 + "|" + back) << testing::PrintToString(utf8);
        EXPECT_EQ(Utf16Length(utf8), utf16.size() / 2) << testing::PrintToString(utf8);
    }
    // Read from a file: a pair, a lone high surrogate before U+E000, a lone low one, one cut off at the end.
    const std::string units[][2] = {{"\0\xD8\0\xE0"s, bad + "\xEE\x80\x80"},
                                    {"\xFF\xDB\xFF\xDB\0\xDC"s, bad + "\xF4\x8F\xB0\x80"},
                                    {"\0\xDCx\0"s, bad + "x"},
                                    {"x\0\0\xD8"s, "x" + bad}};
    for (const auto& [utf16, utf8] : units) {
        std::string narrow;
        AppendUtf8FromUtf16Le(utf16, narrow);
        EXPECT_EQ(narrow, utf8) << testing::PrintToString(utf16);
    }
}

// Names compare as the Windows registry compares them: each UTF-16 unit in its simple upper-case form.
TEST(RegKey, NamesFoldAsTheWindowsRegistryFoldsThem) {
    // az à þ ÿ ā į (every other unit) ı ſ ǅ ǆ ᾳ ｚ; ÷ ×, Ā āā, ß, beyond the BMP, bytes that are not UTF-8.
    const std::tuple<std::string, std::string, bool> cases[] = {
        {"az\xC3\xA0\xC3\xBE\xC3\xBF\xC4\x81\xC4\xAF\xC4\xB1\xC5\xBF\xC7\x85\xC7\x86\xE1\xBE\xB3\xEF\xBD\x9A",
         "AZ\xC3\x80\xC3\x9E\xC5\xB8\xC4\x80\xC4\xAEIS\xC7\x84\xC7\x84\xE1\xBE\xBC\xEF\xBC\xBA", true},
        {"\xC3\xB7", "\xC3\x97", false},
        {"\xC4\x80", "\xC4\x81\xC4\x81", false},
        {"\xC3\x9F", "SS", false},
        {"\xF0\x90\x90\xA8", "\xF0\x90\x90\x80", false},
        {"caf\xE9", "CAF\xE9", true},
        {"caf\xE9", "caf\xC9", false},
        {"\xE9\xC3\xA9", "\xC3\xA9\xE9", false}};
    for (const auto& [a, b, same] : cases) {
        EXPECT_EQ(SameName(a, b), same) << a << " " << b;
        EXPECT_EQ(FoldName(a) == FoldName(b), same) << a << " " << b;
        EXPECT_TRUE(!same || FoldedHash(a) == FoldedHash(b)) << a << " " << b;
    }
}

#ifdef _WIN32
// Values as the Windows registry hands them to any other program, as "type:bytes": texts count their zero.
TEST_F(Registry, EachValueHasItsTypeAndBytesForOtherPrograms) {
    const auto raw = [](const std::string& key, const std::string& name) {
        DWORD type = 0, size = 1024;
        std::string bytes(size, '\0');
        const LSTATUS got = RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str(),
                                         RRF_RT_ANY | RRF_NOEXPAND, &type, bytes.data(), &size);
        return got == ERROR_SUCCESS ? std::to_string(type) + ":" + bytes.substr(0, size) : "missing " + name;
    };
    ASSERT_TRUE(InstallShortcut(s, "g", "http://g/?q=%s").ok() && ApplySearchFix(s).empty());
    EXPECT_EQ(raw(SearchUrl + "\\g", "") + raw(SearchUrl + "\\g", "+"),
              std::string("1:http://g/?q=%s\0001:%2B\0", 23));
    for (auto [key, name, value] : SearchFixValues()) {
        const std::string zero(value && value->Type == RegType::String ? 1 : 0, '\0');
        key = key.ends_with('\\') ? key.substr(0, key.size() - 1) : key;
        EXPECT_TRUE(!value || raw(key, name) == std::to_string(int(value->Type)) + ":" + value->Data + zero)
            << name;
    }
}
#else
// UTF-16LE of an ASCII text, with the byte-order mark.
std::string Utf16Le(std::string_view ascii) {
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii) {
        bytes += std::string{c, '\0'};
    }
    return bytes;
}

TEST_F(Registry, TheStoreFileIsTheRegistryEditorsFormatInUtf16ByteForByte) {
    ASSERT_TRUE(WriteStringValue(s, User, "Software\\Test\\", "", "a\"b\\c").ok() &&
                WriteDwordValue(s, User, "Software\\Test", "Count", 42).ok() &&
                WriteBinaryValue(s, User, "Software\\Test", "Flag", 1).ok() &&
                EnsureKey(s, User, "Software\\Test\\Empty").ok());
    EXPECT_EQ(ReadBytes(path),
              Utf16Le("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software]"
                      "\r\n\r\n[HKEY_CURRENT_USER\\Software\\Test]\r\n@=\"a\\\"b\\\\c\"\r\n"
                      "\"Count\"=dword:0000002a\r\n\"Flag\"=hex:01,00,00,00\r\n\r\n"
                      "[HKEY_CURRENT_USER\\Software\\Test\\Empty]\r\n\r\n"));
    // Texts are UTF-8 inside and UTF-16 in the file; names fold as Windows folds them.
    ASSERT_TRUE(WriteStringValue(s, User, "Caf\xC3\xA9", "\xC3\xA9t\xC3\xA9", "\xF0\x9F\x94\x8D").ok());
    EXPECT_EQ(s.QueryValue(User, "CAF\xC3\x89", "\xC3\x89T\xC3\x89"), Text("\xF0\x9F\x94\x8D"));
    EXPECT_NE(ReadBytes(path).find(std::string("C\0a\0f\0\xE9\0]\0", 10)), std::string::npos);
    for (const std::string& key :
         std::vector<std::string>{"\\Software", "Software\\\\Deeper", "Software\\Line\nBreak"}) {
        EXPECT_FALSE(EnsureKey(s, User, key).ok()) << key;
    }
    EXPECT_FALSE(WriteStringValue(s, User, "Software", "Name", "two\r\nlines").ok() ||
                 DeleteKeyTree(s, User, "").ok());
    // Eight-bit files (a UTF-8 mark skipped), continued hex lines, key blocks out of tree order.
    WriteBytes(path,
               "\xEF\xBB\xBFREGEDIT4\n\n[HKEY_CURRENT_USER\\A\\B]\n[HKEY_CURRENT_USER\\C]\n"
               "[HKEY_CURRENT_USER\\A\\D]\n\"v\"=\"1\"\n[HKEY_CURRENT_USER\\A]\n\"Bytes\"=hex:01,02,\\\n"
               "  03,ff\n; a comment\n@=dword:00000010\n");
    EXPECT_EQ(s.QueryValue(User, "A\\D", "v"), Text("1"));
    EXPECT_EQ(s.QueryValue(User, "A", "Bytes"), (RegValue{RegType::Binary, "\x01\x02\x03\xFF"}));
    EXPECT_EQ(s.QueryValue(User, "A", ""), (RegValue{RegType::Dword, std::string("\x10\0\0\0", 4)}));
    EXPECT_EQ(SubKeys("A") + SubKeys("A\\B") + SubKeys("C"), "B D ");
}

// Either form of the store keeps what it holds as it is, typed values included, and refuses and names each
// prefix it cannot hold so.
TEST_F(Registry, TheStoreKeepsItsFormAndValuesAndRefusesWhatItCannotHold) {
    const std::string kept =
                          "\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"caf\xE9\"=\"\xE9\"\r\n\"p\"=hex(2):25,00\r\n"
                          "\"q\"=hex(b):01,02\r\n",
                      installed = "[HKEY_CURRENT_USER\\" + SearchUrl + "\\ok\xE9]";
    std::filesystem::create_directories(config.Path() / "ievantrel");
    for (const bool ansi : {false, true}) {
        const std::string file =
            ansi ? "REGEDIT4" + kept : Utf16Le("Windows Registry Editor Version 5.00" + kept);
        WriteBytes(path, file + (ansi ? "\r\n" : std::string("\r\0\n\0", 4)));
        rows.Replace({});
        for (const char* prefix : {"caf\xE9", "caf\xE8", "\xD0\x94", "ok\xC3\xA9"}) {
            Add(prefix, "http://x/%s");
        }
        InstallEngines(rows, s, prompt);
        const std::string bytes = ReadBytes(path);
        EXPECT_TRUE(bytes.starts_with(file) &&
                    bytes.find(ansi ? installed : Utf16Le(installed).substr(2)) != std::string::npos);
        EXPECT_EQ(SubKeys(), ansi ? "ok\xC3\xA9 " : "ok\xC3\xA9 \xD0\x94 ");
        EXPECT_EQ(
            prompt.Shown.back().Text,
            ansi ? "1 of 4 shortcuts have been installed.\r\n\r\nThese shortcuts could not be installed:"
                   "\r\ncaf\xE9\r\ncaf\xE8\r\n\xD0\x94\r\n\r\nBecause: Its name or text holds characters "
                   "that the registry file's code page (Windows-1252) does not have."
                 : "2 of 4 shortcuts have been installed.\r\n\r\nThese shortcuts could not be installed:"
                   "\r\ncaf\xE9\r\ncaf\xE8\r\n\r\nBecause: Its name or text holds bytes that are not "
                   "UTF-8, which the registry file cannot keep as they are.");
    }
}

// $XDG_CONFIG_HOME when absolute, else $HOME/.config, else the user's home from the system; "/" is a home.
TEST_F(Registry, TheStoreLivesUnderXdgConfigHomeOrTheHomeConfigFolder) {
    EXPECT_EQ(UserRegistryFilePath(), path);
    const std::string home = config.File("home"), own = ::getpwuid(::getuid())->pw_dir;
    const std::tuple<const char*, const char*, std::string> cases[] = {{home.c_str(), "relative", home},
                                                                       {home.c_str(), nullptr, home},
                                                                       {nullptr, nullptr, own},
                                                                       {"/", nullptr, "/"},
                                                                       {home.c_str(), nullptr, home}};
    for (const auto& [homeVariable, xdg, expected] : cases) {
        homeVariable ? ::setenv("HOME", homeVariable, 1) : ::unsetenv("HOME");
        xdg ? ::setenv("XDG_CONFIG_HOME", xdg, 1) : ::unsetenv("XDG_CONFIG_HOME");
        EXPECT_EQ(
            std::filesystem::path(UserRegistryFilePath()).lexically_normal(),
            std::filesystem::path(expected + "/.config/ievantrel/HKEY_CURRENT_USER.reg").lexically_normal());
    }
    store = OpenUserRegistry();
    EXPECT_FALSE(store->KeyExists(User, "Software") || std::filesystem::exists(home));
    ASSERT_TRUE(EnsureKey(*store, User, "Software").ok());
    EXPECT_TRUE(std::filesystem::exists(home + "/.config/ievantrel/HKEY_CURRENT_USER.reg"));
}

// A batch ends when it goes, and removes what a writer killed before its rename left.
TEST_F(Registry, ABatchReadsOnceAndWritesOnceAtItsEnd) {
    ASSERT_TRUE(InstallShortcut(s, "old", "http://old/%s").ok());
    const std::string before = ReadBytes(path);
    WriteBytes(config.File("ievantrel/.HKEY_CURRENT_USER.reg.Xy12z9"), "partial");
    RegistryBatch batch(s);
    ASSERT_TRUE(batch.Started().ok() && InstallShortcut(s, "one", "u").ok() &&
                s.KeyExists(User, SearchUrl + "\\one"));
    EXPECT_EQ(ReadBytes(path), before);
    ASSERT_TRUE(batch.Commit().ok());
    {
        RegistryBatch unfinished(s);
        ASSERT_TRUE(InstallShortcut(s, "two", "u").ok());
    }
    EXPECT_EQ(RegFileStore(path).SubKeyNames(User, SearchUrl),
              (std::vector<std::string>{"old", "one", "two"}));
    EXPECT_EQ(FolderListing(config.Path() / "ievantrel"),
              (std::vector<std::string>{"HKEY_CURRENT_USER.reg", "HKEY_CURRENT_USER.reg.lock"}));
}

// Every command refuses a store it cannot read, names the file and the line, and never overwrites it.
TEST_F(Registry, ACorruptStoreIsNeverOverwrittenAndEveryCommandSaysWhy) {
    const std::string header = "Windows Registry Editor Version 5.00\r\n\r\n",
                      key = "[HKEY_CURRENT_USER\\A]\r\n";
    const std::string cases[][2] = {{Utf16Le(key + "\"x\"=\"y\"\r\n"),
                                     "1: the header \"Windows Registry Editor Version 5.00\" is missing."},
                                    {std::string("\x8F\x03\xD1\x00\x7A\xC4\x19\xEE\x00\x42\xB7", 11), "1: "},
                                    {Utf16Le(header + key).substr(0, 97), "3: "},
                                    {Utf16Le(header + "[HKEY_CURRENT_USER\\A\r\n\"x\"=\"y\"\r\n"), "3: "},
                                    {Utf16Le(header + key + "\"x\"=\"y\"\r\n\"p\"=hex(2:41,00\r\n"), "5: "},
                                    {header + key + "\"x\"=\"caf\xE9\"\r\n", "4: "},
                                    {Utf16Le(header + key + "\"p\"=hex:001\r\n"), "4: "},
                                    {Utf16Le(header + "[HKEY_LOCAL_MACHINE\\A]\r\n"), "3: "},
                                    {Utf16Le(header + key + "\"x\"=\"y\r\n"), "4: "},
                                    {Utf16Le(header + key + "\r\n\"x\"y\"z\"\r\n"), "5: "}};
    std::filesystem::create_directories(config.Path() / "ievantrel");
    Add("g", "http://x/%s");
    Add("off", "http://x/%s", false);
    Add("h", "http://x/%s");
    std::string notWritten = "The fix could not be applied completely.\r\n";
    for (const auto& [key, name, value] : SearchFixValues()) {
        notWritten += "\r\nNot written: " + key + (key.ends_with('\\') ? "" : "\\") + name;
    }
    for (const auto& [bytes, line] : cases) {
        WriteBytes(path, bytes);
        prompt.Shown.clear();
        prompt.Answers = {PromptAnswer::Yes};
        InstallEngines(rows, s, prompt);
        RemoveShortcutsCommand(s, prompt);
        SearchFixCommand(s, prompt);
        ASSERT_EQ(prompt.Shown.size(), 4u);
        const std::string reason =
            prompt.Shown[1].Text.substr(prompt.Shown[1].Text.find("\r\n\r\nBecause: "));
        EXPECT_TRUE(reason.starts_with("\r\n\r\nBecause: The registry file \"" + path +
                                       "\" cannot be read: line " + line))
            << reason;
        const auto box = [](std::string title, std::string text) {
            return PromptMessage{std::move(title), std::move(text), PromptIcon::Exclamation,
                                 PromptButtons::Ok};
        };
        EXPECT_EQ(prompt.Shown[0],
                  box("InstallEngines()", "0 of 3 shortcuts have been installed.\r\n\r\nThese "
                                          "shortcuts could not be installed:\r\ng\r\nh" +
                                              reason));
        EXPECT_EQ(prompt.Shown[1],
                  box("Remove Shortcuts", "The search shortcuts could not be removed." + reason));
        EXPECT_EQ(prompt.Shown[3], box("IE Search Fix", notWritten + reason));
        EXPECT_EQ(ReadBytes(path), bytes);
    }
    // With nothing checked there is still a tree to clear and keys to remove, and they were not.
    rows.Replace({});
    Add("off", "http://x/%s", false);
    InstallEngines(rows, s, prompt);
    const std::string told = prompt.Shown.back().Text;
    EXPECT_EQ(prompt.Shown.back(),
              (PromptMessage{"InstallEngines()",
                             "0 of 1 shortcuts have been installed.\r\n\r\nThese shortcuts could not be "
                             "removed:\r\nHKEY_CURRENT_USER\\" +
                                 SearchUrl + told.substr(told.find("\r\n\r\nBecause: The registry file")),
                             PromptIcon::Exclamation, PromptButtons::Ok}));
}
#endif

} // namespace
