#pragma once

// Counts calls of the global operator new (every form that reaches it: arrays,
// nothrow, and the standard containers), so a test can assert that a piece of
// code allocates nothing. Defined in tests/unit/alloc_counter.cpp.
namespace alloc_counter {
long allocations();
}  // namespace alloc_counter
