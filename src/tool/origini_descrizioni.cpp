#include "tool/origini_descrizioni.hpp"

#include "description/lettore.hpp"

#include <cmath>
#include <cstdint>
#include <functional>
#include <string_view>

namespace corvenna {

namespace {

// The cell a point feature at `metri` goes to: metri / 50 + 1, rounded half to even.
std::int32_t cella_di(std::int32_t metri) {
    return static_cast<std::int32_t>(std::nearbyint(metri / 50.0)) + 1;
}

// Calls `riga` with each line's number, keyword and first value, for the lines
// whose first value reads as a number.
void per_riga(const std::string& testo,
              const std::function<void(int, const std::string&, std::int32_t)>& riga) {
    std::size_t inizio = 0;
    int numero = 0;
    while (inizio < testo.size()) {
        std::size_t fine = testo.find('\n', inizio);
        if (fine == std::string::npos)
            fine = testo.size();
        ++numero;
        lettore_descrizione l(testo.substr(inizio, fine - inizio));
        inizio = fine + 1;
        const std::string parola = l.leggi_testo();
        if (l.fallito() || l.fine_file())
            continue;
        const std::int32_t valore = l.leggi_long();
        if (l.fallito())
            continue;
        riga(numero, parola, valore);
    }
}

} // namespace

origini_disegno origini_descrizioni(const std::string& linea, const std::string& treno) {
    origini_disegno o;
    per_riga(linea, [&o](int n, const std::string& parola, std::int32_t valore) {
        const riga_origine r{descrizione::linea, n};
        if (contiene(parola, "pendenza"))
            return;
        if (contiene(parola, "curva"))
            o.curve.emplace(valore, r);
        else if (contiene(parola, "montagna"))
            o.rilievi.emplace(static_cast<std::int64_t>(std::nearbyint(valore / 50.0)) * 50, r);
        else if (contiene(parola, "indicatori_v") ||
                 (contiene(parola, "indicat") && contiene(parola, "cartello")))
            o.celle.emplace(cella_di(valore), r);
    });
    per_riga(treno, [&o](int n, const std::string& parola, std::int32_t valore) {
        const riga_origine r{descrizione::treno, n};
        if (contiene(parola, "velocit") || contiene(parola, "aderenza") ||
            contiene(parola, "abbattimento"))
            return;
        if (contiene(parola, "segnale") || contiene(parola, "rallentamento"))
            o.celle.emplace(cella_di(valore), r);
        else if (contiene(parola, "stazione"))
            o.stazioni.push_back(r);
    });
    return o;
}

} // namespace corvenna
