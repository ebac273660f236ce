#include "input/errore_lettura.hpp"

#include <utility>

namespace corvenna {

namespace {

// "FILE: byte N: ATTESO", or "FILE: ATTESO" without a byte.
std::string testo_errore(const std::string& file, std::optional<std::uint64_t> byte,
                         const std::string& atteso) {
    std::string testo = file + ": ";
    if (byte)
        testo += "byte " + std::to_string(*byte) + ": ";
    return testo + atteso;
}

} // namespace

errore_lettura::errore_lettura(std::string file, std::optional<std::uint64_t> byte,
                               std::string atteso)
    : std::runtime_error(testo_errore(file, byte, atteso)), file_(std::move(file)), byte_(byte),
      atteso_(std::move(atteso)) {}

} // namespace corvenna
