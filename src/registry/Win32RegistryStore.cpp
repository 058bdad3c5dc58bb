#include "registry/Win32RegistryStore.h"

#include "platform/Win32Error.h"

#include <windows.h>

#include <shlwapi.h>

namespace {

// Closes the key when it goes, whether the work done with it succeeded or not.
class KeyHandle {
public:
    KeyHandle() = default;
    ~KeyHandle() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    KeyHandle(const KeyHandle&) = delete;
    KeyHandle& operator=(const KeyHandle&) = delete;

    HKEY* Out() noexcept { return &key_; }
    HKEY get() const noexcept { return key_; }

private:
    HKEY key_ = nullptr;
};

HKEY RootHandle(RegRoot root) {
    switch (root) {
    case RegRoot::CurrentUser:
        return HKEY_CURRENT_USER;
    }
    return nullptr;
}

Status FromResult(LONG result) {
    return result == ERROR_SUCCESS ? Status() : StatusFromWin32(static_cast<unsigned long>(result));
}

// A key that is already gone needs no deleting.
Status FromDeleteResult(LONG result) {
    return result == ERROR_FILE_NOT_FOUND ? Status() : FromResult(result);
}

std::optional<RegType> TypeOf(DWORD type) {
    switch (type) {
    case REG_SZ:
        return RegType::String;
    case REG_DWORD:
        return RegType::Dword;
    case REG_BINARY:
        return RegType::Binary;
    default:
        return std::nullopt;
    }
}

} // namespace

Status Win32RegistryStore::CreateKey(RegRoot root, std::string_view path) {
    KeyHandle key;
    return FromResult(RegCreateKeyA(RootHandle(root), std::string(path).c_str(), key.Out()));
}

Status Win32RegistryStore::SetValue(RegRoot root, std::string_view path, std::string_view name,
                                    const RegValue& value) {
    KeyHandle key;
    if (Status created = FromResult(RegCreateKeyA(RootHandle(root), std::string(path).c_str(), key.Out()));
        !created.ok()) {
        return created;
    }
    // A REG_SZ value's byte count includes its terminating zero; readers drop the last character otherwise.
    std::string data = value.Data;
    if (value.Type == RegType::String) {
        data.push_back('\0');
    }
    return FromResult(RegSetValueExA(key.get(), std::string(name).c_str(), 0, static_cast<DWORD>(value.Type),
                                     reinterpret_cast<const BYTE*>(data.data()),
                                     static_cast<DWORD>(data.size())));
}

Status Win32RegistryStore::DeleteKey(RegRoot root, std::string_view path) {
    return FromDeleteResult(RegDeleteKeyA(RootHandle(root), std::string(path).c_str()));
}

Status Win32RegistryStore::DeleteTree(RegRoot root, std::string_view path) {
    return FromDeleteResult(static_cast<LONG>(SHDeleteKeyA(RootHandle(root), std::string(path).c_str())));
}

bool Win32RegistryStore::KeyExists(RegRoot root, std::string_view path) {
    KeyHandle key;
    return RegOpenKeyExA(RootHandle(root), std::string(path).c_str(), 0, KEY_READ, key.Out()) ==
           ERROR_SUCCESS;
}

std::optional<RegValue> Win32RegistryStore::QueryValue(RegRoot root, std::string_view path,
                                                       std::string_view name) {
    KeyHandle key;
    if (RegOpenKeyExA(RootHandle(root), std::string(path).c_str(), 0, KEY_READ, key.Out()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const std::string valueName(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::string data(size, '\0');
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    data.resize(size);
    const std::optional<RegType> known = TypeOf(type);
    if (!known) {
        return std::nullopt;
    }
    if (*known == RegType::String && !data.empty() && data.back() == '\0') {
        data.pop_back();
    }
    return RegValue{*known, std::move(data)};
}

std::vector<std::string> Win32RegistryStore::SubKeyNames(RegRoot root, std::string_view path) {
    std::vector<std::string> names;
    KeyHandle key;
    if (RegOpenKeyExA(RootHandle(root), std::string(path).c_str(), 0, KEY_READ, key.Out()) != ERROR_SUCCESS) {
        return names;
    }
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            return names;
        }
        names.emplace_back(name, length);
    }
}
