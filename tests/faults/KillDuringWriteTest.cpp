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

// How the rounds ended.
struct Tally {
    int OldKept = 0;
    int NewWritten = 0;
    int Killed = 0;
};

class KillDuringWrite : public ::testing::Test {
protected:
    // The file's content after a run to the end, and how long the run took.
    std::string RunToEnd(const std::vector<std::string>& arguments, Clock::duration& took) {
        const auto start = Clock::now();
        ChildProcess child(arguments, output_.File("out.txt"));
        EXPECT_EQ(child.Wait(), 0);
        took = std::max(took, Clock::now() - start);
        return FileBytes(path_);
    }

    // Alternates the file between the contents of labels "a" and "b", killing each write at a random moment
    // up to a little beyond the time a whole run takes.
    template <typename Arguments> Tally KillRepeatedly(Arguments arguments) {
        Clock::duration took{};
        std::map<std::string, std::string> contents;
        contents["b"] = RunToEnd(arguments("b"), took);
        contents["a"] = RunToEnd(arguments("a"), took);
        EXPECT_NE(contents["a"], contents["b"]);
        std::mt19937 random(20261206);
        const auto span = std::chrono::duration_cast<std::chrono::microseconds>(took).count() * 5 / 4;
        std::uniform_int_distribution<long> delay(0, span);
        std::string current = "a";
        Tally tally;
        for (int round = 0; round < Rounds; ++round) {
            const std::string next = current == "a" ? "b" : "a";
            ChildProcess child(arguments(next), output_.File("out.txt"));
            std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
            child.Kill();
            tally.Killed += child.Wait() == 128 + SIGKILL ? 1 : 0;
            const std::string after = FileBytes(path_);
            if (after == contents[next]) {
                ++tally.NewWritten;
                current = next;
            } else if (after == contents[current]) {
                ++tally.OldKept;
            } else {
                ADD_FAILURE() << "round " << round << ": the file is neither the old nor the new content";
                return tally;
            }
        }
        CheckStrays(tally, contents);
        return tally;
    }

    // Every stray is a temporary file of this file, a partial copy of one of the two contents, and there is
    // at most one per round that was killed.
    void CheckStrays(const Tally& tally, std::map<std::string, std::string>& contents) {
        const std::filesystem::path file(path_);
        const std::vector<std::string> strays =
            StrayFiles(file.parent_path(), {file.filename().string(), file.filename().string() + ".lock"});
        EXPECT_LE(static_cast<int>(strays.size()), tally.Killed);
        for (const std::string& name : strays) {
            EXPECT_TRUE(name.starts_with("." + file.filename().string() + ".")) << name;
            const std::string partial = FileBytes((file.parent_path() / name).string());
            EXPECT_TRUE(contents["a"].starts_with(partial) || contents["b"].starts_with(partial)) << name;
        }
        std::cout << "[ tally    ] " << tally.Killed << " killed, " << tally.OldKept << " kept the old file, "
                  << tally.NewWritten << " wrote the new one, " << strays.size() << " temporary files left\n";
    }

    TempFolder output_;
    std::string path_;
};

TEST_F(KillDuringWrite, TheListIsAlwaysTheOldOrTheNewOne) {
    TempFolder app;
    path_ = app.File("Search Engines.ini");
    const Tally tally = KillRepeatedly([&](const std::string& label) {
        return std::vector<std::string>{FaultHelperPath(), "save", app.File("ievantrel"), "5000", label};
    });
    EXPECT_GT(tally.Killed, 0);
    EXPECT_GT(tally.OldKept, 0);
    EXPECT_GT(tally.NewWritten, 0);
}

TEST_F(KillDuringWrite, TheStoreIsAlwaysTheOldOrTheNewOne) {
    TempFolder config;
    ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    path_ = config.File("ievantrel/HKEY_CURRENT_USER.reg");
    const Tally tally = KillRepeatedly([&](const std::string& label) {
        return std::vector<std::string>{FaultHelperPath(), "install", "300", label};
    });
    EXPECT_GT(tally.Killed, 0);
    EXPECT_GT(tally.OldKept, 0);
    EXPECT_GT(tally.NewWritten, 0);
}

} // namespace
