#pragma once

#include "platform/Status.h"
#include "registry/RegistryStore.h"

#include <cstdint>
#include <string_view>

// The six registry procedures: the only way the program changes the registry. Each does one thing to one key
// and returns what happened.

Status DeleteKeyTree(RegistryStore& store, RegRoot root, std::string_view path);
Status DeleteKey(RegistryStore& store, RegRoot root, std::string_view path);
Status EnsureKey(RegistryStore& store, RegRoot root, std::string_view path);
Status WriteStringValue(RegistryStore& store, RegRoot root, std::string_view path, std::string_view name,
                        std::string_view text);
Status WriteDwordValue(RegistryStore& store, RegRoot root, std::string_view path, std::string_view name,
                       std::int32_t number);
// Stores the number as 4 bytes, little-endian, of type REG_BINARY.
Status WriteBinaryValue(RegistryStore& store, RegRoot root, std::string_view path, std::string_view name,
                        std::int32_t number);
