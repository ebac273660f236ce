#pragma once

// Little-endian packing of the binary files' fields. The bytes collect in a buffer of its own
// that goes to the stream in large blocks, so writing a field costs no stream call.

#include "format/larghezze_campi.hpp"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

namespace corvenna {

class scrittore_binario {
  public:
    explicit scrittore_binario(std::ostream& uscita);

    // The fields are defined here, inline: the plan view alone writes some 190000 of them.
    // Byte: 1 byte unsigned.
    void scrivi_byte(std::uint8_t valore) { scrivi_senza_segno(valore, 1); }
    // Integer: 2 bytes, two's complement.
    void scrivi_intero(std::int16_t valore) {
        scrivi_senza_segno(static_cast<std::uint16_t>(valore), 2);
    }
    // Long: 4 bytes, two's complement.
    void scrivi_lungo(std::int32_t valore) {
        scrivi_senza_segno(static_cast<std::uint32_t>(valore), 4);
    }
    // Double: 8 bytes, IEEE 754 binary64.
    void scrivi_doppio(double valore) {
        scrivi_senza_segno(std::bit_cast<std::uint64_t>(valore), 8);
    }
    // A text: 2-byte length, then its single-byte characters. Throws std::length_error for a
    // text longer than the length field can hold (32767 bytes); nothing is written then.
    void scrivi_testo(std::string_view testo);

    // Hands the collected bytes to the stream. Must be called once the last field is written:
    // bytes still in the buffer are not written by the destructor.
    void svuota();

  private:
    void scrivi_bytes(const char* dati, std::size_t quanti);
    // The low `larghezza` bytes of `valore`, least significant first.
    void scrivi_senza_segno(std::uint64_t valore, std::size_t larghezza) {
        if (buffer_.size() - usati_ < larghezza)
            svuota();
        // Through a local pointer: a store through the member would make the compiler reload
        // the member after every byte.
        char* destinazione = buffer_.data() + usati_;
        for (std::size_t i = 0; i < larghezza; ++i)
            destinazione[i] = static_cast<char>(static_cast<unsigned char>(valore >> (8 * i)));
        usati_ += larghezza;
    }

    std::ostream& uscita_;
    std::vector<char> buffer_;
    std::size_t usati_ = 0;
};

} // namespace corvenna
