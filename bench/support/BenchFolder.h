#pragma once

#include "platform/AppPaths.h"
#include "support/TempFolder.h"

#include <filesystem>

// A throwaway application folder, removed when the benchmark ends; the program's paths point into it while
// it lives.
class BenchFolder {
public:
    BenchFolder() { InitGlobalsForExecutable(folder_.File("ievantrel")); }

    const std::filesystem::path& Path() const { return folder_.Path(); }

private:
    TempFolder folder_;
};
