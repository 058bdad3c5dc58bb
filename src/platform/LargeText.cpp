#include "platform/LargeText.h"

#ifdef __linux__
#include <cstdint>

#include <sys/mman.h>

namespace {

// The size of a transparent huge page on x86-64 and most ARM systems.
constexpr std::size_t LargePage = std::size_t{2} * 1024 * 1024;

// Asks for large pages in the whole large pages inside the room (a request the system may not grant, which
// leaves the room as it is).
void PreferLargePages(char* room, std::size_t size) {
    const std::size_t skip = (LargePage - reinterpret_cast<std::uintptr_t>(room) % LargePage) % LargePage;
    const std::size_t whole = size > skip ? (size - skip) / LargePage * LargePage : 0;
    if (whole > 0) {
        madvise(room + skip, whole, MADV_HUGEPAGE);
    }
}

} // namespace
#endif

void ReserveLargeText(std::string& text, std::size_t size) {
    text.reserve(size);
#ifdef __linux__
    PreferLargePages(text.data(), text.capacity());
#endif
}
