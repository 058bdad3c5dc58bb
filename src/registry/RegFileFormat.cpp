#include "registry/RegFileFormat.h"

#include "registry/RegFileParser.h"
#include "registry/Utf16.h"

#include <cstdint>

namespace {

constexpr std::string_view Header = "Windows Registry Editor Version 5.00";
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

void AppendData(const RegValue& value, std::string& out) {
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
        for (std::size_t i = 0; i < value.Data.size(); ++i) {
            if (i > 0) {
                out += ',';
            }
            AppendHexDigits(static_cast<unsigned char>(value.Data[i]), 2, out);
        }
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

} // namespace

std::string FormatRegFile(const RegKey& root) {
    return FormatRegFileReplacing({}, root);
}

std::string FormatRegFileReplacing(std::string_view removedPath, const RegKey& root) {
    std::string text(Header);
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
    std::string bytes(ByteOrderMark);
    AppendUtf16Le(text, bytes);
    return bytes;
}

Status ParseRegFile(std::string_view bytes, const std::string& fileName, RegKey& root) {
    RegFileParser parser(fileName, root);
    std::string text;
    if (bytes.starts_with(ByteOrderMark)) {
        bytes.remove_prefix(ByteOrderMark.size());
        AppendUtf8FromUtf16Le(bytes, text);
        if (bytes.size() % 2 != 0) {
            return parser.Fail(parser.LineCount(text), "the file ends in the middle of a character");
        }
    } else {
        if (bytes.starts_with("\xEF\xBB\xBF")) {
            bytes.remove_prefix(3);
        }
        text = bytes;
    }
    return parser.Parse(text);
}
