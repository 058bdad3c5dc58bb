#pragma once

#include "platform/Status.h"
#include "registry/RegKey.h"

#include <string>
#include <string_view>

// The registry editor's export of the tree under HKEY_CURRENT_USER, byte for byte as the editor writes it:
// UTF-16LE with a byte-order mark, CR LF line ends, the "Windows Registry Editor Version 5.00" header and one
// block per key.
std::string FormatRegFile(const RegKey& root);

// The same export, led by the removal of the key at `removedPath` under HKEY_CURRENT_USER with everything
// below it (a "[-...]" block), so that importing the file replaces that tree instead of adding to it.
std::string FormatRegFileReplacing(std::string_view removedPath, const RegKey& root);

// Reads an export (UTF-16LE with a byte-order mark, or an 8-bit file with either editor's header) into
// `root`. A file that is not in the format fails with a description naming `fileName` and the line.
Status ParseRegFile(std::string_view bytes, const std::string& fileName, RegKey& root);
