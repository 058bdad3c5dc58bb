// Two real processes installing different engine lists into the same store at the same moment, again and
// again: each works, and the store always holds one complete result, never a mix or a torn file.
#include "ChildProcess.h"
#include "FaultFolder.h"
#include "registry/RegFileStore.h"
#include "registry/modCore.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <memory>

namespace {

constexpr int Rounds = 100;

class ConcurrentInstall : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("XDG_CONFIG_HOME", config_.Path().c_str(), 1); }

    std::vector<std::string> Install(const std::string& label) {
        return {FaultHelperPath(), "install", "200", label};
    }
    std::string Output(const std::string& label) const { return config_.File("out-" + label + ".txt"); }
    std::string Store() const { return config_.File("ievantrel/HKEY_CURRENT_USER.reg"); }

    // The store after the label's install ran alone.
    std::string Alone(const std::string& label) {
        ChildProcess child(Install(label), Output(label));
        EXPECT_EQ(child.Wait(), 0);
        return FileBytes(Store());
    }

    TempFolder config_;
};

TEST_F(ConcurrentInstall, TheStoreHoldsOneCompleteResult) {
    const std::string a = Alone("a");
    const std::string b = Alone("b");
    ASSERT_NE(a, b);
    int aLast = 0;
    for (int round = 0; round < Rounds; ++round) {
        auto first = std::make_unique<ChildProcess>(Install("a"), Output("a"));
        auto second = std::make_unique<ChildProcess>(Install("b"), Output("b"));
        ASSERT_EQ(first->Wait(), 0) << "round " << round;
        ASSERT_EQ(second->Wait(), 0) << "round " << round;
        const std::string after = FileBytes(Store());
        ASSERT_TRUE(after == a || after == b) << "round " << round << ": the store is a mix";
        aLast += after == a ? 1 : 0;
    }
    RegFileStore store(Store());
    EXPECT_EQ(store.SubKeyNames(RegRoot::CurrentUser, SearchUrlKeyPath).size(), 200u);
    EXPECT_EQ(
        StrayFiles(config_.Path() / "ievantrel", {"HKEY_CURRENT_USER.reg", "HKEY_CURRENT_USER.reg.lock"}),
        std::vector<std::string>{});
    std::cout << "[ tally    ] " << Rounds << " rounds: a ended last " << aLast << " times, b "
              << Rounds - aLast << " times\n";
}

} // namespace
