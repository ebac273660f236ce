#include "description/taglio_campi.hpp"

namespace corvenna {

namespace {

constexpr bool e_cifra(char c) {
    return c >= '0' && c <= '9';
}

constexpr std::int64_t limite_accumulo = 1'000'000'000'000;

std::size_t separatore_da(std::string_view t, std::size_t p) {
    const std::size_t s = t.find_first_of(",\r\n", p);
    return s == std::string_view::npos ? t.size() : s;
}

// The position after the comma or line end at `p` (CR LF counts as one); `p` when neither.
std::size_t dopo_separatore(std::string_view t, std::size_t p) {
    if (p >= t.size())
        return p;
    if (t[p] == ',' || t[p] == '\n')
        return p + 1;
    if (t[p] == '\r')
        return (p + 1 < t.size() && t[p + 1] == '\n') ? p + 2 : p + 1;
    return p;
}

} // namespace

std::size_t dopo_spazi(std::string_view t, std::size_t p) {
    while (p < t.size() && e_spazio(t[p]))
        ++p;
    return p;
}

taglio_campo taglia_testo(std::string_view t, std::size_t da) {
    taglio_campo c;
    c.inizio = dopo_spazi(t, da);
    if (c.inizio < t.size() && t[c.inizio] == '"') {
        c.virgolette = true;
        const std::size_t chiusura = t.find('"', c.inizio + 1);
        if (chiusura == std::string_view::npos) {
            c.aperte = true;
            c.fine = c.separatore = separatore_da(t, c.inizio);
            c.seguente = t.size();
            c.a_fine_riga = true;
            return c;
        }
        c.fine = chiusura + 1;
        c.separatore = separatore_da(t, c.fine);
    } else {
        c.separatore = separatore_da(t, c.inizio);
        c.fine = c.separatore;
        while (c.fine > c.inizio && e_spazio(t[c.fine - 1]))
            --c.fine;
    }
    c.seguente = dopo_separatore(t, c.separatore);
    c.a_fine_riga = c.separatore >= t.size() || t[c.separatore] != ',';
    return c;
}

taglio_campo taglia_numero(std::string_view t, std::size_t da) {
    taglio_campo c;
    c.inizio = dopo_spazi(t, da);
    std::size_t p = c.inizio;
    while (p < t.size() && !e_spazio(t[p]) && t[p] != ',' && !e_a_capo(t[p]))
        ++p;
    c.fine = p;
    c.separatore = dopo_spazi(t, p);
    c.seguente = dopo_separatore(t, c.separatore);
    c.a_fine_riga = c.separatore >= t.size() || e_a_capo(t[c.separatore]);
    return c;
}

std::string_view testo_tagliato(std::string_view t, const taglio_campo& c) {
    if (c.virgolette && !c.aperte)
        return t.substr(c.inizio + 1, c.fine - c.inizio - 2);
    return t.substr(c.inizio, c.fine - c.inizio);
}

std::optional<std::int64_t> numero_campo(std::string_view campo) {
    std::size_t p = 0;
    const bool negativo = !campo.empty() && campo[0] == '-';
    if (negativo)
        ++p;
    if (negativo && p == campo.size())
        return std::nullopt;
    std::int64_t valore = 0;
    for (; p < campo.size(); ++p) {
        if (!e_cifra(campo[p]))
            return std::nullopt;
        if (valore <= limite_accumulo)
            valore = valore * 10 + (campo[p] - '0');
    }
    return negativo ? -valore : valore;
}

std::vector<campo_tagliato> taglia_riga(std::string_view riga, std::span<const tipo_campo> tipi,
                                        tipo_campo oltre) {
    std::vector<campo_tagliato> campi;
    if (dopo_spazi(riga, 0) >= riga.size())
        return campi;
    taglio_campo c = taglia_testo(riga, 0);
    for (;;) {
        campi.push_back({riga.substr(c.inizio, c.fine - c.inizio), c.inizio, c.fine, c.aperte});
        if (c.a_fine_riga)
            return campi;
        const std::size_t indice = campi.size() - 1;
        const tipo_campo tipo = indice < tipi.size() ? tipi[indice] : oltre;
        c = tipo == tipo_campo::testo ? taglia_testo(riga, c.seguente)
                                      : taglia_numero(riga, c.seguente);
    }
}

} // namespace corvenna
