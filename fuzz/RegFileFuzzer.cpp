// The registry store file: whatever the bytes, a file that parses is written and read back to the same tree,
// and writing that tree again gives the same bytes. An 8-bit file's bytes that are not UTF-8 are written as
// U+FFFD, which may merge two names, so such a file need only come back stable from its first write on.
#include "registry/RegFileFormat.h"
#include "registry/RegKey.h"
#include "registry/Utf16.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool IsUtf8(std::string_view text) {
    std::string utf16;
    AppendUtf16Le(text, utf16);
    std::string utf8;
    AppendUtf8FromUtf16Le(utf16, utf8);
    return utf8 == text;
}

bool SameTree(const RegKey& read, const RegKey& reread) {
    if (read.Name() != reread.Name() || read.Values().size() != reread.Values().size() ||
        read.Children().size() != reread.Children().size()) {
        return false;
    }
    for (std::size_t i = 0; i < read.Values().size(); ++i) {
        const RegNamedValue& a = read.Values()[i];
        const RegNamedValue& b = reread.Values()[i];
        if (a.Name != b.Name || !(a.Value == b.Value)) {
            return false;
        }
    }
    auto child = reread.Children().begin();
    for (const RegKey& readChild : read.Children()) {
        if (!SameTree(readChild, *child++)) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    RegKey read{std::string()};
    if (!ParseRegFile(input, "fuzz.reg", read).ok()) {
        return 0;
    }
    const std::string written = FormatRegFile(read);
    RegKey reread{std::string()};
    Require(ParseRegFile(written, "fuzz.reg", reread).ok());
    const bool exact = input.starts_with("\xFF\xFE") || IsUtf8(input);
    if (exact) {
        Require(SameTree(read, reread));
    }
    const std::string rewritten = FormatRegFile(reread);
    Require(!exact || rewritten == written);
    RegKey again{std::string()};
    Require(ParseRegFile(rewritten, "fuzz.reg", again).ok() && SameTree(reread, again));
    Require(FormatRegFile(again) == rewritten);
    return 0;
}
