#include "pipeline/testo_diagnostica.hpp"

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
                              std::string_view testo) {
    std::string t;
    if (d.file) {
        t += nome_file;
        if (d.riga > 0) {
            t += ':' + std::to_string(d.riga);
            if (d.colonna > 0)
                t += ':' + std::to_string(d.colonna);
        }
        t += ": ";
    }
    t += d.livello == gravita::errore ? "errore: " : "avviso: ";
    t += d.messaggio;
    if (d.livello == gravita::errore)
        t += " [codice " + std::to_string(d.codice) + "]\n";
    else
        t += " [" + d.tipo_avviso + "]\n";
    if (!d.file || d.riga <= 0)
        return t;

    const std::string_view sorgente = riga_del_testo(testo, d.riga);
    t += sorgente;
    t += '\n';
    if (d.colonna > 0) {
        // Tabs stay tabs, so that the caret lines up under the field however they are shown.
        for (std::size_t i = 0; i + 1 < static_cast<std::size_t>(d.colonna); ++i)
            t += i < sorgente.size() && sorgente[i] == '\t' ? '\t' : ' ';
        t += "^\n";
    }
    return t;
}

} // namespace corvenna
