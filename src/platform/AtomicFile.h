#pragma once

#include "platform/Status.h"

#include <string>
#include <string_view>

// Whole-file reads and atomic replacement. A replacement writes a temporary file beside the target, flushes
// it to the disk and renames it over the target, so the target holds either its old content or the new one,
// never a mix.

// Reads the whole file into `bytes`. On failure `bytes` holds what was read before the failure.
Status ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces (or creates) the file at `path` with `bytes`.
Status ReplaceFileAtomically(const std::string& path, std::string_view bytes);
