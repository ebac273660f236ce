// Replaces the plain operator new and delete of the benchmark program. Each block carries its
// size in a prefix as wide as the default new alignment, so the delete knows what it returns
// and the block handed out keeps the alignment the caller expects.

#include "contatore_memoria.hpp"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

namespace corvenna::banco {

namespace {

constexpr std::size_t prefisso = __STDCPP_DEFAULT_NEW_ALIGNMENT__;
static_assert(prefisso >= sizeof(std::size_t));

std::atomic<std::size_t> in_uso{0};
std::atomic<std::size_t> picco{0};
std::atomic<std::size_t> base{0};

void aggiungi(std::size_t n) {
    const std::size_t ora = in_uso.fetch_add(n, std::memory_order_relaxed) + n;
    std::size_t massimo = picco.load(std::memory_order_relaxed);
    while (ora > massimo && !picco.compare_exchange_weak(massimo, ora, std::memory_order_relaxed)) {
    }
}

} // namespace

void azzera_picco() {
    const std::size_t ora = in_uso.load(std::memory_order_relaxed);
    base.store(ora, std::memory_order_relaxed);
    picco.store(ora, std::memory_order_relaxed);
}

std::size_t picco_dall_azzeramento() {
    return picco.load(std::memory_order_relaxed) - base.load(std::memory_order_relaxed);
}

} // namespace corvenna::banco

void* operator new(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) - corvenna::banco::prefisso)
        throw std::bad_alloc();
    auto* blocco = static_cast<unsigned char*>(std::malloc(n + corvenna::banco::prefisso));
    if (blocco == nullptr)
        throw std::bad_alloc();
    std::memcpy(blocco, &n, sizeof n);
    corvenna::banco::aggiungi(n);
    return blocco + corvenna::banco::prefisso;
}

void operator delete(void* p) noexcept {
    if (p == nullptr)
        return;
    auto* blocco = static_cast<unsigned char*>(p) - corvenna::banco::prefisso;
    std::size_t n = 0;
    std::memcpy(&n, blocco, sizeof n);
    corvenna::banco::in_uso.fetch_sub(n, std::memory_order_relaxed);
    std::free(blocco);
}

void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}

// The other plain forms go through the two above: a library that allocates with the nothrow or
// array form (the projection library does) and frees with delete must meet the same prefix,
// and a sanitizer's own versions of those forms would not write it.
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    try {
        return operator new(n);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void* operator new[](std::size_t n) {
    return operator new(n);
}

void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept {
    return operator new(n, t);
}

void operator delete(void* p, const std::nothrow_t&) noexcept {
    operator delete(p);
}

void operator delete[](void* p) noexcept {
    operator delete(p);
}

void operator delete[](void* p, std::size_t) noexcept {
    operator delete(p);
}

void operator delete[](void* p, const std::nothrow_t&) noexcept {
    operator delete(p);
}
