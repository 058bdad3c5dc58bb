#include "registry/RegFileStore.h"

#include "platform/AtomicFile.h"
#include "registry/RegFileFormat.h"
#include "registry/RegKeyPath.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace {

Status CheckRoot(RegRoot root) {
    if (root != RegRoot::CurrentUser) {
        return Status::Failure(EINVAL, "This store holds only HKEY_CURRENT_USER.");
    }
    return {};
}

Status CheckValue(std::string_view name, const RegValue& value) {
    if (!FitsOnOneLine(name) || (value.Type == RegType::String && !FitsOnOneLine(value.Data))) {
        return Status::Failure(EINVAL,
                               "The value \"" + std::string(name) +
                                   "\" holds a line break or a zero character, which the store cannot hold.");
    }
    if (value.Type == RegType::Dword && value.Data.size() != 4) {
        return Status::Failure(EINVAL, "A dword value is 4 bytes long.");
    }
    return {};
}

Status FileFailure(const std::string& path, const char* what, const Status& reason) {
    return Status::Failure(reason.code(), "The registry file \"" + path + "\" cannot be " + what + ": " +
                                              reason.description() + ".");
}

// The key at the end of the names, or null when any of them is missing.
RegKey* Walk(RegKey& root, const std::vector<std::string_view>& names) {
    RegKey* key = &root;
    for (const std::string_view name : names) {
        key = key->Child(name);
        if (key == nullptr) {
            return nullptr;
        }
    }
    return key;
}

RegKey& WalkCreating(RegKey& root, const std::vector<std::string_view>& names) {
    RegKey* key = &root;
    for (const std::string_view name : names) {
        key = &key->ChildOrNew(name);
    }
    return *key;
}

Status SplitStorePath(RegRoot root, std::string_view path, std::vector<std::string_view>& names) {
    if (Status checked = CheckRoot(root); !checked.ok()) {
        return checked;
    }
    return SplitKeyPath(path, names);
}

// Splits the path of a key that is to be deleted: the root itself cannot be.
Status SplitDeletedPath(RegRoot root, std::string_view path, std::vector<std::string_view>& names) {
    if (Status split = SplitStorePath(root, path, names); !split.ok()) {
        return split;
    }
    if (names.empty()) {
        return Status::Failure(EACCES, "HKEY_CURRENT_USER itself cannot be deleted.");
    }
    return {};
}

} // namespace

Status RegFileStore::Read(RegKey& root, RegFileEncoding& encoding) const {
    root = RegKey(std::string());
    encoding = RegFileEncoding::Utf16;
    std::string bytes;
    if (Status read = ReadWholeFile(path_, bytes); !read.ok()) {
        return read.code() == ENOENT ? Status() : FileFailure(path_, "read", read);
    }
    return ParseRegFile(bytes, path_, root, encoding);
}

Status RegFileStore::CheckFits(std::initializer_list<std::string_view> texts) const {
    for (const std::string_view text : texts) {
        if (!FitsRegFile(text, encoding_)) {
            return Status::Failure(
                EILSEQ,
                encoding_ == RegFileEncoding::Utf16
                    ? "Its name or text holds bytes that are not UTF-8, which the registry file cannot keep "
                      "as they are."
                    : "Its name or text holds characters that the registry file's code page (Windows-1252) "
                      "does not have.");
        }
    }
    return {};
}

Status RegFileStore::BeginBatch() {
    if (depth_ > 0) {
        ++depth_;
        return {};
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), error);
    if (error) {
        return FileFailure(path_, "created", Status::Failure(error.value(), error.message()));
    }
    if (Status locked = lock_.Acquire(path_ + ".lock"); !locked.ok()) {
        return locked;
    }
    // Holding the lock, no other copy is writing the store: any temporary file of it is a killed writer's.
    RemoveLeftoverTemporaries(path_);
    if (Status read = Read(root_, encoding_); !read.ok()) {
        lock_.Release();
        root_ = RegKey(std::string());
        return read;
    }
    depth_ = 1;
    dirty_ = false;
    return {};
}

Status RegFileStore::EndBatch() {
    if (depth_ == 0 || --depth_ > 0) {
        return {};
    }
    Status written;
    if (dirty_) {
        written = ReplaceFileAtomically(path_, FormatRegFile(root_, encoding_));
        if (!written.ok()) {
            written = FileFailure(path_, "written", written);
        }
    }
    ForgetKeyToWrite();
    root_ = RegKey(std::string());
    dirty_ = false;
    lock_.Release();
    return written;
}

