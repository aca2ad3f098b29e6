// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/large_block.h"

#include <cstdlib>

#include <sys/mman.h>

namespace platform {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

} // namespace

void* AllocateLargeBlock(std::size_t size) noexcept {
    if (size < kHugePage) {
        return std::malloc(size == 0 ? 1 : size);
    }
    void* block = nullptr;
    if (::posix_memalign(&block, kHugePage, size) != 0) {
        return nullptr;
    }
    // Only advice: where huge pages are off, the block works the same.
    ::madvise(block, size, MADV_HUGEPAGE);
    return block;
}

void LargeBlockFree::operator()(void* block) const noexcept {
    std::free(block);
}

} // namespace platform
