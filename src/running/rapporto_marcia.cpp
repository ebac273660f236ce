#include "running/rapporto_marcia.hpp"

#include "input/chilometri_guida.hpp"
#include "inspect/ispezione_csv.hpp"
#include "inspect/ispezione_derivati.hpp"
#include "running/diagnostiche_marcia.hpp"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>

namespace corvenna {

namespace {

using json = nlohmann::ordered_json;

// To `passo` (0.1, 0.01), as the nearest double to the rounded decimal.
double arrotonda(double x, double passo) {
    const double per = std::round(1 / passo);
    return std::round(x * per) / per;
}

std::string riga_json(const json& j) {
    return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string numero(double x, int decimali) {
    char t[48];
    std::snprintf(t, sizeof t, "%.*f", decimali, x);
    return t;
}

json tratta_json(const tratta_marcia& t) {
    return {{"da", nome_csv(t.da)},
            {"a", nome_csv(t.a)},
            {"da_metro", t.da_metro},
            {"a_metro", t.a_metro},
            {"partenza", ora_del_giorno(t.partenza_s)},
            {"arrivo", ora_del_giorno(t.arrivo_s)},
            {"orario_s", t.orario_s},
            {"minimo_s", arrotonda(t.minimo_s.value_or(0), 0.1)},
            {"limite_s", arrotonda(t.limite_s, 0.1)},
            {"margine_s", arrotonda(t.margine_s, 0.1)},
            {"margine_percento", arrotonda(t.margine_percento, 0.01)}};
}

json segnale_json(const segnale_marcia& s) {
    return {{"avviso_metro", s.avviso_metro},
            {"principale_metro", s.principale_metro},
            {"velocita_kmh", arrotonda(s.velocita_kmh, 0.1)},
            {"frenatura_m", arrotonda(s.frenatura_m, 0.1)},
            {"disponibile_m", arrotonda(s.disponibile_m, 0.1)},
            {"margine_m", arrotonda(s.margine_m, 0.1)}};
}

std::string km(const std::vector<sistema_progressiva>& s, std::int64_t metro) {
    return testo_progressiva(progressiva_al_metro(s, static_cast<double>(metro)));
}

} // namespace

std::string descrizione_modello(const esito_marcia& e) {
    const modello_treno& m = e.modello;
    char t[200];
    std::snprintf(t, sizeof t,
                  "%s: %.0f t, %.0f m, %.0f km/h, frenatura di servizio %.2f m/s^2, di "
                  "emergenza %.2f m/s^2",
                  m.nome.empty() ? "modello senza nome" : m.nome.c_str(), m.massa_t, m.lunghezza_m,
                  m.velocita_massima_kmh, m.frenatura_servizio_ms2, e.frenatura_emergenza_ms2);
    return t;
}

void scrivi_marcia_testo(std::ostream& uscita, const costruzione& c, const esito_marcia& e,
                         bool con_profilo, std::string_view a_capo) {
    const std::vector<sistema_progressiva> s = sistemi_progressiva(c);
    uscita << "modello " << descrizione_modello(e) << a_capo << a_capo;
    char riga[400];
    std::snprintf(riga, sizeof riga, "%-36s %-17s %8s %8s %8s %8s", "tratta", "km", "orario",
                  "minimo", "limite", "margine");
    uscita << riga << a_capo;
    for (const tratta_marcia& t : e.tratte) {
        const std::string nome = nome_csv(t.da) + " - " + nome_csv(t.a);
        const std::string chilometri = km(s, t.da_metro) + " " + km(s, t.a_metro);
        std::snprintf(riga, sizeof riga, "%-36s %-17s %8s %8s %8s %8s %8s", nome.c_str(),
                      chilometri.c_str(), secondi_testo(t.orario_s).c_str(),
                      secondi_testo(t.minimo_s.value_or(0)).c_str(),
                      secondi_testo(t.limite_s).c_str(), secondi_testo(t.margine_s).c_str(),
                      percento_testo(t.margine_percento).c_str());
        std::string testo = riga;
        if (t.orario_s < t.limite_s)
            testo += "  impossibile";
        else if (t.margine_s < 0)
            testo += "  irrealizzabile";
        else if (t.margine_percento < margine_minimo_percento)
            testo += "  scarso";
        uscita << testo << a_capo;
    }
    std::snprintf(
        riga, sizeof riga, "%-36s %-17s %8s %8s %8s %8s %8s", "intera linea", "-",
        secondi_testo(e.totale.orario_s).c_str(), secondi_testo(e.totale.minimo_s).c_str(),
        secondi_testo(e.totale.limite_s).c_str(), secondi_testo(e.totale.margine_s).c_str(),
        percento_testo(e.totale.margine_percento).c_str());
    uscita << riga << a_capo;

    std::size_t corti = 0;
    for (const segnale_marcia& x : e.segnali)
        corti += x.margine_m < 0 ? 1 : 0;
    uscita << a_capo << "segnali di avviso: " << e.segnali.size()
           << ", con margine scarso: " << corti << a_capo;
    for (const segnale_marcia& x : e.segnali) {
        if (x.margine_m >= 0)
            continue;
        std::snprintf(riga, sizeof riga,
                      "avviso a %lld m (km %s), principale a %lld m: %.0f m disponibili, "
                      "frenatura %.0f m a %.0f km/h (pendenza media %.1f per mille), margine "
                      "%.0f m",
                      static_cast<long long>(x.avviso_metro), km(s, x.avviso_metro).c_str(),
                      static_cast<long long>(x.principale_metro), x.disponibile_m, x.frenatura_m,
                      x.velocita_kmh, x.pendenza_media_per_mille, x.margine_m);
        uscita << riga << a_capo;
    }
    if (!con_profilo)
        return;
    uscita << a_capo << "profilo: metro, km/h, s" << a_capo;
    for (const punto_profilo& p : e.profilo)
        uscita << numero(p.metro, 0) << " " << numero(p.velocita_kmh, 1) << " "
               << numero(p.tempo_s, 1) << a_capo;
}

void scrivi_marcia_json(std::ostream& uscita, const esito_marcia& e, std::string_view a_capo) {
    modello_treno usato = e.modello;
    usato.frenatura_emergenza_ms2 = e.frenatura_emergenza_ms2;
    uscita << "{" << a_capo << "\"modello\": " << modello_in_json(usato) << "," << a_capo;
    uscita << "\"tratte\": [" << a_capo;
    for (std::size_t i = 0; i < e.tratte.size(); ++i)
        uscita << riga_json(tratta_json(e.tratte[i])) << (i + 1 < e.tratte.size() ? "," : "")
               << a_capo;
    uscita << "]," << a_capo;
    const json totale = {{"orario_s", e.totale.orario_s},
                         {"minimo_s", arrotonda(e.totale.minimo_s, 0.1)},
                         {"limite_s", arrotonda(e.totale.limite_s, 0.1)},
                         {"margine_s", arrotonda(e.totale.margine_s, 0.1)},
                         {"margine_percento", arrotonda(e.totale.margine_percento, 0.01)}};
    uscita << "\"totale\": " << riga_json(totale) << "," << a_capo;
    uscita << "\"segnali\": [" << a_capo;
    for (std::size_t i = 0; i < e.segnali.size(); ++i)
        uscita << riga_json(segnale_json(e.segnali[i])) << (i + 1 < e.segnali.size() ? "," : "")
               << a_capo;
    uscita << "]," << a_capo << "\"profilo\": [" << a_capo;
    for (std::size_t i = 0; i < e.profilo.size(); ++i) {
        const punto_profilo& p = e.profilo[i];
        uscita << "{\"metro\":" << numero(p.metro, 0)
               << ",\"velocita_kmh\":" << numero(p.velocita_kmh, 1)
               << ",\"tempo_s\":" << numero(p.tempo_s, 1) << "}"
               << (i + 1 < e.profilo.size() ? "," : "") << a_capo;
    }
    uscita << "]" << a_capo << "}" << a_capo;
}

void scrivi_marcia_csv(std::ostream& uscita, const costruzione& c, const esito_marcia& e,
                       tabella_marcia tabella, std::string_view a_capo) {
    const std::vector<sistema_progressiva> s = sistemi_progressiva(c);
    switch (tabella) {
    case tabella_marcia::tratte:
        uscita << "da,a,da_metro,a_metro,da_km,a_km,partenza,arrivo,orario_s,minimo_s,limite_s,"
                  "margine_s,margine_percento"
               << a_capo;
        for (const tratta_marcia& t : e.tratte)
            uscita << campo_csv(nome_csv(t.da)) << ',' << campo_csv(nome_csv(t.a)) << ','
                   << t.da_metro << ',' << t.a_metro << ',' << km(s, t.da_metro) << ','
                   << km(s, t.a_metro) << ',' << ora_del_giorno(t.partenza_s) << ','
                   << ora_del_giorno(t.arrivo_s) << ',' << numero(t.orario_s, 0) << ','
                   << numero(t.minimo_s.value_or(0), 1) << ',' << numero(t.limite_s, 1) << ','
                   << numero(t.margine_s, 1) << ',' << numero(t.margine_percento, 2) << a_capo;
        return;
    case tabella_marcia::segnali:
        uscita << "avviso_metro,principale_metro,velocita_kmh,pendenza_media_per_mille,"
                  "frenatura_m,disponibile_m,margine_m"
               << a_capo;
        for (const segnale_marcia& x : e.segnali)
            uscita << x.avviso_metro << ',' << x.principale_metro << ','
                   << numero(x.velocita_kmh, 1) << ',' << numero(x.pendenza_media_per_mille, 2)
                   << ',' << numero(x.frenatura_m, 1) << ',' << numero(x.disponibile_m, 1) << ','
                   << numero(x.margine_m, 1) << a_capo;
        return;
    case tabella_marcia::profilo:
        uscita << "metro,velocita_kmh,tempo_s" << a_capo;
        for (const punto_profilo& p : e.profilo)
            uscita << numero(p.metro, 0) << ',' << numero(p.velocita_kmh, 1) << ','
                   << numero(p.tempo_s, 1) << a_capo;
        return;
    }
}

} // namespace corvenna
