#pragma once

#include "platform/modShellExecute.h"

#include <vector>

// A Shell that opens nothing and keeps every request, in order.
class RecordingShell final : public Shell {
public:
    void Open(const ShellOpenRequest& request) override { Opened.push_back(request); }

    std::vector<ShellOpenRequest> Opened;
};
