#include "registry/RegFileFormat.h"

#include "platform/EscapedText.h"
#include "platform/LargeText.h"
#include "registry/RegFileParser.h"
#include "registry/Utf16.h"

#include <array>
#include <cstdint>

namespace {

constexpr std::string_view Header = "Windows Registry Editor Version 5.00";
constexpr std::string_view Header8Bit = "REGEDIT4";
constexpr std::string_view RootName = "HKEY_CURRENT_USER";
constexpr std::string_view ByteOrderMark = "\xFF\xFE";

// What stands for a character in a quoted text: a backslash before each backslash and quote.
constexpr std::string_view RegEscape(char c) {
    switch (c) {
    case '\\':
        return "\\\\";
    case '"':
        return "\\\"";
    default:
        return {};
    }
}

void AppendQuoted(std::string_view text, std::string& out) {
    static constexpr std::array<bool, 256> Escaped = EscapedBy(RegEscape);
    out += '"';
    // Nearly every name and URL has neither a quote nor a backslash, which the C library's vectorised search
    // tells quickest: such a text is copied whole.
    if (text.find('"') == std::string_view::npos && text.find('\\') == std::string_view::npos) {
        out += text;
    } else {
        AppendEscaped(text, out, Escaped, RegEscape);
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

void AppendValue(const RegNamedValue& value, std::string& out) {
    if (value.Name.empty()) {
        out += '@';
    } else {
        AppendQuoted(value.Name, out);
    }
    out += '=';
    AppendData(value.Value, out);
    out += "\r\n";
}

// The blocks of the key at `path` and of every key below it, each before its subkeys.
void WriteTree(const RegKey& key, std::string& path, RegFileWriter& file) {
    file.Key(path, key.Values());
    for (const RegKey& child : key.Children()) {
        const std::size_t length = path.size();
        if (!path.empty()) {
            path += '\\';
        }
        path += child.Name();
        WriteTree(child, path, file);
        path.resize(length);
    }
}

// The file of the tree, its blocks after the header led by the removal of `removedPath` when there is one.
std::string RegFileOf(RegFileEncoding encoding, std::string_view removedPath, const RegKey& root) {
    RegFileWriter file(encoding);
    if (!removedPath.empty()) {
        file.RemoveTree(removedPath);
    }
    std::string path;
    if (!root.Values().empty()) {
        WriteTree(root, path, file);
    } else {
        for (const RegKey& child : root.Children()) {
            path = child.Name();
            WriteTree(child, path, file);
        }
    }
    return std::move(file).Finish();
}

// Text is encoded in pieces of about this size, which stay in the processor's cache.
constexpr std::size_t EncodedPiece = std::size_t{64} * 1024;

} // namespace

RegFileWriter::RegFileWriter(RegFileEncoding encoding) : encoding_(encoding) {
    if (encoding_ == RegFileEncoding::Utf16) {
        bytes_ = ByteOrderMark;
        text_ = Header;
    } else {
        text_ = Header8Bit;
    }
    text_ += "\r\n";
}

void RegFileWriter::Reserve(std::size_t characters) {
    ReserveLargeText(bytes_,
                     bytes_.size() + (encoding_ == RegFileEncoding::Utf16 ? 2 * characters : characters));
}

void RegFileWriter::RemoveTree(std::string_view path) {
    text_.append("\r\n[-").append(RootName).append("\\").append(path).append("]\r\n");
    Encode();
}

RegFileValues::RegFileValues(std::span<const RegNamedValue> values) {
    for (const RegNamedValue& value : values) {
        AppendValue(value, text_);
    }
}

void RegFileWriter::Key(std::string_view path, std::span<const RegNamedValue> values) {
    static const RegFileValues none({});
    Key(path, values, none);
}

void RegFileWriter::Key(std::string_view path, std::span<const RegNamedValue> values,
                        const RegFileValues& shared) {
    text_.append("\r\n[").append(RootName);
    if (!path.empty()) {
        text_.append("\\").append(path);
    }
    text_ += "]\r\n";
    for (const RegNamedValue& value : values) {
        AppendValue(value, text_);
    }
    text_ += shared.text_;
    if (text_.size() >= EncodedPiece) {
        Encode();
    }
}

std::string RegFileWriter::Finish() && {
    text_ += "\r\n";
    Encode();
    return std::move(bytes_);
}

void RegFileWriter::Encode() {
    if (encoding_ == RegFileEncoding::Utf16) {
        AppendUtf16Le(text_, bytes_);
    } else {
        AppendWindows1252(text_, bytes_);
    }
    text_.clear();
}

std::string FormatRegFile(const RegKey& root, RegFileEncoding encoding) {
    return RegFileOf(encoding, {}, root);
}

std::string FormatRegFileReplacing(std::string_view removedPath, const RegKey& root) {
    return RegFileOf(RegFileEncoding::Utf16, removedPath, root);
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
