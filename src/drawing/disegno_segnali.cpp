#include "drawing/disegno_segnali.hpp"

#include "base/aspetti_segnale.hpp"

namespace corvenna {

segnale_letto leggi_segnale(const segnale_disegno& s) {
    segnale_letto l;
    // A negative or oversized value is not one a line gives: it is kept whole as the kind or
    // aspect, so the tooltip shows what the cell holds.
    const int d4 = s.dato4;
    if (d4 >= 0) {
        l.rapp = d4 / 10;
        const int tipi = d4 % 10;
        l.sx = tipi / 3;
        l.dx = tipi % 3;
    } else {
        l.sx = d4;
    }
    const int dati[3] = {s.dato1, s.dato2, s.dato3};
    for (int i = 0; i < 3; ++i) {
        if (dati[i] >= 0) {
            l.aspetti_sx[i] = dati[i] / 10;
            l.aspetti_dx[i] = dati[i] % 10;
        } else {
            l.aspetti_sx[i] = dati[i];
        }
    }
    return l;
}

tipo_segnale tipo_di(const segnale_letto& s) {
    if (s.sx == 1)
        return tipo_segnale::avviso;
    if (s.sx == 2)
        return tipo_segnale::protezione;
    return tipo_segnale::altro;
}

std::string nome_tipo_segnale(int tipo) {
    if (tipo == 1)
        return "segnale di avviso";
    if (tipo == 2)
        return "segnale di protezione";
    return "segnale di tipo " + std::to_string(tipo);
}

std::string nome_aspetto(int codice) {
    if (codice >= 0 && codice < static_cast<int>(nomi_aspetti_segnale.size()))
        return std::string(nomi_aspetti_segnale[static_cast<std::size_t>(codice)]);
    return "aspetto " + std::to_string(codice);
}

const char* sigla_segnale(tipo_segnale t) {
    switch (t) {
    case tipo_segnale::avviso:
        return "A";
    case tipo_segnale::protezione:
        return "P";
    case tipo_segnale::altro:
        break;
    }
    return "S";
}

const char* classe_segnale(tipo_segnale t) {
    switch (t) {
    case tipo_segnale::avviso:
        return "avviso";
    case tipo_segnale::protezione:
        return "protezione";
    case tipo_segnale::altro:
        break;
    }
    return "altro";
}

} // namespace corvenna