template <typename Step> Status RegFileStore::Change(Step step) {
    const bool own = depth_ == 0;
    if (own) {
        if (Status begun = BeginBatch(); !begun.ok()) {
            return begun;
        }
    }
    Status changed = step(root_);
    dirty_ = dirty_ || changed.ok();
    if (own) {
        Status ended = EndBatch();
        if (changed.ok()) {
            return ended;
        }
    }
    return changed;
}

Status RegFileStore::CreateKey(RegRoot root, std::string_view path) {
    std::vector<std::string_view> names;
    if (Status split = SplitStorePath(root, path, names); !split.ok()) {
        return split;
    }
    return Change([&](RegKey& tree) {
        if (Status fits = CheckFits({path}); !fits.ok()) {
            return fits;
        }
        WalkCreating(tree, names);
        return Status();
    });
}

Status RegFileStore::SetValue(RegRoot root, std::string_view path, std::string_view name,
                              const RegValue& value) {
    std::vector<std::string_view> names;
    if (lastKey_ == nullptr || path != lastPath_) {
        if (Status split = SplitStorePath(root, path, names); !split.ok()) {
            return split;
        }
    } else if (Status checked = CheckRoot(root); !checked.ok()) {
        return checked;
    }
    if (Status checked = CheckValue(name, value); !checked.ok()) {
        return checked;
    }
    return Change([&](RegKey& tree) {
        // A path split above is new to this batch; the one kept from the last write was checked then.
        const std::string_view newPath = names.empty() ? std::string_view() : path;
        const std::string_view text = value.Type == RegType::String ? std::string_view(value.Data) : "";
        if (Status fits = CheckFits({newPath, name, text}); !fits.ok()) {
            return fits;
        }
        KeyToWrite(tree, path, names).SetValue(name, value);
        return Status();
    });
}

RegKey& RegFileStore::KeyToWrite(RegKey& tree, std::string_view path,
                                 const std::vector<std::string_view>& names) {
    if (lastKey_ == nullptr || path != lastPath_) {
        lastKey_ = &WalkCreating(tree, names);
        lastPath_ = path;
    }
    return *lastKey_;
}

void RegFileStore::ForgetKeyToWrite() {
    lastKey_ = nullptr;
    lastPath_.clear();
}

template <typename Step> Status RegFileStore::ChangeInParent(RegRoot root, std::string_view path, Step step) {
    std::vector<std::string_view> names;
    if (Status split = SplitDeletedPath(root, path, names); !split.ok()) {
        return split;
    }
    const std::string_view name = names.back();
    names.pop_back();
    return Change([&](RegKey& tree) {
        ForgetKeyToWrite();
        RegKey* parent = Walk(tree, names);
        return parent == nullptr ? Status() : step(*parent, name);
    });
}

Status RegFileStore::DeleteKey(RegRoot root, std::string_view path) {
    return ChangeInParent(root, path, [path](RegKey& parent, std::string_view name) {
        const RegKey* key = parent.Child(name);
        if (key != nullptr && !key->Children().empty()) {
            return Status::Failure(EACCES,
                                   "The key \"" + std::string(path) + "\" has subkeys and was not deleted.");
        }
        parent.RemoveChild(name);
        return Status();
    });
}

Status RegFileStore::DeleteTree(RegRoot root, std::string_view path) {
    return ChangeInParent(root, path, [](RegKey& parent, std::string_view name) {
        parent.RemoveChild(name);
        return Status();
    });
}

const RegKey* RegFileStore::Find(std::string_view path, RegKey& scratch) {
    std::vector<std::string_view> names;
    if (!SplitKeyPath(path, names).ok()) {
        return nullptr;
    }
    if (depth_ > 0) {
        return Walk(root_, names);
    }
    RegFileEncoding encoding = RegFileEncoding::Utf16;
    return Read(scratch, encoding).ok() ? Walk(scratch, names) : nullptr;
}

bool RegFileStore::KeyExists(RegRoot root, std::string_view path) {
    RegKey scratch{std::string()};
    return root == RegRoot::CurrentUser && Find(path, scratch) != nullptr;
}

std::optional<RegValue> RegFileStore::QueryValue(RegRoot root, std::string_view path, std::string_view name) {
    RegKey scratch{std::string()};
    const RegKey* key = root == RegRoot::CurrentUser ? Find(path, scratch) : nullptr;
    const RegValue* value = key == nullptr ? nullptr : key->Value(name);
    return value == nullptr ? std::nullopt : std::optional<RegValue>(*value);
}

std::vector<std::string> RegFileStore::SubKeyNames(RegRoot root, std::string_view path) {
    RegKey scratch{std::string()};
    const RegKey* key = root == RegRoot::CurrentUser ? Find(path, scratch) : nullptr;
    std::vector<std::string> names;
    if (key != nullptr) {
        for (const RegKey& child : key->Children()) {
            names.push_back(child.Name());
        }
    }
    return names;
}
