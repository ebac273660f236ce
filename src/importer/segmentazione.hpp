#pragma once

// Penalised least-squares segmentation: a sampled function cut into straight pieces, each a
// weighted least-squares line through its samples, so that the sum of the squared residuals plus
// a penalty for every piece is least. Found exactly by dynamic programming over the cut points
// (optimal partitioning), each piece's cost from prefix sums in constant time; a piece spans a
// bounded number of samples, so that a track of N samples costs O(N) pieces tried per sample
// bound, whatever its shape.
//
// The plan fit cuts the heading along the track (a straight has a constant heading, an arc one
// that grows linearly: its slope is the curvature); the profile fit cuts the heights (a constant
// grade is a straight line).

#include <cstddef>
#include <span>
#include <vector>

namespace corvenna {

// One sample: the abscissa, the value and its weight (how many observations it stands for).
struct campione_segmentato {
    double x = 0;
    double y = 0;
    double peso = 1;
};

// A piece: samples [da, a), and its least-squares line y = quota + pendenza * (x - x0), where
// x0 is the weighted mean abscissa of its samples.
struct pezzo {
    std::size_t da = 0;
    std::size_t a = 0;
    double x0 = 0;
    double quota = 0;
    double pendenza = 0;
    double residuo = 0; // the weighted sum of squared residuals
    double peso = 0;    // the sum of the weights
};

struct regole_segmentazione {
    // The cost of one more piece, in the units of the squared values times the weights.
    double penalita = 1;
    // The fewest and the most samples a piece may span (the last piece may span fewer when the
    // samples do not fill the fewest).
    std::size_t minimo = 2;
    std::size_t massimo = 400;
};

// Prefix sums of the samples, from which the least-squares line of any run comes in constant
// time.
class somme_campioni {
  public:
    explicit somme_campioni(std::span<const campione_segmentato> campioni);
    // The line and residual of samples [da, a).
    pezzo adatta(std::size_t da, std::size_t a) const;
    // The line of samples [da, a) held to slope `pendenza`.
    pezzo adatta_con_pendenza(std::size_t da, std::size_t a, double pendenza) const;

  private:
    struct somme {
        double w = 0, x = 0, y = 0, xx = 0, xy = 0, yy = 0;
    };
    somme tra(std::size_t da, std::size_t a) const;
    std::vector<somme> prefissi_;
    double origine_ = 0;
};

// The pieces, in order, covering all the samples (none for no sample).
std::vector<pezzo> segmenta(std::span<const campione_segmentato> campioni,
                            const regole_segmentazione& regole);

} // namespace corvenna
