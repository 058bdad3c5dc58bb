#include "registry/RegFileFormat.h"

#include "registry/RegFileParser.h"
#include "registry/Utf16.h"

#include <cstdint>

namespace {

constexpr std::string_view Header = "Windows Registry Editor Version 5.00";
constexpr std::string_view Header8Bit = "REGEDIT4";
constexpr std::string_view RootName = "HKEY_CURRENT_USER";
constexpr std::string_view ByteOrderMark = "\xFF\xFE";

void AppendQuoted(std::string_view text, std::string& out) {
    out += '"';
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    out += '"';
}

void AppendHexDigits(std::uint32_t number, int digits, std::string& out) {
    static constexpr char Hex[] = "0123456789abcdef";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
        out += Hex[(number >> shift) & 0xF];
    }
}

void AppendHexBytes(std::string_view bytes, std::string& out) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        AppendHexDigits(static_cast<unsigned char>(bytes[i]), 2, out);
    }
}

// "hex(7):" and its bytes, the type in as few digits as it takes.
void AppendTypedBytes(const RegValue& value, std::string& out) {
    const auto type = static_cast<std::uint32_t>(value.Type);
    int digits = 1;
    while (digits < 8 && (type >> (4 * digits)) != 0) {
        ++digits;
    }
    out += "hex(";
    AppendHexDigits(type, digits, out);
    out += "):";
    AppendHexBytes(value.Data, out);
}

void AppendData(const RegValue& value, std::string& out) {
    if (value.AsBytes) {
        AppendTypedBytes(value, out);
        return;
    }
    switch (value.Type) {
    case RegType::String:
        AppendQuoted(value.Data, out);
        break;
    case RegType::Dword: {
        std::uint32_t number = 0;
        for (std::size_t i = 0; i < value.Data.size() && i < 4; ++i) {
            number |= std::uint32_t(static_cast<unsigned char>(value.Data[i])) << (8 * i);
        }
        out += "dword:";
        AppendHexDigits(number, 8, out);
        break;
    }
    case RegType::Binary:
        out += "hex:";
        AppendHexBytes(value.Data, out);
        break;
    }
}

void AppendKey(const RegKey& key, std::string& path, std::string& out) {
    out += "\r\n[";
    out += path;
    out += "]\r\n";
    for (const RegNamedValue& value : key.Values()) {
        if (value.Name.empty()) {
            out += '@';
        } else {
            AppendQuoted(value.Name, out);
        }
        out += '=';
        AppendData(value.Value, out);
        out += "\r\n";
    }
    for (const RegKey& child : key.Children()) {
        const std::size_t length = path.size();
        path += '\\';
        path += child.Name();
        AppendKey(child, path, out);
        path.resize(length);
    }
}

// The file's text in UTF-8, its lines after the header led by the removal of `removedPath` when there is one.
std::string RegFileText(std::string_view header, std::string_view removedPath, const RegKey& root) {
    std::string text(header);
    text += "\r\n";
    if (!removedPath.empty()) {
        text += "\r\n[-";
        text += RootName;
        text += '\\';
        text += removedPath;
        text += "]\r\n";
    }
    std::string path(RootName);
    if (!root.Values().empty()) {
        AppendKey(root, path, text);
    } else {
        for (const RegKey& child : root.Children()) {
            path = std::string(RootName) + '\\' + child.Name();
            AppendKey(child, path, text);
        }
    }
    text += "\r\n";
    return text;
}

} // namespace

std::string FormatRegFile(const RegKey& root, RegFileEncoding encoding) {
    if (encoding == RegFileEncoding::Utf16) {
        return FormatRegFileReplacing({}, root);
    }
    std::string bytes;
    AppendWindows1252(RegFileText(Header8Bit, {}, root), bytes);
    return bytes;
}

std::string FormatRegFileReplacing(std::string_view removedPath, const RegKey& root) {
    std::string bytes(ByteOrderMark);
    AppendUtf16Le(RegFileText(Header, removedPath, root), bytes);
    return bytes;
}

bool FitsRegFile(std::string_view text, RegFileEncoding encoding) {
    return encoding == RegFileEncoding::Utf16 ? FirstNonUtf8(text) == std::string_view::npos
                                              : FitsWindows1252(text);
}

Status ParseRegFile(std::string_view bytes, const std::string& fileName, RegKey& root,
                    RegFileEncoding& encoding) {
    RegFileParser parser(fileName, root);
    std::string text;
    encoding = RegFileEncoding::Utf16;
    if (bytes.starts_with(ByteOrderMark)) {
        bytes.remove_prefix(ByteOrderMark.size());
        AppendUtf8FromUtf16Le(bytes, text);
        if (bytes.size() % 2 != 0) {
            return parser.Fail(parser.LineCount(text), "the file ends in the middle of a character");
        }
    } else if (bytes.starts_with(Header8Bit)) {
        encoding = RegFileEncoding::Windows1252;
        AppendUtf8FromWindows1252(bytes, text);
    } else {
        if (bytes.starts_with("\xEF\xBB\xBF")) {
            bytes.remove_prefix(3);
        }
        if (const std::size_t bad = FirstNonUtf8(bytes); bad != std::string_view::npos) {
            return parser.Fail(parser.LineCount(bytes.substr(0, bad)), "bytes that are not UTF-8");
        }
        text = bytes;
    }
    return parser.Parse(text);
}
