#include "running/diagnostiche_marcia.hpp"

#include "description/formato_descrizioni.hpp"
#include "description/lettore.hpp"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <tuple>

namespace corvenna {

namespace {

// Line `riga` (from 1) of `testo`, as the reader counts lines.
std::optional<std::string> riga_di(std::string_view testo, int riga) {
    int n = 1;
    std::size_t inizio = 0;
    for (std::size_t i = 0; i < testo.size() && n < riga; ++i) {
        if (testo[i] == '\r' || testo[i] == '\n') {
            if (testo[i] == '\r' && i + 1 < testo.size() && testo[i + 1] == '\n')
                ++i;
            ++n;
            inizio = i + 1;
        }
    }
    if (n != riga || inizio > testo.size())
        return std::nullopt;
    const std::size_t fine = testo.find_first_of("\r\n", inizio);
    return std::string(testo.substr(inizio, fine == std::string_view::npos ? fine : fine - inizio));
}

// The fields of a row named `parola` read as the compile reads them, up to `ultimo`: the column
// of `primo` and the column past `ultimo`.
std::optional<campo_orario> campi_riga(std::string_view testo, int riga, std::string_view parola,
                                       std::string_view primo, std::string_view ultimo) {
    const auto r = riga_di(testo, riga);
    const parola_chiave_formato* p = parola_chiave_di(parola);
    if (!r || p == nullptr)
        return std::nullopt;
    lettore_descrizione l(*r);
    l.leggi_testo();
    campo_orario c;
    for (const campo_formato& f : p->campi) {
        if (f.tipo == tipo_campo::testo)
            l.leggi_testo();
        else
            l.leggi_long();
        if (l.fallito())
            return std::nullopt;
        if (f.nome == primo)
            c.colonna = l.luogo_campo().colonna;
        if (f.nome == ultimo) {
            c.colonna_fine = l.luogo_campo().colonna + static_cast<int>(l.testo_campo().size());
            return c.colonna > 0 ? std::optional(c) : std::nullopt;
        }
    }
    return std::nullopt;
}

std::string nome(const std::string& nome_1252) {
    return nome_1252.empty() ? std::string("(senza nome)") : nome_1252;
}

diagnostica avviso_marcia(tipo_avviso tipo, const riga_descrizione& r, std::string_view testo,
                          const std::optional<campo_orario>& campo, std::string messaggio,
                          std::int64_t metri) {
    (void)testo;
    diagnostica d;
    d.livello = gravita::avviso;
    d.tipo = tipo;
    d.file = r.file;
    d.riga = r.riga;
    if (campo) {
        d.colonna = campo->colonna;
        d.colonna_fine = campo->colonna_fine;
    }
    d.messaggio = std::move(messaggio);
    d.metri = static_cast<std::int32_t>(metri);
    return d;
}

} // namespace

std::string secondi_testo(double s) {
    char t[48];
    std::snprintf(t, sizeof t, "%.1f", s);
    std::string testo = t;
    if (testo.ends_with(".0"))
        testo.resize(testo.size() - 2);
    if (testo == "-0")
        testo = "0";
    return testo + " s";
}

std::string percento_testo(double p) {
    char t[48];
    std::snprintf(t, sizeof t, "%.1f %%", p);
    return std::string(t) == "-0.0 %" ? std::string("0.0 %") : std::string(t);
}

std::optional<campo_orario> campo_orario_stazione(std::string_view testo, int riga) {
    return campi_riga(testo, riga, "stazione", "ore", "secondi");
}

std::optional<campo_orario> campo_posizione(std::string_view testo, int riga) {
    return campi_riga(testo, riga, "segnale", "posizione", "posizione");
}

elenco_diagnostiche diagnostiche_marcia(const scenario_costruito& s, std::string_view linea,
                                        std::string_view treno, const modello_treno* modello) {
    elenco_diagnostiche d;
    if (!s.riuscito())
        return d;
    const costruzione& c = s.c;
    const auto testo_di = [&](descrizione f) { return f == descrizione::linea ? linea : treno; };
    const linea_marcia l = linea_di_marcia(c);
    std::vector<tratta_marcia> tratte = tratte_orario(l);
    for (tratta_marcia& t : tratte) {
        const auto indice = static_cast<std::size_t>(t.voce_a - 1);
        if (indice >= s.righe.stazioni.size())
            continue;
        const riga_descrizione& r = s.righe.stazioni[indice];
        const auto campo = campo_orario_stazione(testo_di(r.file), r.riga);
        const std::string tratta = "da " + nome(t.da) + " a " + nome(t.a);
        if (t.orario_s < t.limite_s - 0.05) {
            d.push_back(
                avviso_marcia(tipo_avviso::orario_impossibile, r, testo_di(r.file), campo,
                              tratta + " l'orario da' " + secondi_testo(t.orario_s) +
                                  ", meno del limite inferiore di " + secondi_testo(t.limite_s) +
                                  " (" + std::to_string(t.a_metro - t.da_metro) +
                                  " m alle velocita' delle celle): nessun treno tiene l'orario",
                              t.a_metro));
            continue;
        }
        if (modello == nullptr)
            continue;
        const double minimo = tempo_minimo_s(l, *modello, static_cast<double>(t.da_metro),
                                             static_cast<double>(t.a_metro));
        const double margine = t.orario_s - minimo;
        const double percento = minimo > 0 ? 100 * margine / minimo : 0;
        const std::string modello_testo =
            modello->nome.empty() ? std::string("del modello") : "del modello " + modello->nome;
        if (margine < 0)
            d.push_back(
                avviso_marcia(tipo_avviso::orario_irrealizzabile, r, testo_di(r.file), campo,
                              tratta + " l'orario da' " + secondi_testo(t.orario_s) +
                                  ", meno dei " + secondi_testo(minimo) + " della marcia " +
                                  modello_testo + " (margine " + percento_testo(percento) + ")",
                              t.a_metro));
        else if (percento < margine_minimo_percento)
            d.push_back(avviso_marcia(tipo_avviso::margine_scarso, r, testo_di(r.file), campo,
                                      tratta + " l'orario da' " + secondi_testo(t.orario_s) +
                                          " sui " + secondi_testo(minimo) + " della marcia " +
                                          modello_testo + ": margine " + percento_testo(percento) +
                                          ", sotto il 3 %",
                                      t.a_metro));
    }
    if (modello != nullptr) {
        char testo[400];
        for (const segnale_marcia& x :
             frenature_segnali(l, *modello, frenatura_emergenza(*modello, c))) {
            if (x.margine_m >= 0)
                continue;
            const auto k = static_cast<std::size_t>(x.cella_avviso);
            if (k >= s.righe.celle.size() || !s.righe.celle[k])
                continue;
            const riga_descrizione& r = *s.righe.celle[k];
            std::snprintf(testo, sizeof testo,
                          "l'avviso a %lld m sta %lld m prima del principale, ma a %.0f km/h il "
                          "treno ne chiede %.0f per fermarsi (pendenza media %.1f per mille, "
                          "decelerazione di emergenza %.2f m/s^2): mancano %.0f m",
                          static_cast<long long>(x.avviso_metro),
                          static_cast<long long>(x.principale_metro - x.avviso_metro),
                          x.velocita_kmh, x.frenatura_m, x.pendenza_media_per_mille,
                          frenatura_emergenza(*modello, c), -x.margine_m);
            d.push_back(avviso_marcia(tipo_avviso::frenatura_insufficiente, r, testo_di(r.file),
                                      campo_posizione(testo_di(r.file), r.riga), testo,
                                      x.avviso_metro));
        }
    }
    return d;
}

std::string testo_marcia_riga(const scenario_costruito& s, const modello_treno& modello,
                              descrizione d, int riga) {
    if (!s.riuscito())
        return {};
    const costruzione& c = s.c;
    const riga_descrizione cercata{d, riga};
    const linea_marcia l = linea_di_marcia(c);
    const std::string del_modello =
        "marcia a vuoto (modello " +
        (modello.nome.empty() ? std::string("senza nome") : modello.nome) + "): ";
    for (tratta_marcia& t : tratte_orario(l)) {
        const auto indice = static_cast<std::size_t>(t.voce_a - 1);
        if (indice >= s.righe.stazioni.size() || !(s.righe.stazioni[indice] == cercata))
            continue;
        const double minimo = tempo_minimo_s(l, modello, static_cast<double>(t.da_metro),
                                             static_cast<double>(t.a_metro));
        const double margine = t.orario_s - minimo;
        return del_modello + "da " + nome(t.da) + " a " + nome(t.a) + " l'orario da' " +
               secondi_testo(t.orario_s) + "; minimo " + secondi_testo(minimo) +
               ", limite inferiore " + secondi_testo(t.limite_s) + ", margine " +
               secondi_testo(margine) + " (" +
               percento_testo(minimo > 0 ? 100 * margine / minimo : 0) + ")";
    }
    const double emergenza = frenatura_emergenza(modello, c);
    for (const segnale_marcia& x : frenature_segnali(l, modello, emergenza)) {
        const auto k = static_cast<std::size_t>(x.cella_avviso);
        if (k >= s.righe.celle.size() || !s.righe.celle[k] || !(*s.righe.celle[k] == cercata))
            continue;
        char testo[300];
        std::snprintf(testo, sizeof testo,
                      "frenatura dall'avviso %.0f m a %.0f km/h (pendenza media %.1f per mille, "
                      "emergenza %.2f m/s^2) su %.0f m fino al principale a %lld m: margine %.0f m",
                      x.frenatura_m, x.velocita_kmh, x.pendenza_media_per_mille, emergenza,
                      x.disponibile_m, static_cast<long long>(x.principale_metro), x.margine_m);
        return del_modello + testo;
    }
    return {};
}

void aggiungi_in_ordine(elenco_diagnostiche& tutte, elenco_diagnostiche nuove) {
    for (diagnostica& d : nuove)
        tutte.push_back(std::move(d));
    std::stable_sort(tutte.begin(), tutte.end(), [](const diagnostica& a, const diagnostica& b) {
        const auto chiave = [](const diagnostica& d) {
            return std::tuple(d.file ? static_cast<int>(*d.file) : 2,
                              d.riga == 0 ? INT_MAX : d.riga, d.colonna);
        };
        return chiave(a) < chiave(b);
    });
}

} // namespace corvenna
