#pragma once

// The cells of the fixed-width forms the driver's documents are printed on: a text put in a
// column of a given number of characters (UTF-8 text, counted in characters, cut to the column
// when it is longer), and the figures as the forms write them.

#include <cstdint>
#include <string>
#include <string_view>

namespace corvenna {

// `testo` left-aligned in `larghezza` characters.
std::string a_sinistra(std::string_view testo, std::size_t larghezza);
// `testo` right-aligned in `larghezza` characters.
std::string a_destra(std::string_view testo, std::size_t larghezza);
// `testo` centred in `larghezza` characters, the odd blank on the right.
std::string al_centro(std::string_view testo, std::size_t larghezza);

// `riga` with the characters from `colonna` on replaced by `testo` (the same number of them).
std::string sovrascrivi(std::string_view riga, std::size_t colonna, std::string_view testo);

// A kilometre as the boards and the forms read it: "3.700", "-1.500" (metres, rounded).
std::string chilometro_modulo(double metri);

// A time of day as the card writes it, hours and minutes: "6.45", "10.05".
std::string ora_modulo(std::int64_t secondi);

} // namespace corvenna
