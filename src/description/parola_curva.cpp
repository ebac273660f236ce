#include "description/parola_curva.hpp"

#include "description/lettore.hpp"
#include "model/classi_curva.hpp"

#include <cstddef>

namespace corvenna {

double curvatura_classe(int classe) {
    return curvature_classi.at(static_cast<std::size_t>(classe - 1));
}

curva_letta leggi_curva(std::string_view campo) {
    curva_letta c;
    for (char cifra = '1'; cifra <= '6'; ++cifra) {
        if (campo.find(cifra) == std::string_view::npos)
            continue;
        ++c.cifre;
        if (c.classe == 0)
            c.classe = cifra - '0';
    }
    c.sinistra = contiene(campo, "s");
    return c;
}

} // namespace corvenna
