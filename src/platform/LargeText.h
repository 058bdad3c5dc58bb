#pragma once

#include <cstddef>
#include <string>

// Makes room in `text` for `size` characters. Room of many megabytes is asked of the system in its large
// pages where it has them, so that filling it takes one page fault per two megabytes instead of one per
// four kilobytes.
void ReserveLargeText(std::string& text, std::size_t size);
