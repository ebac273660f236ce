#pragma once

// Little-endian reading of the binary files' fields from bytes in memory, the mirror of
// scrittore_binario. The bytes come from anywhere: every read first checks that its bytes are
// there, and a failure throws errore_lettura naming the file, the byte and what was expected.

#include "input/errore_lettura.hpp"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace corvenna {

class lettore_binario {
  public:
    lettore_binario(std::string_view dati, std::string nome_file)
        : dati_(dati), nome_file_(std::move(nome_file)) {}

    std::size_t posizione() const { return pos_; }
    std::size_t restanti() const { return dati_.size() - pos_; }
    const std::string& nome_file() const { return nome_file_; }

    // Makes sure `quanti` bytes remain; otherwise fails at the current byte with "attesi N byte
    // per COSA, ne restano R". `cosa()` gives the COSA and is called only on failure.
    template <typename Cosa>
    void richiedi(std::size_t quanti, Cosa&& cosa) const {
        if (restanti() < quanti) [[unlikely]]
            mancano(pos_, quanti, restanti(), cosa());
    }

    // Each field checks its bytes as richiedi does, naming `cosa()` on failure.
    template <typename Cosa>
    std::uint8_t byte(Cosa&& cosa) {
        return static_cast<std::uint8_t>(senza_segno(1, cosa));
    }
    template <typename Cosa>
    std::int16_t intero(Cosa&& cosa) {
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(senza_segno(2, cosa)));
    }
    template <typename Cosa>
    std::int32_t lungo(Cosa&& cosa) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(senza_segno(4, cosa)));
    }
    template <typename Cosa>
    double doppio(Cosa&& cosa) {
        return std::bit_cast<double>(senza_segno(8, cosa));
    }
    // `quanti` single-byte characters.
    template <typename Cosa>
    std::string testo(std::size_t quanti, Cosa&& cosa) {
        richiedi(quanti, cosa);
        std::string t(dati_.substr(pos_, quanti));
        pos_ += quanti;
        return t;
    }

    // Fails unless the data ends here: "attesa la fine del file dopo DOPO".
    void fine(const std::string& dopo) const;

    // Fails at `byte` with the text `atteso`.
    [[noreturn]] void fallisci(std::size_t byte, std::string atteso) const;

  private:
    template <typename Cosa>
    std::uint64_t senza_segno(std::size_t larghezza, Cosa&& cosa) {
        richiedi(larghezza, cosa);
        std::uint64_t valore = 0;
        for (std::size_t i = 0; i < larghezza; ++i)
            valore |= std::uint64_t{static_cast<unsigned char>(dati_[pos_ + i])} << (8 * i);
        pos_ += larghezza;
        return valore;
    }

    [[noreturn]] void mancano(std::size_t byte, std::size_t quanti, std::size_t restano,
                              const std::string& cosa) const;

    std::string_view dati_;
    std::string nome_file_;
    std::size_t pos_ = 0;
};

// "attesi N byte per COSA, ne restano R" ("atteso 1 byte", "ne resta 1" for one byte).
std::string testo_mancano(std::size_t quanti, std::size_t restano, const std::string& cosa);

} // namespace corvenna
