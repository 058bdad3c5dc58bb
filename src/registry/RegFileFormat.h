#pragma once

#include "platform/Status.h"
#include "registry/RegKey.h"

#include <string>
#include <string_view>

// The two forms of the registry editor's export: UTF-16LE with a byte-order mark under the header "Windows
// Registry Editor Version 5.00", and the 8-bit "REGEDIT4" file in Windows-1252.
enum class RegFileEncoding { Utf16, Windows1252 };

// The registry editor's export of the tree under HKEY_CURRENT_USER, byte for byte as the editor writes it in
// that form: CR LF line ends, the header and one block per key.
std::string FormatRegFile(const RegKey& root, RegFileEncoding encoding);

// Whether the UTF-8 text can stand in a file of that form and be read back the same.
bool FitsRegFile(std::string_view text, RegFileEncoding encoding);

// The same export, led by the removal of the key at `removedPath` under HKEY_CURRENT_USER with everything
// below it (a "[-...]" block), so that importing the file replaces that tree instead of adding to it.
std::string FormatRegFileReplacing(std::string_view removedPath, const RegKey& root);

// Reads an export into `root` and tells its form: UTF-16LE with a byte-order mark, an 8-bit "REGEDIT4" file
// (Windows-1252), or an 8-bit file with the other header, which is UTF-8 and is written back as UTF-16. A
// file that is not in the format fails with a description naming `fileName` and the line.
Status ParseRegFile(std::string_view bytes, const std::string& fileName, RegKey& root,
                    RegFileEncoding& encoding);
