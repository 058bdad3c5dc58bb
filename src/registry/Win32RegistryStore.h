#pragma once

#include "registry/RegistryStore.h"

// The Windows registry. Every call opens the key it needs and closes it before returning, whatever happened;
// a batch needs nothing, as the registry itself keeps each write.
class Win32RegistryStore final : public RegistryStore {
public:
    Status BeginBatch() override { return {}; }
    Status EndBatch() override { return {}; }

    Status CreateKey(RegRoot root, std::string_view path) override;
    Status SetValue(RegRoot root, std::string_view path, std::string_view name,
                    const RegValue& value) override;
    Status DeleteKey(RegRoot root, std::string_view path) override;
    Status DeleteTree(RegRoot root, std::string_view path) override;

    bool KeyExists(RegRoot root, std::string_view path) override;
    std::optional<RegValue> QueryValue(RegRoot root, std::string_view path, std::string_view name) override;
    std::vector<std::string> SubKeyNames(RegRoot root, std::string_view path) override;
};
