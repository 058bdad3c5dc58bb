#pragma once

#include "platform/Status.h"
#include "registry/RegistryStore.h"

#include <string>
#include <vector>

// One step of the search fix that was not written.
struct SearchFixFailure {
    std::string KeyPath;
    std::string ValueName;
    Status Reason;
};

// Writes the browser's search settings back to their fixed values, all twenty steps in one batch; returns the
// steps that failed (none on success).
std::vector<SearchFixFailure> ApplySearchFix(RegistryStore& store);
