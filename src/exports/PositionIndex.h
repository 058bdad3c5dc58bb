#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

// The positions of a sequence's elements by a key of each, for finding in one pass the earlier element with
// the same key as this one: a table of positions with open addressing, allocated once for `count` keys (fewer
// than 2^32 - 1). Each slot keeps its key's hash beside the position, so a probe rarely looks at an element
// of another key.
class PositionIndex {
public:
    static constexpr std::size_t None = static_cast<std::size_t>(-1);

    explicit PositionIndex(std::size_t count)
        : slots_(std::bit_ceil(2 * count + 2)), shift_(64 - std::countr_zero(slots_.size())) {}

    // The position stored for the element with the same key as this one, its hash `hash` (`same` tells by
    // its position whether an element has this key), or None when there is none; from then on, `position`
    // is the one stored for the key.
    template <typename Same> std::size_t Replace(std::size_t hash, std::size_t position, Same same) {
        const std::size_t mask = slots_.size() - 1;
        const auto tag = static_cast<std::uint32_t>(Mixed(hash));
        for (std::size_t at = SlotOf(hash);; at = (at + 1) & mask) {
            Slot& slot = slots_[at];
            if (slot.Position == Empty) {
                slot = {tag, static_cast<std::uint32_t>(position)};
                return None;
            }
            if (slot.Hash == tag && same(slot.Position)) {
                const std::size_t earlier = slot.Position;
                slot.Position = static_cast<std::uint32_t>(position);
                return earlier;
            }
        }
    }

    // How many keys ahead of the one looked up a caller prefetches: about as many as a look-up takes the
    // memory to answer.
    static constexpr std::size_t Ahead = 16;
    // Starts loading the slot of the hash into the cache, for a look-up soon after.
    void Prefetch(std::size_t hash) const { __builtin_prefetch(&slots_[SlotOf(hash)]); }

private:
    // Fibonacci hashing: the top bits of the product, which every bit of the hash reaches.
    static std::uint64_t Mixed(std::size_t hash) {
        return static_cast<std::uint64_t>(hash) * 0x9E3779B97F4A7C15;
    }
    std::size_t SlotOf(std::size_t hash) const { return static_cast<std::size_t>(Mixed(hash) >> shift_); }

    // Half the hash and the position, in eight bytes, so that the table of a long list stays in the cache.
    struct Slot {
        std::uint32_t Hash = 0;
        std::uint32_t Position = Empty;
    };
    static constexpr std::uint32_t Empty = UINT32_MAX;
    std::vector<Slot> slots_;
    int shift_;
};
