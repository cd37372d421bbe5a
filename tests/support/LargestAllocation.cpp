#include "LargestAllocation.h"

#include <atomic>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VTRM_TEST_SANITIZER_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define VTRM_TEST_SANITIZER_ALLOCATOR 1
#endif
#endif

namespace {

std::atomic<bool> watching{false};
std::atomic<size_t> largest{0};

void Note(size_t size) {
    if (!watching.load(std::memory_order_relaxed)) return;
    size_t seen = largest.load(std::memory_order_relaxed);
    while (size > seen && !largest.compare_exchange_weak(seen, size)) {
    }
}

} // namespace

#ifdef VTRM_TEST_SANITIZER_ALLOCATOR
#include <sanitizer/allocator_interface.h>

namespace {
void OnMalloc(const volatile void*, size_t size) {
    Note(size);
}
void OnFree(const volatile void*) {}
const bool hooked = (__sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree), true);
} // namespace
#else
extern "C" void* __libc_malloc(size_t size);
extern "C" void* __libc_calloc(size_t count, size_t size);
extern "C" void* __libc_realloc(void* block, size_t size);

// Every malloc, calloc and realloc of this test program goes through here; the C
// library's free and the rest take the blocks as their own.
extern "C" void* malloc(size_t size) {
    Note(size);
    return __libc_malloc(size);
}
extern "C" void* calloc(size_t count, size_t size) {
    Note(count * size);
    return __libc_calloc(count, size);
}
extern "C" void* realloc(void* block, size_t size) {
    Note(size);
    return __libc_realloc(block, size);
}
#endif

namespace alloc_test {

LargestAllocation::LargestAllocation() {
    largest = 0;
    watching = true;
}

LargestAllocation::~LargestAllocation() {
    watching = false;
}

size_t LargestAllocation::Bytes() const {
    return largest.load();
}

} // namespace alloc_test
