#include "registry/modRegistry.h"

#include <cstdint>

namespace {

// The number's 4 bytes, little-endian, as both the dword and the binary form store it.
std::string LittleEndianBytes(std::int32_t number) {
    const auto bits = static_cast<std::uint32_t>(number);
    std::string bytes;
    for (int i = 0; i < 4; ++i) {
        bytes += static_cast<char>((bits >> (8 * i)) & 0xFF);
    }
    return bytes;
}

} // namespace

Status DeleteKeyTree(RegistryStore& store, RegRoot root, std::string_view path) {
    return store.DeleteTree(root, path);
}

Status DeleteKey(RegistryStore& store, RegRoot root, std::string_view path) {
    return store.DeleteKey(root, path);
}

Status EnsureKey(RegistryStore& store, RegRoot root, std::string_view path) {
    return store.CreateKey(root, path);
}

Status WriteStringValue(RegistryStore& store, RegRoot root, std::string_view path, std::string_view name,
                        std::string_view text) {
    return store.SetValue(root, path, name, RegValue{RegType::String, std::string(text)});
}

Status WriteDwordValue(RegistryStore& store, RegRoot root, std::string_view path, std::string_view name,
                       std::int32_t number) {
    return store.SetValue(root, path, name, RegValue{RegType::Dword, LittleEndianBytes(number)});
}

Status WriteBinaryValue(RegistryStore& store, RegRoot root, std::string_view path, std::string_view name,
                        std::int32_t number) {
    return store.SetValue(root, path, name, RegValue{RegType::Binary, LittleEndianBytes(number)});
}
