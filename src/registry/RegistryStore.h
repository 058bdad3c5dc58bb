#pragma once

#include "platform/Status.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The predefined root keys the program uses.
enum class RegRoot : std::uint32_t {
    CurrentUser = 0x80000001u,
};

enum class RegType : std::uint32_t {
    String = 1, // REG_SZ
    Binary = 3, // REG_BINARY
    Dword = 4,  // REG_DWORD
};

// A value's type and data. A String's data is its text in the system's 8-bit encoding, without a terminating
// zero; a Dword's or Binary's data is its bytes. A value that a store file holds as "hex(N):" bytes (the
// types the program does not write, such as REG_EXPAND_SZ) is kept as those bytes, of the type N, whatever N
// is, and written back the same way.
struct RegValue {
    RegType Type = RegType::String;
    std::string Data;
    bool AsBytes = false;

    bool operator==(const RegValue&) const = default;
};

// A tree of keys under named roots, with named values and each key's default value (the empty name). Names
// compare without regard to case; a path with a trailing backslash names the same key as the path without it.
class RegistryStore {
public:
    virtual ~RegistryStore() = default;

    // A batch groups the steps of one command: the store is locked and read once at its start and written
    // once at its end. Outside a batch each step is a batch of its own.
    virtual Status BeginBatch() = 0;
    virtual Status EndBatch() = 0;

    // Opens the key, creating it and every missing key above it.
    virtual Status CreateKey(RegRoot root, std::string_view path) = 0;
    // Creates the key as CreateKey does and sets one value; the empty name is the default value.
    virtual Status SetValue(RegRoot root, std::string_view path, std::string_view name,
                            const RegValue& value) = 0;
    // Deletes one key; fails and keeps it when it has subkeys. A missing key is not an error.
    virtual Status DeleteKey(RegRoot root, std::string_view path) = 0;
    // Deletes the key with everything below it. A missing key is not an error.
    virtual Status DeleteTree(RegRoot root, std::string_view path) = 0;

    // Reading back. The commands only write; the tests read both stores, the Windows registry and the file,
    // through these, so the same checks of the registry's rules run on each.
    virtual bool KeyExists(RegRoot root, std::string_view path) = 0;
    virtual std::optional<RegValue> QueryValue(RegRoot root, std::string_view path,
                                               std::string_view name) = 0;
    virtual std::vector<std::string> SubKeyNames(RegRoot root, std::string_view path) = 0;
};

// Holds a batch of the store for its lifetime. Commit() ends it and tells whether the batch was written; a
// batch not committed is ended by the destructor.
class RegistryBatch {
public:
    explicit RegistryBatch(RegistryStore& store);
    ~RegistryBatch();
    RegistryBatch(const RegistryBatch&) = delete;
    RegistryBatch& operator=(const RegistryBatch&) = delete;

    const Status& Started() const noexcept { return started_; }
    Status Commit();

private:
    RegistryStore& store_;
    Status started_;
    bool open_ = false;
};
