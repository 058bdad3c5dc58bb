// Real saves and installs in child processes that are killed with SIGKILL at random moments, whose files may
// not grow beyond half the new content, or that run two at once.
#include "engines/VectorEngineRows.h"
#include "engines/modFileIO.h"
#include "engines/modGUI.h"
#include "platform/AppPaths.h"
#include "registry/RegFileStore.h"
#include "registry/modCore.h"
#include "support/FileBytes.h"
#include "support/RecordingPrompt.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <iostream>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>

namespace {

// `count` engines whose prefixes and URLs all carry `label`, so that two such lists differ in every row.
VectorEngineRows Engines(int count, const std::string& label) {
    VectorEngineRows rows;
    for (int i = 0; i < count; ++i) {
        AddEngineRow(rows, label + "-" + std::to_string(i),
                     "https://" + label + ".example/?n=" + std::to_string(i));
    }
    return rows;
}

// Saves the list, or installs it into the store at `store`: 0 when no box warned, else 2, with the box's
// title and text written to `told`.
int Write(const EngineRows& rows, const std::string& store = "", const std::string& told = "/dev/null") {
    RecordingPrompt prompt;
    if (store.empty()) {
        SaveEngines(rows, prompt);
    } else {
        RegFileStore registry(store);
        InstallEngines(rows, registry, prompt);
    }
    const bool warned = !prompt.Shown.empty() && prompt.Shown[0].Icon != PromptIcon::Information;
    WriteBytes(told, warned ? prompt.Shown[0].Title + "\n" + prompt.Shown[0].Text : "");
    return warned ? 2 : 0;
}

// Runs `work` in a child process whose files may not grow beyond `limit` bytes (a longer write fails with
// EFBIG); the child's exit code, or 128 + the signal that ended it, once `stop` has run.
template <typename Work, typename Stop = void (*)(pid_t)>
int InChild(
    Work work, rlim_t limit = RLIM_INFINITY, Stop stop = [](pid_t) {}) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit files{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &files);
        ::_exit(work());
    }
    stop(child);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Writes the lists "a" and "b" in turn, killing each write at a random moment up to a little beyond a whole
// write's time: the file is the old or the new content, and strays are partial hidden copies, at most one per
// kill. The bound follows the write's speed, which other work on the machine changes: it grows after the old
// content is kept and shrinks after the new one. Returns how many strays are left after one more write.
std::size_t KillRepeatedly(const std::string& path, int count, const std::string& store = "") {
    std::map<std::string, VectorEngineRows> lists{{"a", Engines(count, "a")}, {"b", Engines(count, "b")}};
    std::map<std::string, std::string> contents;
    auto took = std::chrono::steady_clock::duration::max();
    for (const char* label : {"b", "a"}) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(InChild([&] { return Write(lists[label], store); }), 0);
        took = std::min(took, std::chrono::steady_clock::now() - start);
        contents[label] = ReadBytes(path);
    }
    std::mt19937 random(20261206);
    double bound = std::chrono::duration<double, std::micro>(took).count() * 5 / 4;
    std::string current = "a";
    int killed = 0, oldKept = 0;
    for (int round = 0; round < 200; ++round) {
        const std::string next = current == "a" ? "b" : "a";
        killed += InChild([&] { return Write(lists[next], store); }, RLIM_INFINITY,
                          [&](pid_t child) {
                              std::this_thread::sleep_for(std::chrono::duration<double, std::micro>(
                                  std::uniform_real_distribution<double>(0, bound)(random)));
                              ::kill(child, SIGKILL);
                          }) == 128 + SIGKILL;
        const std::string after = ReadBytes(path);
        EXPECT_TRUE(after == contents[next] || after == contents[current]) << "round " << round;
        oldKept += after == contents[current];
        bound *= after == contents[current] ? 1.05 : 1 / 1.05;
        current = after == contents[next] ? next : current;
    }
    EXPECT_TRUE(oldKept > 0 && oldKept < 200) << oldKept;
    const std::filesystem::path file(path);
    const auto strays = [&] {
        std::vector<std::string> names = FolderListing(file.parent_path());
        std::erase_if(names,
                      [&](const std::string& n) { return n == file.filename() || n.ends_with(".lock"); });
        return names;
    };
    const std::vector<std::string> partial = strays();
    EXPECT_LE(std::ssize(partial), killed);
    for (const std::string& stray : partial) {
        const std::string bytes = ReadBytes((file.parent_path() / stray).string());
        EXPECT_TRUE(stray.starts_with("." + file.filename().string() + ".")) << stray;
        EXPECT_TRUE(contents["a"].starts_with(bytes) || contents["b"].starts_with(bytes)) << stray;
    }
    EXPECT_EQ(InChild([&] { return Write(lists[current], store); }), 0);
    std::cout << "[ tally    ] " << killed << " killed, " << oldKept << " old, " << 200 - oldKept << " new, "
              << partial.size() << " temporary files left, " << strays().size() << " after one more write\n";
    return strays().size();
}

