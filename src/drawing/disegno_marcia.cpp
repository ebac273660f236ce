#include "drawing/disegno_marcia.hpp"

#include "drawing/disegno_testo.hpp"
#include "input/velocita_effettiva.hpp"
#include "running/diagnostiche_marcia.hpp"
#include "running/rapporto_marcia.hpp"

#include <algorithm>
#include <cstdio>

namespace corvenna {

namespace {

constexpr double altezza_marcia = 240;
constexpr double margine_alto_marcia = 30;
constexpr double margine_basso_marcia = 24;
constexpr double margine_sinistro_marcia = 40;

struct scala_marcia {
    double fine_m = 1;
    double massima_kmh = 1;
    double larghezza = 1;
    double x(double metro) const {
        return margine_sinistro_marcia + (larghezza - margine_sinistro_marcia) * metro / fine_m;
    }
    double y(double kmh) const {
        return altezza_marcia - margine_basso_marcia -
               (altezza_marcia - margine_alto_marcia - margine_basso_marcia) * kmh / massima_kmh;
    }
};

void vertice(std::string& u, double x, double y) {
    aggiungi_coordinata(u, x);
    u += ',';
    aggiungi_coordinata(u, y);
    u += ' ';
}

} // namespace

void scrivi_sezione_marcia(std::string& u, const costruzione& c, const esito_marcia& e,
                           double larghezza) {
    const std::vector<int> limiti = velocita_effettiva_celle(c, rallentamenti_celle(c));
    scala_marcia s;
    s.larghezza = larghezza;
    s.fine_m = std::max<double>(50.0 * static_cast<double>(limiti.size()), 1);
    for (const int v : limiti)
        s.massima_kmh = std::max<double>(s.massima_kmh, v);
    s.massima_kmh = std::max(s.massima_kmh, 20.0);

    u += "<section id=\"marcia\"><h2>Marcia a vuoto</h2>\n<p class=\"comandi\">Modello ";
    aggiungi_html(u, descrizione_modello(e));
    u += ". Velocita' della marcia (blu) sui limiti del treno (grigio); sopra ogni tratta il suo "
         "margine sul tempo minimo, in rosso sotto il 3 %; in rosso gli avvisi troppo vicini al "
         "principale.</p>\n";
    u += "<svg class=\"marcia\" viewBox=\"0 0 ";
    aggiungi_coordinata(u, larghezza);
    u += ' ';
    aggiungi_coordinata(u, altezza_marcia);
    u += "\" style=\"display:block;width:100%;height:auto\" role=\"img\">\n";
    // Speed grid every 20 km/h.
    for (int v = 0; v <= s.massima_kmh; v += 20) {
        u += "<line x1=\"";
        aggiungi_coordinata(u, margine_sinistro_marcia);
        u += "\" x2=\"";
        aggiungi_coordinata(u, larghezza);
        u += "\" y1=\"";
        aggiungi_coordinata(u, s.y(v));
        u += "\" y2=\"";
        aggiungi_coordinata(u, s.y(v));
        u += "\" stroke=\"#e4e4de\" stroke-width=\"1\"/><text x=\"2\" y=\"";
        aggiungi_coordinata(u, s.y(v) + 3);
        u += "\" font-size=\"10\">" + std::to_string(v) + "</text>\n";
    }
    // The limits, as steps over the cells.
    u += "<polyline class=\"limiti-marcia\" fill=\"none\" stroke=\"#9aa5b1\" stroke-width=\"1.2\" "
         "points=\"";
    for (std::size_t k = 0; k < limiti.size(); ++k) {
        if (k > 0 && limiti[k] == limiti[k - 1] && k + 1 < limiti.size())
            continue;
        if (k > 0)
            vertice(u, s.x(50.0 * static_cast<double>(k)), s.y(limiti[k - 1]));
        vertice(u, s.x(50.0 * static_cast<double>(k)), s.y(limiti[k]));
    }
    if (!limiti.empty())
        vertice(u, s.x(s.fine_m), s.y(limiti.back()));
    u += "\"/>\n";
    // The run.
    u +=
        "<polyline class=\"velocita-marcia\" fill=\"none\" stroke=\"#1f6fb2\" stroke-width=\"1.4\" "
        "points=\"";
    for (const punto_profilo& p : e.profilo)
        vertice(u, s.x(p.metro), s.y(p.velocita_kmh));
    u += "\"/>\n";
    // Each section's margin, over its middle.
    for (const tratta_marcia& t : e.tratte) {
        const bool scarso = t.margine_percento < margine_minimo_percento;
        const double x = s.x(static_cast<double>(t.da_metro + t.a_metro) / 2);
        u += "<text class=\"margine-marcia";
        u += scarso ? " scarso" : "";
        u += "\" x=\"";
        aggiungi_coordinata(u, x);
        u += "\" y=\"14\" font-size=\"10\" text-anchor=\"middle\" fill=\"";
        u += scarso ? "#d62828" : "#2f3e46";
        u += "\"><title>";
        aggiungi_html(u, "da " + t.da + " a " + t.a + ": orario " + secondi_testo(t.orario_s) +
                             ", minimo " + secondi_testo(t.minimo_s.value_or(0)) +
                             ", limite inferiore " + secondi_testo(t.limite_s));
        u += "</title>";
        aggiungi_html(u, percento_testo(t.margine_percento));
        u += "</text>\n";
    }
    // The distant signals that cannot be stopped at.
    for (const segnale_marcia& x : e.segnali) {
        if (x.margine_m >= 0)
            continue;
        u += "<g class=\"segnale-corto\"><title>";
        char testo[200];
        std::snprintf(
            testo, sizeof testo, "avviso a %lld m: frenatura %.0f m su %.0f m, margine %.0f m",
            static_cast<long long>(x.avviso_metro), x.frenatura_m, x.disponibile_m, x.margine_m);
        aggiungi_html(u, testo);
        u += "</title><path d=\"M";
        vertice(u, s.x(static_cast<double>(x.avviso_metro)),
                altezza_marcia - margine_basso_marcia + 2);
        u += "l-5 10 h10 z\" fill=\"#d62828\"/></g>\n";
    }
    u += "</svg>\n</section>\n";
}

} // namespace corvenna
