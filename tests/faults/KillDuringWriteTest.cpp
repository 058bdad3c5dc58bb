// A save of the engine list and an install into the store, each in a real process killed with SIGKILL at a
// random moment, again and again: afterwards the file holds exactly its old content or its new one. A kill
// between creating the temporary file and renaming it leaves that temporary file behind (nothing removes it
// later); it is only ever a partial copy of the new content and never takes the real file's place.
#include "ChildProcess.h"
#include "FaultFolder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <map>
#include <random>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Rounds = 200;

class KillDuringWrite : public ::testing::Test {
protected:
    // Alternates the file between the contents of labels "a" and "b", killing each write at a random moment
    // up to a little beyond the time a whole run takes; some rounds must keep the old file, some write the
    // new.
    template <typename Arguments> void KillRepeatedly(Arguments arguments) {
        Clock::duration took{};
        std::map<std::string, std::string> contents;
        for (const char* label : {"b", "a"}) {
            const auto start = Clock::now();
            EXPECT_EQ(ChildProcess(arguments(label), output_.File("out.txt")).Wait(), 0);
            took = std::max(took, Clock::now() - start);
            contents[label] = FileBytes(path_);
        }
        ASSERT_NE(contents["a"], contents["b"]);
        std::mt19937 random(20261206);
        std::uniform_int_distribution<long> delay(
            0, std::chrono::duration_cast<std::chrono::microseconds>(took).count() * 5 / 4);
        std::string current = "a";
        int killed = 0;
        int oldKept = 0;
        for (int round = 0; round < Rounds; ++round) {
            const std::string next = current == "a" ? "b" : "a";
            ChildProcess child(arguments(next), output_.File("out.txt"));
            std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
            child.Kill();
            killed += child.Wait() == 128 + SIGKILL ? 1 : 0;
            const std::string after = FileBytes(path_);
            ASSERT_TRUE(after == contents[next] || after == contents[current])
                << "round " << round << ": the file is neither the old nor the new content";
            oldKept += after == contents[current] ? 1 : 0;
            current = after == contents[next] ? next : current;
        }
        EXPECT_GT(killed, 0);
        EXPECT_GT(oldKept, 0);
        EXPECT_LT(oldKept, Rounds);
        CheckStrays(killed, contents);
    }

    // Every stray is a temporary file of this file, a partial copy of one of the two contents, and there is
    // at most one per round that was killed.
    void CheckStrays(int killed, std::map<std::string, std::string>& contents) {
        const std::filesystem::path file(path_);
        const std::string name = file.filename().string();
        const std::vector<std::string> strays = StrayFiles(file.parent_path(), {name, name + ".lock"});
        EXPECT_LE(static_cast<int>(strays.size()), killed);
        for (const std::string& stray : strays) {
            EXPECT_TRUE(stray.starts_with("." + name + ".")) << stray;
            const std::string partial = FileBytes((file.parent_path() / stray).string());
            EXPECT_TRUE(contents["a"].starts_with(partial) || contents["b"].starts_with(partial)) << stray;
        }
        std::cout << "[ tally    ] " << killed << " killed, " << strays.size() << " temporary files left\n";
    }

    TempFolder output_;
    std::string path_;
};

TEST_F(KillDuringWrite, TheListIsAlwaysTheOldOrTheNewOne) {
    TempFolder app;
    path_ = app.File("Search Engines.ini");
    KillRepeatedly([&](const std::string& label) {
        return std::vector<std::string>{FaultHelperPath(), "save", app.File("ievantrel"), "5000", label};
    });
}

TEST_F(KillDuringWrite, TheStoreIsAlwaysTheOldOrTheNewOne) {
    TempFolder config;
    ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    path_ = config.File("ievantrel/HKEY_CURRENT_USER.reg");
    KillRepeatedly([&](const std::string& label) {
        return std::vector<std::string>{FaultHelperPath(), "install", "300", label};
    });
}

} // namespace
