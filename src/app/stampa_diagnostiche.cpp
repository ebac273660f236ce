#include "app/stampa_diagnostiche.hpp"

#include "model/codici_errore.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <ostream>
#include <string_view>

namespace corvenna {

namespace {

std::string nome_di(const diagnostica& d, const file_mostrati& file) {
    if (!d.file)
        return "scenario";
    const auto trovato = file.find(*d.file);
    return trovato == file.end() ? std::string() : trovato->second.nome;
}

// The bytes of the first `caratteri` characters of `riga`.
std::size_t byte_dei_caratteri(std::string_view riga, int caratteri, bool utf8) {
    std::size_t p = 0;
    for (int n = 0; n < caratteri && p < riga.size(); ++n) {
        ++p;
        while (utf8 && p < riga.size() && (static_cast<unsigned char>(riga[p]) & 0xC0) == 0x80)
            ++p;
    }
    return p;
}

// The line `riga` (from 1) of `testo`, without its line end.
std::string_view riga_di(std::string_view testo, int riga) {
    std::size_t inizio = 0;
    for (int n = 1; n < riga; ++n) {
        const std::size_t fine = testo.find_first_of("\r\n", inizio);
        if (fine == std::string_view::npos)
            return {};
        inizio =
            fine +
            ((testo[fine] == '\r' && fine + 1 < testo.size() && testo[fine + 1] == '\n') ? 2 : 1);
    }
    const std::size_t fine = testo.find_first_of("\r\n", inizio);
    return testo.substr(inizio,
                        fine == std::string_view::npos ? std::string_view::npos : fine - inizio);
}

void stampa_testo(const diagnostica& d, const file_mostrati& file, std::ostream& errori) {
    errori << nome_di(d, file);
    if (d.riga > 0) {
        errori << ':' << d.riga;
        if (d.colonna > 0)
            errori << ':' << d.colonna;
    }
    errori << (d.livello == gravita::errore ? ": errore: " : ": avviso: ") << d.messaggio;
    if (d.codice != 0)
        errori << " [codice " << d.codice << "]";
    else if (!d.tipo_avviso.empty())
        errori << " [" << d.tipo_avviso << "]";
    errori << '\n';
    if (d.file && d.riga > 0) {
        const auto f = file.find(*d.file);
        if (f != file.end()) {
            const std::string_view riga = riga_di(f->second.testo, d.riga);
            errori << riga << '\n';
            if (d.colonna > 0) {
                // One blank per character before the column; tabs stay tabs, so the caret
                // stands under the field in any tab width.
                const std::size_t fino_a = byte_dei_caratteri(riga, d.colonna - 1, f->second.utf8);
                std::string sotto;
                for (int n = 0; n + 1 < d.colonna; ++n) {
                    const std::size_t p = byte_dei_caratteri(riga, n, f->second.utf8);
                    if (p >= fino_a)
                        break;
                    sotto += riga[p] == '\t' ? '\t' : ' ';
                }
                errori << sotto << "^\n";
            }
        }
    }
}

nlohmann::json in_json(const diagnostica& d, const file_mostrati& file) {
    nlohmann::json j;
    j["file"] = nome_di(d, file);
    j["riga"] = d.riga > 0 ? nlohmann::json(d.riga) : nlohmann::json(nullptr);
    j["colonna"] = d.colonna > 0 ? nlohmann::json(d.colonna) : nlohmann::json(nullptr);
    j["gravita"] = d.livello == gravita::errore ? "errore" : "avviso";
    j["codice"] = d.codice != 0 ? nlohmann::json(d.codice) : nlohmann::json(d.tipo_avviso);
    j["messaggio"] = d.messaggio;
    j["metri"] = d.metri ? nlohmann::json(*d.metri) : nlohmann::json(nullptr);
    return j;
}

} // namespace

elenco_diagnostiche completa_diagnostiche(const scenario_costruito& s) {
    elenco_diagnostiche diagnostiche = s.diagnostiche;
    const bool ha_errore =
        std::any_of(diagnostiche.begin(), diagnostiche.end(),
                    [](const diagnostica& d) { return d.livello == gravita::errore; });
    if (s.riuscito() || ha_errore)
        return diagnostiche;
    diagnostica d;
    if (s.errore_intestazione != 0) {
        d.codice = s.errore_intestazione;
        d.messaggio = "l'intestazione dello scenario e' gia' occupata";
    } else {
        d.codice = s.c.codice_errore != 0 ? s.c.codice_errore : codice::lettura_fallita;
        d.messaggio = std::string(codice::descrizione(d.codice));
        if (codice::ha_posizione(d.codice))
            d.metri = s.c.posizione_errore;
    }
    diagnostiche.push_back(d);
    return diagnostiche;
}

conteggio_diagnostiche stampa_diagnostiche(const elenco_diagnostiche& diagnostiche,
                                           const file_mostrati& file, forma_diagnostiche forma,
                                           std::ostream& uscita, std::ostream& errori) {
    conteggio_diagnostiche n;
    nlohmann::json elenco = nlohmann::json::array();
    for (const diagnostica& d : diagnostiche) {
        (d.livello == gravita::errore ? n.errori : n.avvisi) += 1;
        if (forma == forma_diagnostiche::json)
            elenco.push_back(in_json(d, file));
        else
            stampa_testo(d, file, errori);
    }
    if (forma == forma_diagnostiche::json)
        // A name or message that is not UTF-8 is shown with replacement characters, not refused.
        uscita << elenco.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    errori << n.errori << " errori, " << n.avvisi << " avvisi\n";
    return n;
}

} // namespace corvenna
