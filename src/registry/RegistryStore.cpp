#include "registry/RegistryStore.h"

RegistryBatch::RegistryBatch(RegistryStore& store) : store_(store), started_(store.BeginBatch()) {
    open_ = started_.ok();
}

RegistryBatch::~RegistryBatch() {
    if (open_) {
        // A batch left without Commit is ended on an error path that already reports its own failure.
        static_cast<void>(store_.EndBatch());
    }
}

Status RegistryBatch::Commit() {
    if (!open_) {
        return started_;
    }
    open_ = false;
    return store_.EndBatch();
}
