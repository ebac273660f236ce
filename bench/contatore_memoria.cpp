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
