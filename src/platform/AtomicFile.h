#pragma once

#include "platform/Status.h"

#include <string>
#include <string_view>

// Whole-file reads and atomic replacement. A replacement writes a temporary file beside the target, flushes
// it to the disk and renames it over the target, so the target holds either its old content or the new one,
// never a mix. Paths are UTF-8 on Windows too (see PathText.h).

// Reads the whole file into `bytes`. On failure `bytes` holds what was read before the failure.
Status ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces (or creates) the file at `path` with `bytes`. A link is followed and its target replaced, so the
// link stays; a read-only file is never replaced, whoever asks, and the failure says so.
Status ReplaceFileAtomically(const std::string& path, std::string_view bytes);

// Removes the temporary files that replacements of `path` (or of the file its link leads to) left behind when
// their process was killed before the rename. Only for a caller that alone may replace the file at this
// moment (one holding the file's lock), since another writer's temporary file is indistinguishable from a
// leftover.
void RemoveLeftoverTemporaries(const std::string& path);