TEST(KillDuringWrite, TheListIsAlwaysTheOldOrTheNewOne) {
    TempFolder app;
    InitGlobalsForExecutable(app.File("ievantrel"));
    KillRepeatedly(EngineFile, 5000);
}

TEST(KillDuringWrite, TheStoreIsAlwaysTheOldOrTheNewOneAndRemovesItsLeftovers) {
    TempFolder config;
    EXPECT_EQ(KillRepeatedly(config.File("HKEY_CURRENT_USER.reg"), 300, config.File("HKEY_CURRENT_USER.reg")),
              0u);
}

// Each write is reported, the old file stays byte for byte, and no temporary file is left.
TEST(HalfWayWrite, ASaveOrAnInstallKeepsTheOldFileAndSaysWhy) {
    TempFolder app, out;
    const std::string told = out.File("told"), store = app.File("HKEY_CURRENT_USER.reg");
    InitGlobalsForExecutable(app.File("ievantrel"));
    const VectorEngineRows list = Engines(5000, "new"), shortcuts = Engines(300, "new");
    ASSERT_EQ(Write(Engines(100, "old")) + Write(shortcuts, store), 0);
    const rlim_t halfStore = ReadBytes(store).size() / 2;
    ASSERT_EQ(Write(Engines(10, "old"), store), 0);
    const std::string oldList = ReadBytes(EngineFile), oldStore = ReadBytes(store);

    EXPECT_EQ(InChild([&] { return Write(list, "", told); }, FormatEngineList(list).size() / 2), 2);
    EXPECT_EQ(ReadBytes(told), "SaveEngines()\nError while trying to save search engines.\r\n\r\nFile: " +
                                   EngineFile + "\r\nError: " + std::strerror(EFBIG));
    EXPECT_EQ(InChild([&] { return Write(shortcuts, store, told); }, halfStore), 2);
    std::string names;
    for (int i = 0; i < 300; ++i) {
        names += "\r\nnew-" + std::to_string(i);
    }
    EXPECT_TRUE(
        ReadBytes(told).starts_with("InstallEngines()\n0 of 300 shortcuts have been installed.\r\n\r\n"
                                    "These shortcuts could not be installed:" +
                                    names + "\r\n\r\nBecause: "));
    EXPECT_TRUE(ReadBytes(told).ends_with(std::strerror(EFBIG) + std::string("."))) << ReadBytes(told);
    EXPECT_EQ(ReadBytes(EngineFile) + ReadBytes(store), oldList + oldStore);
    EXPECT_EQ(FolderListing(app.Path()),
              (std::vector<std::string>{"HKEY_CURRENT_USER.reg", "HKEY_CURRENT_USER.reg.lock",
                                        "Search Engines.ini"}));
}

// Two processes install different lists into one store at once: both work, the store holds one of them.
TEST(ConcurrentInstall, TheStoreHoldsOneCompleteResult) {
    TempFolder config;
    const std::string store = config.File("HKEY_CURRENT_USER.reg");
    const VectorEngineRows a = Engines(200, "a"), b = Engines(200, "b");
    ASSERT_EQ(Write(a, store), 0);
    const std::string onlyA = ReadBytes(store);
    ASSERT_EQ(Write(b, store), 0);
    const std::string onlyB = ReadBytes(store);
    int aLast = 0;
    for (int round = 0; round < 100; ++round) {
        const int first = InChild(
            [&] { return Write(a, store); }, RLIM_INFINITY,
            [&](pid_t) { ASSERT_EQ(InChild([&] { return Write(b, store); }), 0) << "round " << round; });
        ASSERT_EQ(first, 0) << "round " << round;
        ASSERT_TRUE(ReadBytes(store) == onlyA || ReadBytes(store) == onlyB) << "round " << round << ": a mix";
        aLast += ReadBytes(store) == onlyA;
    }
    EXPECT_EQ(FolderListing(config.Path()),
              (std::vector<std::string>{"HKEY_CURRENT_USER.reg", "HKEY_CURRENT_USER.reg.lock"}));
    std::cout << "[ tally    ] 100 rounds: a ended last " << aLast << " times, b " << 100 - aLast
              << " times\n";
}

} // namespace
