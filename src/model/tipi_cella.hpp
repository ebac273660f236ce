#pragma once

// The kinds a cell can carry (`cella::tipo`).

#include <cstdint>

namespace corvenna::tipo_cella {

inline constexpr std::uint8_t binario = 0;
inline constexpr std::uint8_t segnale = 1;
inline constexpr std::uint8_t fine_rallentamento = 2;
inline constexpr std::uint8_t inizio_rallentamento = 3;
inline constexpr std::uint8_t avviso_rallentamento = 4;
inline constexpr std::uint8_t preavviso_numerato = 5;
inline constexpr std::uint8_t indicatore_v_max = 6;
inline constexpr std::uint8_t fermata = 10;
inline constexpr std::uint8_t marcatore_galleria = 11;
inline constexpr std::uint8_t abbattimento_valore = 12;
inline constexpr std::uint8_t abbattimento = 13;
inline constexpr std::uint8_t cartello = 14;

} // namespace corvenna::tipo_cella
