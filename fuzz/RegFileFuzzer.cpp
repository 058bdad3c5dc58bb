// The registry store file: whatever the bytes, a file that parses is written in its own form and read back to
// the same tree in the same form, and writing that tree again gives the same bytes.
#include "registry/RegFileFormat.h"
#include "registry/RegKey.h"

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
    RegFileEncoding encoding = RegFileEncoding::Utf16;
    if (!ParseRegFile(input, "fuzz.reg", read, encoding).ok()) {
        return 0;
    }
    const std::string written = FormatRegFile(read, encoding);
    RegKey reread{std::string()};
    RegFileEncoding rereadEncoding = RegFileEncoding::Utf16;
    Require(ParseRegFile(written, "fuzz.reg", reread, rereadEncoding).ok());
    Require(rereadEncoding == encoding && SameTree(read, reread));
    Require(FormatRegFile(reread, encoding) == written);
    return 0;
}
