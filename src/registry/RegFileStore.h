#pragma once

#include "platform/FileLock.h"
#include "registry/RegFileFormat.h"
#include "registry/RegKey.h"
#include "registry/RegistryStore.h"

#include <initializer_list>
#include <string>

// HKEY_CURRENT_USER kept in one file in the registry editor's export format, for systems without a registry.
// A batch holds an exclusive lock on a lock file beside the store, reads the store once and replaces it
// atomically once, so two running copies of the program never lose each other's writes. A store that cannot
// be parsed is never written. The store keeps the form it was found in: an 8-bit "REGEDIT4" file stays one,
// anything else is written as UTF-16; a text that the file cannot hold as it is is refused.
class RegFileStore final : public RegistryStore {
public:
    explicit RegFileStore(std::string path) : path_(std::move(path)) {}

    const std::string& Path() const noexcept { return path_; }

    Status BeginBatch() override;
    Status EndBatch() override;

    Status CreateKey(RegRoot root, std::string_view path) override;
    Status SetValue(RegRoot root, std::string_view path, std::string_view name,
                    const RegValue& value) override;
    Status DeleteKey(RegRoot root, std::string_view path) override;
    Status DeleteTree(RegRoot root, std::string_view path) override;

    bool KeyExists(RegRoot root, std::string_view path) override;
    std::optional<RegValue> QueryValue(RegRoot root, std::string_view path, std::string_view name) override;
    std::vector<std::string> SubKeyNames(RegRoot root, std::string_view path) override;

private:
    // Runs one change on the tree: inside the open batch, or in a batch of its own.
    template <typename Step> Status Change(Step step);
    // Runs one change on the parent of the key at the path, when the parent exists.
    template <typename Step> Status ChangeInParent(RegRoot root, std::string_view path, Step step);
    Status Read(RegKey& root, RegFileEncoding& encoding) const;
    // Whether each text can go into the store file and come back the same.
    Status CheckFits(std::initializer_list<std::string_view> texts) const;
    // The key that values at the path go to, created when missing. The last one is kept for the next write,
    // as a shortcut's five values all go to one key.
    RegKey& KeyToWrite(RegKey& tree, std::string_view path, const std::vector<std::string_view>& names);
    void ForgetKeyToWrite();
    // The key at the path, or null; outside a batch the store is read into `scratch` first.
    const RegKey* Find(std::string_view path, RegKey& scratch);

    std::string path_;
    FileLock lock_;
    RegKey root_{std::string()};
    RegFileEncoding encoding_ = RegFileEncoding::Utf16;
    int depth_ = 0;
    bool dirty_ = false;
    std::string lastPath_;
    RegKey* lastKey_ = nullptr;
};
