#pragma once
// Watches the sizes the process asks malloc for, so a test can show that a decoder looks
// at the sizes a file claims before it asks for memory of that size. Under a sanitizer
// the sanitizer's allocation hook reports the requests; otherwise this program's own
// malloc passes every request on to the C library's.
#include <cstddef>

namespace alloc_test {

// The largest single request (malloc, calloc, realloc) between the watch's start and its
// end (the watch is meant for one thread's short call; other threads' requests count too).
class LargestAllocation {
public:
    LargestAllocation();
    ~LargestAllocation();
    LargestAllocation(const LargestAllocation&) = delete;
    LargestAllocation& operator=(const LargestAllocation&) = delete;

    size_t Bytes() const;
};

} // namespace alloc_test
