#include "drawing/disegno_scala.hpp"

#include <cmath>
#include <initializer_list>

namespace corvenna {

double passo_tondo(double minimo) {
    if (!(minimo >= 1e-9))
        minimo = 1e-9;
    if (std::isinf(minimo))
        return minimo;
    double decade = std::pow(10.0, std::floor(std::log10(minimo)));
    for (;;) {
        for (const double fattore : {1.0, 2.0, 5.0})
            if (fattore * decade >= minimo * (1 - 1e-12))
                return fattore * decade;
        decade *= 10;
    }
}

} // namespace corvenna
