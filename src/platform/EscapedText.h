#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// The table of the characters that `escape` replaces: it returns what stands for a character, or nothing for
// one that stands for itself.
template <typename Escape> constexpr std::array<bool, 256> EscapedBy(Escape escape) {
    std::array<bool, 256> escaped{};
    for (std::size_t c = 0; c < escaped.size(); ++c) {
        escaped[c] = !escape(static_cast<char>(c)).empty();
    }
    return escaped;
}

// The position of the first character at or after `at` that the table marks, or the text's size. Eight
// characters are looked up at once, since nearly every one is not marked.
inline std::size_t NextMarked(std::string_view text, std::size_t at, const std::array<bool, 256>& marks) {
    const auto marked = [&](std::size_t i) -> unsigned { return marks[static_cast<unsigned char>(text[i])]; };
    for (; at + 8 <= text.size(); at += 8) {
        if ((marked(at) | marked(at + 1) | marked(at + 2) | marked(at + 3) | marked(at + 4) | marked(at + 5) |
             marked(at + 6) | marked(at + 7)) != 0) {
            break;
        }
    }
    while (at < text.size() && marked(at) == 0) {
        ++at;
    }
    return at;
}

// Appends the text with each character that `escape` replaces replaced, copying the runs between them whole.
// `escaped` is the table of those characters.
template <typename Escape>
void AppendEscaped(std::string_view text, std::string& out, const std::array<bool, 256>& escaped,
                   Escape escape) {
    std::size_t run = 0;
    for (std::size_t at = NextMarked(text, 0, escaped); at < text.size();
         at = NextMarked(text, run, escaped)) {
        out.append(text, run, at - run).append(escape(text[at]));
        run = at + 1;
    }
    out.append(text, run);
}
