#include "diagnostics/testo_diagnostica.hpp"

#include "diagnostics/testo_mostrabile.hpp"
#include "diagnostics/tipi_diagnostica.hpp"

namespace corvenna {

std::string_view riga_del_testo(std::string_view testo, int riga) {
    if (riga < 1)
        return {};
    std::size_t inizio = 0;
    for (int n = 1; n < riga; ++n) {
        const std::size_t fine = testo.find_first_of("\r\n", inizio);
        if (fine == std::string_view::npos)
            return {};
        inizio =
            fine +
            ((testo[fine] == '\r' && fine + 1 < testo.size() && testo[fine + 1] == '\n') ? 2 : 1);
    }
    if (inizio > testo.size())
        return {};
    const std::size_t fine = testo.find_first_of("\r\n", inizio);
    return testo.substr(inizio,
                        fine == std::string_view::npos ? std::string_view::npos : fine - inizio);
}

std::string testo_diagnostica(const diagnostica& d, std::string_view nome_file,
                              std::string_view testo, bool utf8) {
    return testo_diagnostica_su_riga(d, nome_file, riga_del_testo(testo, d.riga), utf8);
}

std::string testo_diagnostica_su_riga(const diagnostica& d, std::string_view nome_file,
                                      std::string_view sorgente, bool utf8) {
    std::string t;
    if (d.file) {
        t += testo_mostrabile(nome_file, utf8);
        if (d.riga > 0) {
            t += ':' + std::to_string(d.riga);
            if (d.colonna > 0)
                t += ':' + std::to_string(d.colonna);
        }
        t += ": ";
    }
    t += d.livello == gravita::errore ? "errore: " : "avviso: ";
    t += testo_mostrabile(d.messaggio, utf8);
    // A warning made an error keeps its name.
    if (d.tipo)
        t += " [" + std::string(tipo_di(*d.tipo).nome) + "]\n";
    else
        t += " [codice " + std::to_string(d.codice) + "]\n";
    if (!d.file || d.riga <= 0)
        return t;

    t += testo_mostrabile(sorgente, utf8);
    t += '\n';
    if (d.colonna > 0) {
        // Tabs stay tabs, so that the caret lines up under the field however they are shown; an
        // escaped byte takes the columns of its escape.
        std::size_t i = 0;
        for (int carattere = 1; carattere < d.colonna; ++carattere) {
            if (i < sorgente.size() && sorgente[i] == '\t')
                t += '\t';
            else
                t.append(i < sorgente.size() ? colonne_mostrate(sorgente, i, utf8) : 1, ' ');
            if (i < sorgente.size())
                i = fine_carattere(sorgente, i, utf8);
        }
        t += "^\n";
    }
    return t;
}

} // namespace corvenna
