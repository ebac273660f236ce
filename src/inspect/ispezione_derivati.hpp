#pragma once

// What an author wants to see beside the raw fields of a compiled scenario, derived from them:
// the kind of each cell by name, its speed in km/h and gradient in per mille, the role of each
// item, each station's stop cell and time of day, and whether the scenario codes agree with the
// names they are computed from.

#include "model/asse_planimetria.hpp"
#include "model/costruzione.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvenna {

enum class ruolo_voce {
    inutilizzata, // item 0
    stazione,
    cartello,    // a route-sign text: only the name is set
    vuota,       // an item of 1 to 80 left as reset
    progressiva, // items 81 to 83
    percorso,    // item 84
    scenario,    // item 85
    treno,       // item 86
};

struct derivati_scenario {
    std::array<ruolo_voce, numero_voci> ruoli{};
    // For each station item, the cell that carries its stop (kind 10 with the item number in
    // `dato1`); none for a station of a kind that has no stop cell.
    std::array<std::optional<std::size_t>, numero_voci> celle_fermata{};
    // The two scenario codes computed from the names of items 85 and 86, to hold against the
    // stored ones (item 85 `orario`, cell 1 `dato2`).
    std::int32_t codice_st = 0;
    std::int16_t codice_og = 0;
};

derivati_scenario deriva(const costruzione& c);

std::string_view nome_ruolo(ruolo_voce ruolo);

// The name of a cell kind ("segnale", "fermata", ...); none for a kind the build never puts.
std::optional<std::string_view> nome_tipo_cella(std::uint8_t tipo);

// "intero", "doppio" or "vuoto".
std::string_view nome_tipo_valore(tipo_valore tipo);

// The stored values in their units: the speed limit is kept as km/h / 5, the gradient as per
// mille + 100.
inline int velocita_kmh(const cella& x) {
    return 5 * x.velocita;
}
inline int pendenza_per_mille(const cella& x) {
    return x.pendenza - 100;
}
inline std::int64_t metro_iniziale(std::size_t cella) {
    return 50 * static_cast<std::int64_t>(cella);
}

// Seconds since midnight as "hh:mm:ss"; hours past 23 stay as they are ("25:00:00"), a negative
// time gets a minus sign.
std::string ora_del_giorno(std::int64_t secondi);

// The shortest text that reads back as the same double, with ".0" added when it would read as
// an integer ("0.0", "12.5", "1e+20"). The number must be finite.
std::string testo_doppio(double numero);

// The same text written at `inizio`, for the callers that write millions of them; returns its
// end. The buffer holds at least byte_testo_doppio bytes.
inline constexpr std::size_t byte_testo_doppio = 32;
char* scrivi_testo_doppio(char* inizio, double numero);

} // namespace corvenna
