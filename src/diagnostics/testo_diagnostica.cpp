#include "diagnostics/testo_diagnostica.hpp"

#include "diagnostics/testo_mostrabile.hpp"
#include "diagnostics/tipi_diagnostica.hpp"

#include <algorithm>

namespace corvenna {

namespace {

// "FILE:RIGA:COLONNA: " of a place, or nothing for a place without a file.
std::string luogo(const std::optional<descrizione>& file, int riga, int colonna,
                  std::string_view nome_linea, std::string_view nome_treno, bool utf8) {
    if (!file)
        return {};
    std::string t = testo_mostrabile(*file == descrizione::linea ? nome_linea : nome_treno, utf8);
    if (riga > 0) {
        t += ':' + std::to_string(riga);
        if (colonna > 0)
            t += ':' + std::to_string(colonna);
    }
    return t + ": ";
}

} // namespace

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

    // A long line (a file of one line, a binary file) is shown as a window around the caret,
    // so that one diagnostic stays a few lines of a terminal.
    std::size_t caratteri = 0;
    for (std::size_t i = 0; i < sorgente.size(); i = fine_carattere(sorgente, i, utf8))
        ++caratteri;
    std::size_t primo = 0;
    std::size_t ultimo = caratteri;
    if (caratteri > riga_intera_massima) {
        const std::size_t segno =
            std::min(caratteri, d.colonna > 0 ? static_cast<std::size_t>(d.colonna - 1) : 0);
        primo = segno > prima_del_segno ? segno - prima_del_segno : 0;
        ultimo = std::min(caratteri, primo + larghezza_finestra);
    }
    std::size_t inizio = 0;
    std::size_t n = 0;
    for (; n < primo; ++n)
        inizio = fine_carattere(sorgente, inizio, utf8);
    std::size_t fine = inizio;
    for (; n < ultimo; ++n)
        fine = fine_carattere(sorgente, fine, utf8);
    const std::string_view finestra = sorgente.substr(inizio, fine - inizio);
    if (primo > 0)
        t += ellissi;
    t += testo_mostrabile(finestra, utf8);
    if (ultimo < caratteri)
        t += ellissi;
    t += '\n';
    if (d.colonna > 0) {
        if (primo > 0)
            t.append(ellissi.size(), ' ');
        // Tabs stay tabs, so that the caret lines up under the field however they are shown; an
        // escaped byte takes the columns of its escape.
        std::size_t i = 0;
        for (std::size_t carattere = primo + 1; carattere < static_cast<std::size_t>(d.colonna);
             ++carattere) {
            if (i < finestra.size() && finestra[i] == '\t')
                t += '\t';
            else
                t.append(i < finestra.size() ? colonne_mostrate(finestra, i, utf8) : 1, ' ');
            if (i < finestra.size())
                i = fine_carattere(finestra, i, utf8);
        }
        t += "^\n";
    }
    return t;
}

std::string testo_correlati(const diagnostica& d, std::string_view nome_linea,
                            std::string_view nome_treno, bool utf8) {
    std::string t;
    for (const luogo_correlato& c : d.correlati)
        t += luogo(c.file, c.riga, c.colonna, nome_linea, nome_treno, utf8) +
             "nota: " + testo_mostrabile(c.messaggio, utf8) + '\n';
    for (const correzione& c : d.correzioni)
        t += luogo(c.file, c.riga, c.colonna, nome_linea, nome_treno, utf8) +
             "correzione: " + testo_mostrabile(c.titolo, utf8) + '\n';
    return t;
}

} // namespace corvenna
