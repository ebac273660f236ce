#pragma once

// The scenario's stations, speed limits and named points, shared by the train description, the
// train card and the notes, so that every document tells the same story about the line.
//
// The line runs from Corvenna to Valterma in two sections joined at Meridola, the 8th station:
// the kilometre count of the first section runs up to Meridola and a new count starts just
// beyond it. Positions are metres from the start of the line.

#include <array>
#include <cstdint>
#include <string_view>

namespace corvenna {

// A time of the train card: hours and minutes.
struct ora_scheda {
    int ore = 0;
    int minuti = 0;
};

struct stazione_scenario {
    std::string_view nome;        // capitals, as in the train description and the card
    std::int32_t posizione = 0;   // metres
    int tipo = 0;                 // station kind of the train description
    std::int32_t marciapiede = 0; // platform length, metres
    bool ha_orario = false;       // false for the four stations the train passes without a time
    int ore = 0;                  // scheduled time in the train description (0:00:00 when none)
    int minuti = 0;
    int secondi = 0;
    // The card: a stop shows arrival and departure; the origin, the terminus and the stations
    // passed show a single time, held in both members.
    bool orario_doppio = false;
    ora_scheda arrivo;
    ora_scheda partenza;
    std::int32_t progressiva_scheda = 0; // kilometric progressive shown on the card, metres
};

inline constexpr int numero_stazioni = 16;

inline constexpr std::array<stazione_scenario, numero_stazioni> stazioni_scenario{{
    {"CORVENNA", 0, 2, 400, true, 6, 41, 0, false, {6, 41}, {6, 41}, 90000},
    {"S. LUCERIO", 5200, 12, 300, true, 6, 45, 30, true, {6, 45}, {6, 46}, 3700},
    {"FOSSAMERLA", 11800, 26, 300, false, 0, 0, 0, false, {6, 50}, {6, 50}, 10300},
    {"CASTELMIRANO", 17400, 12, 400, true, 6, 54, 0, true, {6, 54}, {6, 55}, 15900},
    {"VILLA OSTRAGO", 23650, 24, 300, true, 7, 0, 30, true, {7, 0}, {7, 1}, 22150},
    {"BRENZOLE", 29900, 12, 500, true, 7, 6, 0, true, {7, 6}, {7, 7}, 28400},
    {"PORTOVALDA", 35700, 27, 300, false, 0, 0, 0, false, {7, 11}, {7, 11}, 34200},
    {"MERIDOLA", 42300, 8, 300, true, 7, 16, 0, true, {7, 16}, {7, 17}, 40800},
    {"CAMPORSANO", 47600, 12, 400, true, 7, 21, 30, true, {7, 21}, {7, 22}, 5300},
    {"TAVERGNA", 51900, 28, 300, false, 0, 0, 0, false, {7, 25}, {7, 25}, 9600},
    {"CERVANDOLO", 54400, 12, 400, true, 7, 27, 0, true, {7, 27}, {7, 28}, 12100},
    {"PIAN DI LORSA", 68900, 12, 400, true, 7, 37, 30, true, {7, 37}, {7, 38}, 23000},
    {"SASSOGRIGIO", 73800, 12, 300, true, 7, 42, 0, true, {7, 42}, {7, 43}, 18100},
    {"ORMELLETO", 77900, 28, 300, false, 0, 0, 0, false, {7, 46}, {7, 46}, 14000},
    {"BAGNOVERDE", 81600, 12, 400, true, 7, 48, 30, true, {7, 48}, {7, 49}, 10300},
    {"VALTERMA", 86500, 4, 600, true, 7, 54, 0, false, {7, 54}, {7, 54}, 5200},
}};

// Index (from 0) of Meridola, the junction between the two sections of the line.
inline constexpr int indice_stazione_diramazione = 7;

// Origin and destination in mixed case, for the card header and the notes.
inline constexpr std::string_view origine_scenario = "Corvenna";
inline constexpr std::string_view destinazione_scenario = "Valterma";
inline constexpr std::string_view nome_linea = "Corvenna-Valterma";
inline constexpr std::string_view stazione_diramazione = "Meridola";

// The line speed limits of the train, in running order: from `posizione` on, `velocita` km/h.
struct limite_velocita {
    std::int32_t posizione = 0;
    int velocita = 0;
};

inline constexpr int numero_limiti_velocita = 9;

// The rows at 41300 and 42300 both carry 60: the limit is restated at Meridola.
inline constexpr std::array<limite_velocita, numero_limiti_velocita> limiti_velocita{{
    {0, 75},
    {1500, 125},
    {41300, 60},
    {42300, 60},
    {43000, 130},
    {65400, 100},
    {68900, 130},
    {77900, 90},
    {85400, 30},
}};

// The other points of the train card, in running order (names in mixed case).
struct punto_scheda {
    std::string_view nome;
    std::int32_t posizione = 0;
    std::int32_t progressiva_scheda = 0; // metres
};

inline constexpr std::array<punto_scheda, 5> punti_scheda{{
    {"cippo km 0.000", 1500, 0},
    {"Prot. Meridola", 41300, 39800},          // protection signal of Meridola
    {"Deviatoio uscita Meridola", 43000, 700}, // exit switch of Meridola
    {"Ponte canale Martesio", 65400, 26500},
    {"Prot. Valterma", 85300, 6600}, // protection signal of Valterma
}};

} // namespace corvenna
