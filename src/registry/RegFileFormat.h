#pragma once

#include "platform/Status.h"
#include "registry/RegKey.h"

#include <span>
#include <string>
#include <string_view>

// The two forms of the registry editor's export: UTF-16LE with a byte-order mark under the header "Windows
// Registry Editor Version 5.00", and the 8-bit "REGEDIT4" file in Windows-1252.
enum class RegFileEncoding { Utf16, Windows1252 };

// Values formatted once, for the blocks of the many keys that hold them all.
class RegFileValues {
public:
    explicit RegFileValues(std::span<const RegNamedValue> values);

private:
    friend class RegFileWriter;
    std::string text_;
};

// Writes a registry editor's export one block at a time, in the form's encoding, so that a file of many keys
// is made without a tree of them. The header comes first; the blank line that ends the file, with Finish().
class RegFileWriter {
public:
    explicit RegFileWriter(RegFileEncoding encoding);

    // Makes room for a file of about that many characters.
    void Reserve(std::size_t characters);
    // The removal of the key at `path` under HKEY_CURRENT_USER with everything below it (a "[-...]" block).
    void RemoveTree(std::string_view path);
    // The block of the key at `path` under HKEY_CURRENT_USER (HKEY_CURRENT_USER itself for an empty path)
    // with its values.
    void Key(std::string_view path, std::span<const RegNamedValue> values);
    // The same block with `shared` after the values.
    void Key(std::string_view path, std::span<const RegNamedValue> values, const RegFileValues& shared);
    std::string Finish() &&;

private:
    void Encode();

    RegFileEncoding encoding_;
    // The text of the blocks not yet encoded, in UTF-8.
    std::string text_;
    std::string bytes_;
};

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
