// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Memory for a large block that is filled once and then read at random, such
// as a table held whole in memory. A large block starts on a huge-page boundary
// and the system is asked to back it with huge pages: filling it then costs a
// few hundred page faults instead of one per 4 KB, and searching it misses the
// address-translation cache far less often.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <type_traits>

namespace platform {

struct LargeBlockFree {
    void operator()(void* block) const noexcept;
};

template <typename T> using LargeBlock = std::unique_ptr<T[], LargeBlockFree>;

// Room for `size` bytes (at least one), or null when memory is short.
void* AllocateLargeBlock(std::size_t size) noexcept;

// Room for `count` objects of a type that lives in plain bytes, left
// uninitialised for the caller to fill; null when memory is short.
template <typename T> LargeBlock<T> MakeLargeBlock(std::size_t count) noexcept {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);
    if (count > SIZE_MAX / sizeof(T)) {
        return nullptr;
    }
    return LargeBlock<T>(static_cast<T*>(AllocateLargeBlock(count * sizeof(T))));
}

} // namespace platform
