#include "scenario/colonne_modulo.hpp"
#include "scenario/documenti_compilati.hpp"
#include "scenario/righe_scheda.hpp"

#include <cmath>
#include <cstdio>

namespace corvenna {

namespace {

// The lines of the built-in card that the compiled one fills: the heading, the two boxes of
// the classification and of the blocked mass, and the 32 rows of the table.
constexpr std::size_t riga_treno = 4;
constexpr std::size_t riga_destinazione = 5;
constexpr std::size_t riga_titolo = 3;
constexpr std::size_t riga_riquadri = 9;
constexpr std::size_t prima_riga_tabella = 16;
constexpr std::size_t righe_tabella = 32;
// The last row of the built-in table is blank: every row the compiled card does not fill.
constexpr std::size_t riga_vuota = prima_riga_tabella + righe_tabella - 1;
// Where the middle box of the heading starts, its width and the title's place.
constexpr std::size_t inizio_riquadro_centrale = 22;
constexpr std::size_t larghezza_riquadro_centrale = 45;
constexpr std::size_t colonna_titolo = 42;

struct riga_orario {
    std::string velocita_linea; // blank where it does not change
    std::string velocita_treno;
    std::string chilometro;
    std::string nome;
    std::string orario = std::string(16, ' ');
    std::string recupero;
};

std::string colonna_velocita(std::optional<int> kmh) {
    return kmh ? a_destra(std::to_string(*kmh), 4) + " " : std::string(5, ' ');
}

std::string testo_riga(const riga_orario& r) {
    return " |" + r.velocita_linea + "|" + r.velocita_treno + "|" + a_destra(r.chilometro, 10) +
           "|     | " + a_sinistra(r.nome, 27) + "|" + r.orario + "|" + al_centro(r.recupero, 5) +
           "|";
}

// Arrival, and " - " departure where the dwell ends in a later minute.
std::string orario_stazione(const stazione_linea& s) {
    if (!s.orario_s)
        return std::string(16, ' ');
    const std::int64_t arrivo = *s.orario_s;
    const std::int64_t partenza = arrivo + s.sosta_s;
    if (partenza / 60 == arrivo / 60)
        return a_destra(ora_modulo(arrivo), 11) + std::string(5, ' ');
    return a_destra(ora_modulo(arrivo) + " - " + ora_modulo(partenza), 14) + "  ";
}

std::string minuti_recupero(double minuti) {
    // A margin that rounds to nothing is written "0", never "-0".
    const double decimi = std::round(minuti * 10) + 0.0;
    char testo[48];
    if (std::fmod(decimi, 10) == 0)
        std::snprintf(testo, sizeof testo, "%.0f", decimi / 10);
    else
        std::snprintf(testo, sizeof testo, "%.1f", decimi / 10);
    return testo;
}

// The rows in running order: each station, and each change of speed whose 50 m stretch holds
// no station (a station shows the speeds of the stretch it stands on).
std::vector<riga_orario> righe_orario(const fatti_linea& f,
                                      const std::optional<std::vector<double>>& margini) {
    std::vector<riga_orario> righe;
    // The speeds the card shows last, each column on its own.
    std::optional<int> linea_mostrata;
    std::optional<int> treno_mostrata;
    const auto velocita_al = [&](std::int64_t metro) -> std::optional<cambio_velocita> {
        std::optional<cambio_velocita> in_vigore;
        for (const cambio_velocita& v : f.velocita)
            if (v.metro <= metro)
                in_vigore = v;
        return in_vigore;
    };
    const auto colonna = [](std::optional<int>& mostrata, std::optional<int> kmh) {
        if (!kmh || mostrata == kmh)
            return colonna_velocita(std::nullopt);
        mostrata = kmh;
        return colonna_velocita(kmh);
    };
    const auto aggiungi = [&](std::int64_t metro, riga_orario r) {
        r.chilometro =
            chilometro_modulo(progressiva_al_metro(f.sistemi, static_cast<double>(metro)));
        const std::optional<cambio_velocita> v = velocita_al(metro);
        r.velocita_linea = colonna(linea_mostrata, v ? std::optional(v->linea_kmh) : std::nullopt);
        r.velocita_treno = colonna(treno_mostrata, v ? std::optional(v->treno_kmh) : std::nullopt);
        righe.push_back(std::move(r));
    };

    std::size_t prossimo_cambio = 0;
    int con_orario = 0;
    const auto cambi_fino_a = [&](std::int64_t metro) {
        for (; prossimo_cambio < f.velocita.size() && f.velocita[prossimo_cambio].metro <= metro;
             ++prossimo_cambio) {
            const cambio_velocita& v = f.velocita[prossimo_cambio];
            bool ha_stazione = false;
            for (const stazione_linea& s : f.stazioni)
                ha_stazione = ha_stazione || (s.metro >= v.metro && s.metro < v.metro + 50);
            if (!ha_stazione)
                aggiungi(v.metro, riga_orario{});
        }
    };
    for (const stazione_linea& s : f.stazioni) {
        cambi_fino_a(s.metro - 1);
        riga_orario r;
        r.nome = s.nome;
        r.orario = orario_stazione(s);
        if (s.orario_s) {
            if (con_orario > 0 && margini &&
                static_cast<std::size_t>(con_orario - 1) < margini->size() &&
                std::isfinite((*margini)[static_cast<std::size_t>(con_orario - 1)]))
                r.recupero = minuti_recupero((*margini)[static_cast<std::size_t>(con_orario - 1)]);
            ++con_orario;
        }
        aggiungi(s.metro, std::move(r));
    }
    cambi_fino_a(f.lunghezza_percorso - 1);
    return righe;
}

} // namespace

std::vector<std::string> righe_scheda_compilata(const fatti_linea& f,
                                                const std::string& numero_treno,
                                                const std::optional<std::vector<double>>& margini) {
    const std::vector<riga_orario> righe = righe_orario(f, margini);
    const std::string prima = f.stazioni.empty() ? std::string() : f.stazioni.front().nome;
    const std::string ultima = f.stazioni.empty() ? std::string() : f.stazioni.back().nome;
    const std::string centrale(larghezza_riquadro_centrale, ' ');

    std::vector<std::string> testo;
    for (std::size_t pagina = 0; pagina == 0 || pagina * righe_tabella < righe.size(); ++pagina) {
        for (std::size_t i = 0; i < numero_righe_scheda; ++i) {
            std::string riga(righe_scheda[i]);
            if (i == riga_titolo && pagina > 0)
                riga = sovrascrivi(riga, colonna_titolo, "SCHEDA (segue)");
            else if (i == riga_treno)
                riga = " |" + al_centro("TRENO n." + numero_treno, 19) + "|" +
                       a_sinistra(sovrascrivi(centrale, 16, "da: " + prima),
                                  larghezza_riquadro_centrale) +
                       "|" + std::string(14, ' ') + "|";
            else if (i == riga_destinazione)
                riga = riga.substr(0, inizio_riquadro_centrale) +
                       a_sinistra(sovrascrivi(centrale, 17, "a: " + ultima),
                                  larghezza_riquadro_centrale) +
                       "|    " + a_sinistra(std::to_string(f.massa_frenata_percento) + " %", 10) +
                       "|";
            else if (i == riga_riquadri)
                riga =
                    " |" + std::string(19, ' ') + "|              |" + std::string(19, ' ') + "|";
            else if (i >= prima_riga_tabella && i < prima_riga_tabella + righe_tabella) {
                const std::size_t n = pagina * righe_tabella + (i - prima_riga_tabella);
                riga =
                    n < righe.size() ? testo_riga(righe[n]) : std::string(righe_scheda[riga_vuota]);
            }
            testo.push_back(std::move(riga));
        }
    }
    return testo;
}

} // namespace corvenna
