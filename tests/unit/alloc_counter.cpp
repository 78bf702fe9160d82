#include "alloc_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

// Replacement of the global allocation functions for the unit-test programs.
// The array and nothrow forms of the library forward to these two.
static std::atomic<long> allocationCount{0};

namespace alloc_counter {
long allocations()
{
    return allocationCount.load(std::memory_order_relaxed);
}
}  // namespace alloc_counter

void* operator new(std::size_t size)
{
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
