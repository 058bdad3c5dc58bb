#include "registry/Utf16.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace {

constexpr char32_t Replacement = 0xFFFD;

// Writes the code point's UTF-16LE bytes at `write` and returns the end of them.
char* PutCodePointUtf16(char32_t code, char* write) {
    const auto unit = [&write](char32_t value) {
        *write++ = static_cast<char>(value & 0xFF);
        *write++ = static_cast<char>(value >> 8);
    };
    if (code < 0x10000) {
        unit(code);
    } else {
        unit(0xD800 + ((code - 0x10000) >> 10));
        unit(0xDC00 + ((code - 0x10000) & 0x3FF));
    }
    return write;
}

char16_t UnitAt(std::string_view utf16, std::size_t at) {
    return static_cast<char16_t>(static_cast<unsigned char>(utf16[at]) |
                                 (static_cast<unsigned char>(utf16[at + 1]) << 8));
}

// Windows-1252's characters for the bytes 0x80 to 0x9F.
constexpr std::array<char16_t, 32> Windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::optional<char> ToWindows1252(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        return static_cast<char>(code);
    }
    const auto found = std::ranges::find(Windows1252High, code);
    if (found == Windows1252High.end()) {
        return std::nullopt;
    }
    return static_cast<char>(0x80 + (found - Windows1252High.begin()));
}

// Whether the eight bytes at `at` are all there and all ASCII, which nearly all of any text here is.
bool EightAscii(std::string_view text, std::size_t at) {
    std::uint64_t eight = 0;
    if (at + sizeof eight > text.size()) {
        return false;
    }
    std::memcpy(&eight, text.data() + at, sizeof eight);
    return (eight & 0x8080808080808080) == 0;
}

// The eight ASCII characters at `from` as their sixteen bytes of UTF-16LE, each byte followed by a zero.
void WidenEightAscii(const char* from, char* to) {
    static_assert(std::endian::native == std::endian::little);
    std::uint64_t eight = 0;
    std::memcpy(&eight, from, sizeof eight);
    const auto spread = [](std::uint64_t four) {
        four = (four | (four << 16)) & 0x0000FFFF0000FFFF;
        return (four | (four << 8)) & 0x00FF00FF00FF00FF;
    };
    const std::uint64_t low = spread(eight & 0xFFFFFFFF);
    const std::uint64_t high = spread(eight >> 32);
    std::memcpy(to, &low, sizeof low);
    std::memcpy(to + sizeof low, &high, sizeof high);
}

} // namespace

std::optional<char32_t> NextCodePoint(std::string_view utf8, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(utf8[at]);
    std::size_t length = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        ++at;
        return std::nullopt;
    }
    if (at + length > utf8.size()) {
        ++at;
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(utf8[at + i]);
        if ((next & 0xC0) != 0x80) {
            ++at;
            return std::nullopt;
        }
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        ++at;
        return std::nullopt;
    }
    at += length;
    return code;
}

std::size_t FirstNonUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        if (EightAscii(text, at)) {
            at += 8;
            continue;
        }
        const std::size_t start = at;
        if (!NextCodePoint(text, at)) {
            return start;
        }
    }
    return std::string_view::npos;
}

void AppendUtf8(char32_t code, std::string& out) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

std::size_t Utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        units += NextCodePoint(utf8, at).value_or(Replacement) < 0x10000 ? 1 : 2;
    }
    return units;
}

void AppendUtf16Le(std::string_view utf8, std::string& out) {
    // Room for the most it can take, two bytes for each byte of UTF-8, cut back to what it took.
    const std::size_t start = out.size();
    out.resize(start + 2 * utf8.size());
    char* write = out.data() + start;
    for (std::size_t at = 0; at < utf8.size();) {
        if (EightAscii(utf8, at)) {
            WidenEightAscii(utf8.data() + at, write);
            at += 8;
            write += 16;
        } else {
            write = PutCodePointUtf16(NextCodePoint(utf8, at).value_or(Replacement), write);
        }
    }
    out.resize(static_cast<std::size_t>(write - out.data()));
}

void AppendUtf8FromUtf16Le(std::string_view utf16, std::string& out) {
    out.reserve(out.size() + utf16.size() / 2);
    for (std::size_t at = 0; at + 1 < utf16.size(); at += 2) {
        const char16_t unit = UnitAt(utf16, at);
        if (unit < 0x80) {
            // Runs of ASCII, nearly all of any store, are narrowed in place.
            std::size_t end = at + 2;
            while (end + 1 < utf16.size() && UnitAt(utf16, end) < 0x80) {
                end += 2;
            }
            const std::size_t start = out.size();
            out.resize(start + (end - at) / 2);
            for (char* write = out.data() + start; at < end; at += 2) {
                *write++ = utf16[at];
            }
            at -= 2;
        } else if (unit < 0xD800 || unit > 0xDFFF) {
            AppendUtf8(unit, out);
        } else if (unit <= 0xDBFF && at + 3 < utf16.size() && UnitAt(utf16, at + 2) >= 0xDC00 &&
                   UnitAt(utf16, at + 2) <= 0xDFFF) {
            AppendUtf8(0x10000 + ((char32_t(unit) - 0xD800) << 10) +
                           (char32_t(UnitAt(utf16, at + 2)) - 0xDC00),
                       out);
            at += 2;
        } else {
            AppendUtf8(Replacement, out);
        }
    }
}

void AppendUtf8FromWindows1252(std::string_view bytes, std::string& out) {
    out.reserve(out.size() + bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        AppendUtf8(byte >= 0x80 && byte < 0xA0 ? Windows1252High[byte - 0x80] : byte, out);
    }
}

bool FitsWindows1252(std::string_view utf8) {
    for (std::size_t at = 0; at < utf8.size();) {
        const std::optional<char32_t> code = NextCodePoint(utf8, at);
        if (!code || !ToWindows1252(*code)) {
            return false;
        }
    }
    return true;
}

void AppendWindows1252(std::string_view utf8, std::string& out) {
    out.reserve(out.size() + utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const std::optional<char32_t> code = NextCodePoint(utf8, at);
        out += code ? ToWindows1252(*code).value_or('?') : '?';
    }
}
