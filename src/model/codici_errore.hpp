#pragma once

// The codes a build records in `codice_errore`, and those of the header checks that follow it.
// What each means, for the user, is in the diagnostics' table of kinds.

#include <array>
#include <cstdint>

namespace corvenna::codice {

// Line description.
inline constexpr std::int32_t lunghezza_eccessiva = 1;
inline constexpr std::int32_t progressiva_non_multipla = 2;
inline constexpr std::int32_t ripetizione_inizio = 3;
inline constexpr std::int32_t ripetizione_fine = 4;
inline constexpr std::int32_t ripetizione_codici = 5;
inline constexpr std::int32_t cartello_occupato = 6;
// Train description.
inline constexpr std::int32_t abbattimento_occupato = 7;
inline constexpr std::int32_t stazione_non_multipla = 8;
inline constexpr std::int32_t marciapiede_non_multiplo = 9;
inline constexpr std::int32_t voci_esaurite = 10;
// Finishing pass.
inline constexpr std::int32_t abbattimento_segnale = 11;
inline constexpr std::int32_t abbattimento_fasce = 12;
inline constexpr std::int32_t abbattimento_percorso = 13;
// Any line.
inline constexpr std::int32_t fuori_tracciato = 15;
// Feature recorders.
inline constexpr std::int32_t segnale_occupato = 16;
inline constexpr std::int32_t avviso_occupato = 17;
inline constexpr std::int32_t inizio_occupato = 18;
inline constexpr std::int32_t fine_occupata = 19;
inline constexpr std::int32_t preavvisi_occupati = 20;
inline constexpr std::int32_t indicatore_occupato = 21;
// Stations.
inline constexpr std::int32_t stazioni_vicine = 22;
inline constexpr std::int32_t fermata_iniziale = 24;
// General read or conversion failure.
inline constexpr std::int32_t lettura_fallita = 25;
// Features whose cells fall outside the cell array, and more relief stretches than are kept.
inline constexpr std::int32_t celle_fuori_limite = 26;
inline constexpr std::int32_t troppe_montagne = 27;
// Line description file.
inline constexpr std::int32_t linea_mancante = 101;
inline constexpr std::int32_t generale_mancante = 102;
inline constexpr std::int32_t curva_non_valida = 103;
// The header checks after the finishing pass: returned by the build, never recorded in
// `codice_errore`. A stamped field, then a code field, was not free.
inline constexpr std::int32_t timbro_occupato = 1250;
inline constexpr std::int32_t codici_occupati = 1251;

// Every code above, in increasing order.
inline constexpr std::array tutti{
    lunghezza_eccessiva,   progressiva_non_multipla, ripetizione_inizio,
    ripetizione_fine,      ripetizione_codici,       cartello_occupato,
    abbattimento_occupato, stazione_non_multipla,    marciapiede_non_multiplo,
    voci_esaurite,         abbattimento_segnale,     abbattimento_fasce,
    abbattimento_percorso, fuori_tracciato,          segnale_occupato,
    avviso_occupato,       inizio_occupato,          fine_occupata,
    preavvisi_occupati,    indicatore_occupato,      stazioni_vicine,
    fermata_iniziale,      lettura_fallita,          celle_fuori_limite,
    troppe_montagne,       linea_mancante,           generale_mancante,
    curva_non_valida,      timbro_occupato,          codici_occupati,
};

} // namespace corvenna::codice
