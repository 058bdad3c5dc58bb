#pragma once

#include "registry/UserRegistry.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

// A test over the current user's registry as the program opens it: under Wine the real registry, with the
// keys the program writes cleared first; elsewhere the store file in a fresh configuration folder.
class UserRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
#ifndef _WIN32
        ::setenv("XDG_CONFIG_HOME", config_.Path().c_str(), 1);
#endif
        store_ = OpenUserRegistry();
#ifdef _WIN32
        for (const char* path :
             {"Software\\Microsoft\\Internet Explorer", ".DEFAULT",
              "Software\\Microsoft\\Windows\\CurrentVersion\\URL", "Software\\IEVantrelTest"}) {
            ASSERT_TRUE(store_->DeleteTree(RegRoot::CurrentUser, path).ok()) << path;
        }
#endif
    }
    RegistryStore& Store() {
        return *store_;
    }
    const TempFolder& ConfigFolder() const {
        return config_;
    }

private:
    TempFolder config_;
    std::unique_ptr<RegistryStore> store_;
};
