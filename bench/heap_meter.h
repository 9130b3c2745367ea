// Heap accounting for a benchmark program: the bytes currently allocated
// through operator new and the peak since the last reset.
//
// Contract:
//  - The counts move only in a program that includes heap_meter_operators.h
//    (in one translation unit); elsewhere they stay zero.
//  - Counts what goes through operator new (all C++ containers and strings),
//    measured by malloc_usable_size; direct malloc calls and memory mappings
//    are not counted.
//  - Allocation failure throws std::bad_alloc as the standard operators do.
#pragma once

#include <malloc.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace bench {

namespace heap_detail {
inline std::atomic<std::size_t> current{0};
inline std::atomic<std::size_t> peak{0};

inline void* allocate(std::size_t size, std::size_t align) {
    if (size == 0) size = 1;
    void* p = align <= alignof(std::max_align_t)
                  ? std::malloc(size)
                  : std::aligned_alloc(align, (size + align - 1) / align * align);
    if (!p) return nullptr;
    const std::size_t got = malloc_usable_size(p);
    const std::size_t now = current.fetch_add(got, std::memory_order_relaxed) + got;
    std::size_t seen = peak.load(std::memory_order_relaxed);
    while (now > seen && !peak.compare_exchange_weak(seen, now, std::memory_order_relaxed)) {
    }
    return p;
}

inline void release(void* p) {
    if (!p) return;
    current.fetch_sub(malloc_usable_size(p), std::memory_order_relaxed);
    std::free(p);
}

inline void* allocateOrThrow(std::size_t size, std::size_t align) {
    void* p = allocate(size, align);
    if (!p) throw std::bad_alloc();
    return p;
}
}  // namespace heap_detail

// Bytes allocated through operator new and not yet freed.
inline std::size_t heapCurrent() {
    return heap_detail::current.load();
}
// Highest heapCurrent() since the last resetHeapPeak().
inline std::size_t heapPeak() {
    return heap_detail::peak.load();
}
inline void resetHeapPeak() {
    heap_detail::peak.store(heap_detail::current.load());
}

}  // namespace bench
