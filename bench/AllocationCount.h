#pragma once

#include <cstdint>

// Benchmarks that link the allocation counter replace the global operator new/delete with
// counting versions on malloc/free. The count covers every heap allocation made through
// operator new in the program, on any thread, since it started.
std::uint64_t AllocationCount();
