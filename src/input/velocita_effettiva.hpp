#pragma once

// The speed that binds the train on each cell: the line's limit (the cell's `velocita`, kept as
// km/h / 5), lowered inside every slowdown to the slowdown's speed. The same figure the page
// draws as the train's limit; ispeziona answers with it and confronta compares it.
//
// The speed boards are not in it: a board gives one speed per train rank, and the scenario does
// not say the train's rank. Who answers shows the board in force beside it.

#include "model/costruzione.hpp"

#include <cstdint>
#include <optional>
#include <vector>

namespace corvenna {

// A slowdown as the cells hold it: from its start cell (kind 3) to the next end cell (kind 2),
// to the last cell when none follows. Positions are the metres the author wrote, for point
// features: 50 m before the cell (see metro_elemento).
struct rallentamento_celle {
    std::int32_t cella_inizio = 0;
    std::int32_t cella_fine = 0;
    std::int64_t inizio = 0;
    std::int64_t fine = 0;
    int velocita = 0; // km/h, as the author wrote it
    // The warning board: the nearest kind-4 cell before the start, within 30 cells, that
    // carries the same speed.
    std::optional<std::int64_t> avviso;
};

// The metre a point feature on cell k stands at: a feature written at metre p goes to the cell
// p / 50 + 1, so the feature belongs 50 m before the cell's start. Exact for a position that
// is a multiple of 50, as the compile asks of stations and as authors write signals.
inline std::int64_t metro_elemento(std::int64_t cella) {
    return 50 * (cella - 1);
}

std::vector<rallentamento_celle> rallentamenti_celle(const costruzione& c);

// One value per cell, in km/h: 5 x `velocita`, lowered to the slowest slowdown over the cell. A
// slowdown covers the cells from the one holding its start metre to the one before its end
// metre's cell.
std::vector<int> velocita_effettiva_celle(const costruzione& c,
                                          const std::vector<rallentamento_celle>& rallentamenti);

} // namespace corvenna
