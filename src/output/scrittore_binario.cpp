#include "output/scrittore_binario.hpp"

#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>

namespace corvenna {

namespace {

constexpr std::size_t dimensione_blocco = std::size_t{1} << 16;
static_assert(lunghezza_testo_massima == std::numeric_limits<std::int16_t>::max());

} // namespace

scrittore_binario::scrittore_binario(std::ostream& uscita)
    : uscita_(uscita), buffer_(dimensione_blocco) {}

void scrittore_binario::scrivi_testo(std::string_view testo) {
    if (testo.size() > lunghezza_testo_massima)
        throw std::length_error(
            "a text of " + std::to_string(testo.size()) + " bytes is longer than the " +
            std::to_string(lunghezza_testo_massima) + " bytes a text field can hold");
    scrivi_intero(static_cast<std::int16_t>(testo.size()));
    scrivi_bytes(testo.data(), testo.size());
}

void scrittore_binario::scrivi_bytes(const char* dati, std::size_t quanti) {
    if (buffer_.size() - usati_ < quanti)
        svuota();
    if (quanti > buffer_.size()) {
        uscita_.write(dati, static_cast<std::streamsize>(quanti));
        return;
    }
    if (quanti > 0)
        std::memcpy(buffer_.data() + usati_, dati, quanti);
    usati_ += quanti;
}

void scrittore_binario::svuota() {
    if (usati_ > 0)
        uscita_.write(buffer_.data(), static_cast<std::streamsize>(usati_));
    usati_ = 0;
}

} // namespace corvenna
