#include "editor/campi_riga.hpp"

namespace corvenna {

namespace {

bool spazio(char c) {
    return c == ' ' || c == '\t';
}

std::size_t salta_spazi(std::string_view r, std::size_t p) {
    while (p < r.size() && spazio(r[p]))
        ++p;
    return p;
}

// A text field from `p`: to the comma (or the closing quote); returns where the next field
// starts.
std::size_t campo_testo(std::string_view r, std::size_t p, campo_letto& c) {
    p = salta_spazi(r, p);
    c.inizio = p;
    if (p < r.size() && r[p] == '"') {
        const std::size_t chiusa = r.find('"', p + 1);
        c.fine = chiusa == std::string_view::npos ? r.size() : chiusa + 1;
        const std::size_t virgola = r.find(',', c.fine);
        c.testo = r.substr(c.inizio, c.fine - c.inizio);
        return virgola == std::string_view::npos ? r.size() : virgola + 1;
    }
    std::size_t fine = r.find(',', p);
    const std::size_t dopo = fine == std::string_view::npos ? r.size() : fine + 1;
    if (fine == std::string_view::npos)
        fine = r.size();
    while (fine > p && spazio(r[fine - 1]))
        --fine;
    c.fine = fine;
    c.testo = r.substr(c.inizio, c.fine - c.inizio);
    return dopo;
}

// A number field: to a blank, a comma or the line end; the blanks and one comma after it go
// with it.
std::size_t campo_numero(std::string_view r, std::size_t p, campo_letto& c) {
    p = salta_spazi(r, p);
    c.inizio = p;
    while (p < r.size() && !spazio(r[p]) && r[p] != ',')
        ++p;
    c.fine = p;
    c.testo = r.substr(c.inizio, c.fine - c.inizio);
    p = salta_spazi(r, p);
    if (p < r.size() && r[p] == ',')
        ++p;
    return p;
}

} // namespace

riga_letta leggi_riga(std::string_view riga, descrizione d) {
    riga_letta r;
    if (salta_spazi(riga, 0) >= riga.size())
        return r;
    campo_letto parola;
    std::size_t p = campo_testo(riga, 0, parola);
    r.campi.push_back(parola);
    r.voce = voce_per_parola(d, parola.testo);
    std::size_t indice = 0;
    while (p < riga.size()) {
        campo_letto c;
        const bool testo =
            !r.voce || (indice < r.voce->campi.size() && r.voce->campi[indice].testo);
        p = testo ? campo_testo(riga, p, c) : campo_numero(riga, p, c);
        r.campi.push_back(c);
        ++indice;
    }
    return r;
}

int campo_a(const riga_letta& r, std::size_t byte) {
    for (std::size_t k = 0; k < r.campi.size(); ++k)
        if (byte <= r.campi[k].fine)
            return static_cast<int>(k);
    return -1;
}

} // namespace corvenna
