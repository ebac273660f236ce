#pragma once

// The profile of a path expressed as gradient rows: a whole per mille from a position on. The
// compiler keeps one gradient per 50 m cell, so the rows start at cell boundaries, and the fit
// walks the cells keeping the height it has built close to a smoothed copy of the given
// heights: a gradient is kept while the height at the cell's end stays within a tolerance and
// chosen anew, from the height still to climb over the next cells, when it would not. Rounding
// to whole per mille is so corrected where it happens instead of adding up.
//
// Heights scattered about the line (a receiver's, whose errors are metres) are not followed: the
// profile is fitted as a line is built, as constant grades. A penalised least-squares
// segmentation (`segmentazione.hpp`) of the heights, averaged per cell, cuts them into grades of
// at least 200 m, the penalty from the heights' own noise; neighbouring grades meet at the mean
// of their two lines; each grade is written as at most two whole per mille, so that its end
// height is kept.

#include "importer/geometria_importata.hpp"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace corvenna {

struct profilo_adattato {
    // Ascending positions, multiples of 50, the first at 0.
    std::vector<riga_pendenza> pendenze;
    // How far the fitted heights lie from the given ones; std::nullopt without heights.
    std::optional<double> scarto_massimo;
    std::optional<double> scarto_medio;
    // The scatter of the heights about the fitted profile (root mean square, metres).
    std::optional<double> rumore;
    // Grades steeper than a line is built with, and stretches whose heights are too scattered to
    // trust: each at the point nearest to its start.
    std::vector<avviso_geometria> avvisi;
};

// Fits the heights of the points at their along-track positions (`progressiva`, one per point)
// over a route of `lunghezza` metres. Without a height the profile is level.
profilo_adattato adatta_profilo(std::span<const punto_geografico> punti,
                                std::span<const double> progressiva, std::int32_t lunghezza);

// The heights the compiler's cells give, relative to the start: one at every cell boundary
// (0, 50, 100, ...) up to the first at or past `lunghezza`, linear within a cell.
std::vector<double> integra_pendenze(std::span<const riga_pendenza> pendenze,
                                     std::int32_t lunghezza);

} // namespace corvenna
