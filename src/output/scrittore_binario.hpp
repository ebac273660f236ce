#pragma once

// Little-endian packing of the binary files' fields. The bytes collect in a buffer of its own
// that goes to the stream in large blocks, so writing a field costs no stream call.

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

namespace corvenna {

// The longest text a text field's 2-byte signed length can say.
inline constexpr std::size_t lunghezza_testo_massima = 32767;

class scrittore_binario {
  public:
    explicit scrittore_binario(std::ostream& uscita);

    // Byte: 1 byte unsigned.
    void scrivi_byte(std::uint8_t valore);
    // Integer: 2 bytes, two's complement.
    void scrivi_intero(std::int16_t valore);
    // Long: 4 bytes, two's complement.
    void scrivi_lungo(std::int32_t valore);
    // Double: 8 bytes, IEEE 754 binary64.
    void scrivi_doppio(double valore);
    // A text: 2-byte length, then its single-byte characters. Throws std::length_error for a
    // text longer than the length field can hold (32767 bytes); nothing is written then.
    void scrivi_testo(std::string_view testo);

    // Hands the collected bytes to the stream. Must be called once the last field is written:
    // bytes still in the buffer are not written by the destructor.
    void svuota();

  private:
    void scrivi_bytes(const char* dati, std::size_t quanti);
    void scrivi_senza_segno(std::uint64_t valore, std::size_t larghezza);

    std::ostream& uscita_;
    std::vector<char> buffer_;
    std::size_t usati_ = 0;
};

} // namespace corvenna
