#pragma once

// The build object: the whole track model of one scenario and the shared scalars that every
// build step reads and writes. One instance lives for the length of a run.

#include "model/asse_planimetria.hpp"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace corvenna {

// One 50 m stretch of line: a kind with four values, and the line properties.
struct cella {
    std::uint8_t tipo = 0;
    std::int16_t dato1 = 0;
    std::int16_t dato2 = 0;
    std::int16_t dato3 = 0;
    std::int16_t dato4 = 0;
    std::uint8_t tempo = 0;
    std::uint8_t avviso = 0;
    std::uint8_t montagna = 0;
    std::uint8_t velocita = 0;
    std::uint8_t pendenza = 0;
    std::uint8_t aderenza = 0;

    friend bool operator==(const cella&, const cella&) = default;
};

// One record of the item table: a station, a route-sign text or a header record.
// `nome` holds single-byte (Windows-1252) characters, exactly as they reach the file.
struct voce {
    std::uint8_t tipo = 0;
    std::int32_t inizio = 0;
    std::int32_t fine = 0;
    std::int32_t posizione = 0;
    std::uint8_t b1 = 0;
    std::string nome;
    std::int16_t i1 = 0;
    std::int16_t i2 = 0;
    std::int16_t i3 = 0;
    std::int16_t i4 = 0;
    std::int16_t i5 = 0;
    std::uint8_t b4 = 0;
    std::uint8_t b5 = 0;
    std::uint8_t b3 = 0;
    std::uint8_t b2 = 0;
    std::int32_t orario = 0;

    friend bool operator==(const voce&, const voce&) = default;
};

inline constexpr int numero_voci = 87;
inline constexpr int numero_montagne_max = 80;

// Item numbers with a fixed meaning.
inline constexpr int voce_progressiva_tre = 81;
inline constexpr int voce_progressiva_due = 82;
inline constexpr int voce_progressiva_uno = 83;
inline constexpr int voce_percorso = 84;
inline constexpr int voce_scenario = 85;
inline constexpr int voce_treno = 86;
inline constexpr int prima_voce_cartelli = 80;

// The longest route a line description may give, in metres, and the track laid beyond it: the
// plan view runs to the route length plus the extension.
inline constexpr std::int32_t lunghezza_percorso_massima = 1000000;
inline constexpr std::int32_t prolungamento_tracciato = 7000;
// The track a description row needs past its position: a row's first value plus its margin
// must lie on the track (a station's platform and stop need more of it).
inline constexpr int margine_riga = 100;
inline constexpr int margine_stazione = 800;

// The stamps the build puts on every scenario, whatever the descriptions say: item 85's `i1`
// and cell 1's `dato1`.
inline constexpr std::int16_t timbro_voce = 610;
inline constexpr std::int16_t timbro_cella = 5121;

enum asse : int { asse_x = 0, asse_y = 1 };

struct costruzione {
    std::string nome_scenario;
    std::string numero_treno;
    std::int32_t genera_planimetria = 0;
    // False for a build whose plan view no one reads (the editor's diagnosis): the curves are
    // read and checked as with a plan view, the same diagnostics at the same rows, but the
    // points are neither computed nor held, and `planimetria` stays empty.
    bool punti_planimetria = true;
    std::int32_t lunghezza_totale = 0;
    std::int32_t ultima_cella = 0;
    std::string linea;
    std::int32_t codice_errore = 0;
    std::int32_t posizione_errore = 0;
    // Where a read or conversion failure of the compile happened: the description's name and,
    // for a field that could not be read, its line. Empty otherwise.
    std::string luogo_errore;
    std::int32_t num_montagne = 0;
    std::int32_t indice = 0;
    std::int32_t contatore = 0;

    // Cells 0 to `ultima_cella`; empty until the compiler reads the route length.
    std::vector<cella> celle;
    std::array<voce, numero_voci> voci{};
    // planimetria[asse][metro], metres 0 to `lunghezza_totale`; empty unless
    // `genera_planimetria` is nonzero and `punti_planimetria` true. The axis is the outer index
    // because the file stores all x values, then all y values.
    std::array<asse_planimetria, 2> planimetria;

    // Start and end of each relief stretch, entries 1 to 80 (entry 0 unused).
    std::array<std::int32_t, numero_montagne_max + 1> inizio_montagne{};
    std::array<std::int32_t, numero_montagne_max + 1> fine_montagne{};

    bool celle_create() const { return !celle.empty(); }
};

// True when a point feature may be put on the cell: plain track or a tunnel marker.
inline bool cella_libera(const cella& c) {
    return c.tipo == 0 || c.tipo == 11;
}

// True when cell k lies within 0 to `ultima_cella` and the array really holds it.
inline bool cella_esistente(const costruzione& c, std::int64_t k) {
    return k >= 0 && k <= c.ultima_cella && k < static_cast<std::int64_t>(c.celle.size());
}

} // namespace corvenna
