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
#include <map>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// `count` engines whose prefixes and URLs all carry `label`, so that two such lists differ in every row.
VectorEngineRows Engines(std::size_t count, const std::string& label) {
    VectorEngineRows rows;
    for (std::size_t i = 0; i < count; ++i) {
        AddEngineRow(rows, label + "-" + std::to_string(i),
                     "https://" + label + ".example/?n=" + std::to_string(i));
    }
    return rows;
}

// Runs `work` in a child process whose files may not grow beyond `limit` bytes (a longer write fails with
// EFBIG); the child exits with what `work` returns.
template <typename Work> pid_t Start(Work work, rlim_t limit = RLIM_INFINITY) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit files{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &files);
        ::_exit(work());
    }
    return child;
}

// The child's exit code, or 128 + the signal that ended it.
int Wait(pid_t child) {
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The work of a child: 0 when the write worked without a box saying otherwise, else 2; the boxes go to
// `told`.
int Save(const EngineRows& rows, const std::string& told = "") {
    RecordingPrompt prompt;
    const bool saved = SaveEngines(rows, prompt);
    if (!told.empty() && !prompt.Shown.empty()) {
        WriteBytes(told, prompt.Shown[0].Title + "\n" + prompt.Shown[0].Text);
    }
    return saved && prompt.Shown.empty() ? 0 : 2;
}
int Install(const EngineRows& rows, const std::string& store, const std::string& told = "") {
    RegFileStore registry(store);
    RecordingPrompt prompt;
    InstallEngines(rows, registry, prompt);
    if (!told.empty()) {
        WriteBytes(told, prompt.Shown.at(0).Title + "\n" + prompt.Shown[0].Text);
    }
    return prompt.Shown.at(0).Icon == PromptIcon::Information ? 0 : 2;
}

// Alternates the file between the lists "a" and "b", killing each write at a random moment up to a little
// beyond the time a whole write takes: the file is always the old or the new content. A stray is a hidden
// temporary file of it holding part of one of them, at most one per kill; `strays` counts those left after
// one more write.
template <typename Write> void KillRepeatedly(const std::string& path, Write write, int& strays) {
    auto took = Clock::duration::max();
    std::map<std::string, std::string> contents;
    for (const char* label : {"b", "a"}) {
        const auto start = Clock::now();
        ASSERT_EQ(Wait(Start([&] { return write(label); })), 0);
        took = std::min(took, Clock::now() - start);
        contents[label] = ReadBytes(path);
    }
    std::mt19937 random(20261206);
    std::uniform_int_distribution<long> delay(
        0, std::chrono::duration_cast<std::chrono::microseconds>(took).count() * 5 / 4);
    std::string current = "a";
    int killed = 0, oldKept = 0;
    for (int round = 0; round < 200; ++round) {
        const std::string next = current == "a" ? "b" : "a";
        const pid_t child = Start([&] { return write(next); });
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        killed += Wait(child) == 128 + SIGKILL ? 1 : 0;
        const std::string after = ReadBytes(path);
        ASSERT_TRUE(after == contents[next] || after == contents[current]) << "round " << round;
        oldKept += after == contents[current] ? 1 : 0;
        current = after == contents[next] ? next : current;
    }
    EXPECT_GT(oldKept, 0);
    EXPECT_LT(oldKept, 200);
    const std::filesystem::path file(path);
    const std::string name = file.filename().string();
    const auto strayNames = [&] {
        std::vector<std::string> names = FolderListing(file.parent_path());
        std::erase_if(names, [&](const std::string& n) { return n == name || n == name + ".lock"; });
        return names;
    };
    const std::vector<std::string> partial = strayNames();
    EXPECT_LE(std::ssize(partial), killed);
    for (const std::string& stray : partial) {
        const std::string bytes = ReadBytes((file.parent_path() / stray).string());
        EXPECT_TRUE(stray.starts_with("." + name + ".")) << stray;
        EXPECT_TRUE(contents["a"].starts_with(bytes) || contents["b"].starts_with(bytes)) << stray;
    }
    ASSERT_EQ(Wait(Start([&] { return write(current); })), 0);
    strays = static_cast<int>(strayNames().size());
    std::cout << "[ tally    ] " << killed << " killed, " << oldKept << " old, " << 200 - oldKept << " new, "
              << partial.size() << " temporary files left, " << strays << " after one more write\n";
}

TEST(KillDuringWrite, TheListIsAlwaysTheOldOrTheNewOne) {
    TempFolder app;
    InitGlobalsForExecutable(app.File("ievantrel"));
    std::map<std::string, VectorEngineRows> lists{{"a", Engines(5000, "a")}, {"b", Engines(5000, "b")}};
    int strays = 0;
    KillRepeatedly(
        EngineFile, [&](const std::string& label) { return Save(lists[label]); }, strays);
}

TEST(KillDuringWrite, TheStoreIsAlwaysTheOldOrTheNewOne) {
    TempFolder config;
    std::map<std::string, VectorEngineRows> lists{{"a", Engines(300, "a")}, {"b", Engines(300, "b")}};
    const std::string store = config.File("HKEY_CURRENT_USER.reg");
    int strays = 0;
    KillRepeatedly(
        store, [&](const std::string& label) { return Install(lists[label], store); }, strays);
    EXPECT_EQ(strays, 0) << "the store removes its leftovers when it holds its lock";
}

// Each write is reported, the old file stays byte for byte, and no temporary file is left.
TEST(HalfWayWrite, ASaveOrAnInstallKeepsTheOldFileAndSaysWhy) {
    TempFolder app, out;
    const std::string told = out.File("told"), store = app.File("HKEY_CURRENT_USER.reg");
    InitGlobalsForExecutable(app.File("ievantrel"));
    const VectorEngineRows list = Engines(5000, "new"), shortcuts = Engines(300, "new");
    ASSERT_EQ(Save(Engines(100, "old")), 0);
    ASSERT_EQ(Install(shortcuts, store), 0);
    const rlim_t halfStore = ReadBytes(store).size() / 2;
    ASSERT_EQ(Install(Engines(10, "old"), store), 0);
    const std::string oldList = ReadBytes(EngineFile), oldStore = ReadBytes(store);

    EXPECT_EQ(Wait(Start([&] { return Save(list, told); }, FormatEngineList(list).size() / 2)), 2);
    EXPECT_EQ(ReadBytes(told), "SaveEngines()\nError while trying to save search engines.\r\n\r\nFile: " +
                                   EngineFile + "\r\nError: " + std::strerror(EFBIG));
    EXPECT_EQ(Wait(Start([&] { return Install(shortcuts, store, told); }, halfStore)), 2);
    std::string names;
    for (int i = 0; i < 300; ++i) {
        names += "\r\nnew-" + std::to_string(i);
    }
    EXPECT_TRUE(
        ReadBytes(told).starts_with("InstallEngines()\n0 of 300 shortcuts have been installed.\r\n\r\nThese "
                                    "shortcuts could not be installed:" +
                                    names + "\r\n\r\nBecause: "));
    EXPECT_TRUE(ReadBytes(told).ends_with(std::strerror(EFBIG) + std::string("."))) << ReadBytes(told);
    EXPECT_EQ(ReadBytes(EngineFile), oldList);
    EXPECT_EQ(ReadBytes(store), oldStore);
    EXPECT_EQ(FolderListing(app.Path()),
              (std::vector<std::string>{"HKEY_CURRENT_USER.reg", "HKEY_CURRENT_USER.reg.lock",
                                        "Search Engines.ini"}));
}

// Two processes install different lists into one store at the same moment: both work, and the store always
// holds one complete result, never a mix.
TEST(ConcurrentInstall, TheStoreHoldsOneCompleteResult) {
    TempFolder config;
    const std::string store = config.File("HKEY_CURRENT_USER.reg");
    std::map<std::string, std::string> alone;
    const VectorEngineRows a = Engines(200, "a"), b = Engines(200, "b");
    ASSERT_EQ(Install(a, store), 0);
    const std::string onlyA = ReadBytes(store);
    ASSERT_EQ(Install(b, store), 0);
    const std::string onlyB = ReadBytes(store);
    int aLast = 0;
    for (int round = 0; round < 100; ++round) {
        const pid_t first = Start([&] { return Install(a, store); });
        const pid_t second = Start([&] { return Install(b, store); });
        ASSERT_EQ(Wait(first), 0) << "round " << round;
        ASSERT_EQ(Wait(second), 0) << "round " << round;
        const std::string after = ReadBytes(store);
        ASSERT_TRUE(after == onlyA || after == onlyB) << "round " << round << ": the store is a mix";
        aLast += after == onlyA ? 1 : 0;
    }
    EXPECT_EQ(FolderListing(config.Path()),
              (std::vector<std::string>{"HKEY_CURRENT_USER.reg", "HKEY_CURRENT_USER.reg.lock"}));
    std::cout << "[ tally    ] 100 rounds: a ended last " << aLast << " times, b " << 100 - aLast
              << " times\n";
}

} // namespace
