#include "platform/LargeText.h"

#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

#ifdef __linux__
// The size of a transparent huge page on x86-64 and most ARM systems.
constexpr std::uintptr_t LargePage = std::uintptr_t{2} * 1024 * 1024;

// Asks for large pages in the whole large pages inside the room (a request the system may not grant, which
// leaves the room as it is).
void PreferLargePages(char* room, std::size_t size) {
    const auto start = reinterpret_cast<std::uintptr_t>(room);
    const std::uintptr_t first = (start + LargePage - 1) & ~(LargePage - 1);
    const std::uintptr_t end = (start + size) & ~(LargePage - 1);
    if (end > first) {
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
    }
}
#endif

} // namespace

void ReserveLargeText(std::string& text, std::size_t size) {
    text.reserve(size);
#ifdef __linux__
    PreferLargePages(text.data(), text.capacity());
#endif
}
