// Replacement global operator new and delete (every form) that keep the
// counts of heap_meter.h.
//
// Contract: include in exactly one translation unit of a program (it defines
// the operators, which the linker then uses for the whole program, libraries
// included). Allocation failure throws std::bad_alloc as the standard forms do.
#pragma once

#include <cstddef>
#include <new>

#include "heap_meter.h"

// The replacement operators. The sized and nothrow forms route through the
// same two functions so that every byte is counted once.
void* operator new(std::size_t n) {
    return bench::heap_detail::allocateOrThrow(n, 0);
}
void* operator new[](std::size_t n) {
    return bench::heap_detail::allocateOrThrow(n, 0);
}
void* operator new(std::size_t n, std::align_val_t a) {
    return bench::heap_detail::allocateOrThrow(n, std::size_t(a));
}
void* operator new[](std::size_t n, std::align_val_t a) {
    return bench::heap_detail::allocateOrThrow(n, std::size_t(a));
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    return bench::heap_detail::allocate(n, 0);
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
    return bench::heap_detail::allocate(n, 0);
}
void* operator new(std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
    return bench::heap_detail::allocate(n, std::size_t(a));
}
void* operator new[](std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
    return bench::heap_detail::allocate(n, std::size_t(a));
}
void operator delete(void* p) noexcept {
    bench::heap_detail::release(p);
}
void operator delete[](void* p) noexcept {
    bench::heap_detail::release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    bench::heap_detail::release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    bench::heap_detail::release(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    bench::heap_detail::release(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    bench::heap_detail::release(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    bench::heap_detail::release(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    bench::heap_detail::release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    bench::heap_detail::release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    bench::heap_detail::release(p);
}
