// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Counts the heap allocations of the benchmark program: the global operator
// new is replaced (counting_new.cpp) by one that counts and then allocates.

#include <cstdint>

namespace bench_alloc {

// Allocations since the program started.
std::uint64_t Count();

} // namespace bench_alloc
