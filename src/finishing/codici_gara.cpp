#include "finishing/codici_gara.hpp"

#include "model/costruzione.hpp"

#include <cstddef>
#include <string>
#include <utility>

namespace corvenna {

namespace {

constexpr std::size_t caratteri_codice = 25;

// Train number, then scenario name, lower-cased (only A to Z), then the fill text. Kept in
// `linea`; at least 25 characters long, since the fill text alone is.
const std::string& prepara_codice_testo(costruzione& c) {
    std::string testo = c.voci[voce_treno].nome + c.voci[voce_scenario].nome;
    for (char& carattere : testo)
        if (carattere >= 'A' && carattere <= 'Z')
            carattere = static_cast<char>(carattere - 'A' + 'a');
    testo += alfabeto_codice;
    c.linea = std::move(testo);
    return c.linea;
}

// The character code of a single-byte character, 0 to 255.
std::int32_t codice_carattere(char carattere) {
    return static_cast<unsigned char>(carattere);
}

} // namespace

std::int32_t codice_gara_st(costruzione& c) {
    const std::string& testo = prepara_codice_testo(c);
    std::int32_t somma = 0;
    for (std::size_t i = 1; i <= caratteri_codice; ++i)
        somma += codice_carattere(testo[i - 1]) * static_cast<std::int32_t>(i);
    return somma;
}

std::int16_t codice_gara_og(costruzione& c) {
    const std::string& testo = prepara_codice_testo(c);
    std::int32_t somma = 0;
    for (std::size_t i = 1; i <= caratteri_codice; ++i)
        somma += codice_carattere(testo[i - 1]);
    // At most 25 x 255: always fits.
    return static_cast<std::int16_t>(somma);
}

} // namespace corvenna
