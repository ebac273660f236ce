#include "output/scrittore_binario.hpp"

#include <bit>
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

void scrittore_binario::scrivi_senza_segno(std::uint64_t valore, std::size_t larghezza) {
    if (buffer_.size() - usati_ < larghezza)
        svuota();
    for (std::size_t i = 0; i < larghezza; ++i)
        buffer_[usati_++] = static_cast<char>(static_cast<unsigned char>(valore >> (8 * i)));
}

void scrittore_binario::scrivi_byte(std::uint8_t valore) {
    scrivi_senza_segno(valore, 1);
}

void scrittore_binario::scrivi_intero(std::int16_t valore) {
    scrivi_senza_segno(static_cast<std::uint16_t>(valore), 2);
}

void scrittore_binario::scrivi_lungo(std::int32_t valore) {
    scrivi_senza_segno(static_cast<std::uint32_t>(valore), 4);
}

void scrittore_binario::scrivi_doppio(double valore) {
    scrivi_senza_segno(std::bit_cast<std::uint64_t>(valore), 8);
}

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
