#include "drawing/disegno_descrizioni.hpp"
#include "drawing/disegno_segnali.hpp"
#include "drawing/disegno_svg.hpp"
#include "drawing/disegno_testo.hpp"
#include "input/scritta_cartello.hpp"

#include <algorithm>
#include <cmath>

namespace corvenna {

namespace {

void rettangolo(std::string& u, double x1, double y1, double x2, double y2) {
    attributo(u, "x", x1);
    attributo(u, "y", y1);
    attributo(u, "width", std::max(x2 - x1, 0.0));
    attributo(u, "height", std::max(y2 - y1, 0.0));
}

void testo(std::string& u, const char* classe, double x, double y, const std::string& t,
           const char* ancora = nullptr) {
    u += "<text class=\"";
    u += classe;
    u += '"';
    attributo(u, "x", x);
    attributo(u, "y", y);
    if (ancora) {
        u += " text-anchor=\"";
        u += ancora;
        u += '"';
    }
    u += '>';
    aggiungi_html(u, t);
    u += "</text>";
}

std::string km_dati(double metri) {
    return numero_dati(metri / 1000, 3);
}

origine origine_cella(const origini_disegno* o, std::int32_t cella) {
    return o ? cerca_origine(o->celle, cella) : std::nullopt;
}

// A label that gives way to others: its class, priority and anchor.
void etichetta(std::string& u, const char* classe, int priorita, double x, double y,
               const std::string& t, const char* ancora = nullptr) {
    u += "<text class=\"etichetta ";
    u += classe;
    u += "\" data-priorita=\"" + std::to_string(priorita) + "\"";
    attributo(u, "x", x);
    attributo(u, "y", y);
    if (ancora) {
        u += " text-anchor=\"";
        u += ancora;
        u += '"';
    }
    u += '>';
    aggiungi_html(u, t);
    u += "</text>";
}

} // namespace

void simbolo_segnale(std::string& u, tipo_segnale tipo, double x, double y) {
    if (tipo == tipo_segnale::avviso) {
        u += "<path d=\"M";
        aggiungi_coordinata(u, x);
        u += ' ';
        aggiungi_coordinata(u, y - 4);
        u += "l4 4l-4 4l-4 -4z\"/>";
    } else if (tipo == tipo_segnale::protezione) {
        u += "<circle";
        attributo(u, "cx", x);
        attributo(u, "cy", y);
        u += " r=\"3.2\"/>";
    } else {
        u += "<rect";
        rettangolo(u, x - 3, y - 3, x + 3, y + 3);
        u += "/>";
    }
}

namespace {

// A band: its background, the grid lines and values of its scale, and its name.
void fascia_valori(std::string& u, const disegno_profilo& d, const fascia& f, const char* nome,
                   const std::vector<tacca>& tacche, int decimali) {
    u += "<g class=\"fascia\"><rect class=\"fondo\"";
    rettangolo(u, d.sinistra, f.alto, d.destra, f.basso);
    u += "/>";
    for (const tacca& t : tacche) {
        u += "<line class=\"griglia\"";
        attributo(u, "x1", d.sinistra);
        attributo(u, "y1", t.posizione);
        attributo(u, "x2", d.destra);
        attributo(u, "y2", t.posizione);
        u += "/>";
        // The values at a band's edges stand inside it, clear of the next band's.
        const double y = t.posizione <= f.alto + 0.5    ? t.posizione + 8
                         : t.posizione >= f.basso - 0.5 ? t.posizione - 1
                                                        : t.posizione + 3.5;
        testo(u, "valore", d.sinistra - 5, y, numero_testo(t.valore, decimali), "end");
    }
    u += "<text class=\"nome-fascia\" text-anchor=\"middle\" transform=\"translate(14 ";
    aggiungi_coordinata(u, (f.alto + f.basso) / 2);
    u += ") rotate(-90)\">";
    aggiungi_html(u, nome);
    u += "</text></g>\n";
}

void asse_distanza(std::string& u, const disegno_profilo& d, const elementi_scenario& e) {
    u += "<g class=\"asse-distanza\" data-inizio-m=\"0\" data-fine-m=\"" +
         std::to_string(e.fine_asse) + "\" data-x-inizio=\"" + numero_dati(d.sinistra, 3) +
         "\" data-x-fine=\"" + numero_dati(d.destra, 3) + "\"><line class=\"asse\"";
    attributo(u, "x1", d.sinistra);
    attributo(u, "y1", d.asse.alto);
    attributo(u, "x2", d.destra);
    attributo(u, "y2", d.asse.alto);
    u += "/><g class=\"tacche\">";
    for (const tacca& t : d.tacche_km) {
        u += "<line";
        attributo(u, "x1", t.posizione);
        attributo(u, "y1", d.asse.alto);
        attributo(u, "x2", t.posizione);
        attributo(u, "y2", d.asse.alto + 4);
        u += "/>";
        const int decimali = std::floor(t.valore) == t.valore ? 0 : 1;
        etichetta(u, "valore", 4, t.posizione, d.asse.alto + 15, numero_testo(t.valore, decimali),
                  "middle");
    }
    u += "</g>";
    testo(u, "unita", d.sinistra - 16, d.asse.alto + 15, "km", "end");
    u += "</g>\n";
}

void stazioni(std::string& u, const disegno_profilo& d, const elementi_scenario& e,
              const origini_disegno* o) {
    u += "<g class=\"stazioni\">\n";
    for (std::size_t i = 0; i < e.stazioni.size(); ++i) {
        const stazione_disegno& s = e.stazioni[i];
        const double x = d.x_stazioni[i];
        u += "<g class=\"stazione marcatore spostabile";
        u += s.cella_fermata ? " fermata" : " transito";
        u += "\" data-km=\"" + km_dati(s.posizione) + "\" data-voce=\"" + std::to_string(s.voce) +
             "\">";
        titolo(u, descrizione_stazione(
                      e, s, o && i < o->stazioni.size() ? origine(o->stazioni[i]) : std::nullopt));
        u += "<line";
        attributo(u, "x1", x);
        attributo(u, "y1", d.nomi.basso);
        attributo(u, "x2", x);
        attributo(u, "y2", d.elementi.basso);
        u += "/><rect class=\"zona\"";
        rettangolo(u, x - 3, d.nomi.alto, x + 3, d.elementi.basso);
        // Level names, stacked by the script in up to four rows where neighbours crowd them.
        u += "/><text class=\"etichetta nome\" data-priorita=\"5\" data-righe=\"4\" "
             "data-passo=\"-13\"";
        attributo(u, "x", x + 2);
        attributo(u, "y", d.nomi.basso - 4);
        u += '>';
        aggiungi_html(u, s.nome);
        u += "</text></g>\n";
    }
    u += "</g>\n";
}

// The signals, the route signs and the relief and tunnel stretches' names, in the lane under
// the curves; the stretches themselves are drawn with the scaled lines.
void disegna_fascia_elementi(std::string& u, const disegno_profilo& d, const elementi_scenario& e,
                             const origini_disegno* o) {
    const fascia& f = d.elementi;
    u += "<g class=\"galleria-etichette\">\n";
    for (std::size_t i = 0; i < e.rilievi.size(); ++i) {
        const tratto_disegno& r = e.rilievi[i];
        if (!r.galleria)
            continue;
        const double x = (d.rilievi[i].x1 + d.rilievi[i].x2) / 2;
        u += "<g class=\"spostabile\" data-km=\"" +
             km_dati(static_cast<double>(r.inizio + r.fine) / 2) + "\">";
        etichetta(u, "nome-galleria", 3, x, f.alto + 32,
                  "galleria " + numero_testo(static_cast<double>(r.fine - r.inizio) / 1000, 2) +
                      " km",
                  "middle");
        u += "</g>\n";
    }
    u += "</g>\n<g class=\"segnali\">\n";
    for (std::size_t i = 0; i < e.segnali.size(); ++i) {
        const segnale_disegno& s = e.segnali[i];
        const tipo_segnale tipo = tipo_di(leggi_segnale(s));
        const double x = d.x_segnali[i];
        const double y = f.alto + 6;
        u += "<g class=\"segnale marcatore spostabile ";
        u += classe_segnale(tipo);
        u += "\" data-km=\"" + km_dati(static_cast<double>(s.metro)) + "\" data-cella=\"" +
             std::to_string(s.cella) + "\">";
        titolo(u, descrizione_segnale(e, s, origine_cella(o, s.cella)));
        u += "<line";
        attributo(u, "x1", x);
        attributo(u, "y1", y);
        attributo(u, "x2", x);
        attributo(u, "y2", f.alto + 15);
        u += "/>";
        simbolo_segnale(u, tipo, x, y);
        u += "</g>\n";
    }
    u += "</g>\n<g class=\"cartelli\">\n";
    // A board repeating the speed of the one just before it, close by, gets no number of its
    // own: the numbers would run into each other.
    double x_numero = -1e9;
    int velocita_numero = -1;
    for (std::size_t i = 0; i < e.cartelli.size(); ++i) {
        const cartello_disegno& b = e.cartelli[i];
        const double x = d.x_cartelli[i];
        const bool velocita = b.tipo == tipo_cartello::velocita;
        u += "<g class=\"cartello marcatore spostabile ";
        u += velocita ? "velocita" : "indicatore";
        u += "\" data-km=\"" + km_dati(static_cast<double>(b.metro)) + "\" data-cella=\"" +
             std::to_string(b.cella) + "\">";
        titolo(u, descrizione_cartello(e, b, origine_cella(o, b.cella)));
        if (velocita) {
            // At the height of the speed it shows for rank A, always inside the speed band.
            const double y =
                std::clamp(d.y_velocita(b.velocita_s[0]), d.velocita.alto + 4, d.velocita.basso);
            u += "<line";
            attributo(u, "x1", x);
            attributo(u, "y1", y);
            attributo(u, "x2", x);
            attributo(u, "y2", d.velocita.basso);
            u += "/><rect class=\"targa\"";
            rettangolo(u, x - 3.5, y - 3.5, x + 3.5, y + 3.5);
            u += "/>";
            if (b.velocita_s[0] != velocita_numero || x - x_numero > 26) {
                etichetta(u, "velocita-cartello", 2, x + 5, y - 5, std::to_string(b.velocita_s[0]));
                x_numero = x;
                velocita_numero = b.velocita_s[0];
            }
        } else {
            u += "<line";
            attributo(u, "x1", x);
            attributo(u, "y1", f.alto + 24);
            attributo(u, "x2", x);
            attributo(u, "y2", f.basso - 11);
            u += "/>";
            etichetta(u, "scritta-cartello", 1, x, f.basso - 2, scritta_cartello(b.testo),
                      "middle");
        }
        u += "</g>\n";
    }
    u += "</g>\n";
}

// What scales with the distance axis: slowdowns, elevation, gradient, speeds, relief and
// tunnel stretches, curves.
void linee_scalate(std::string& u, const disegno_profilo& d, const elementi_scenario& e,
                   const origini_disegno* o) {
    // A nested view clips what the zoom moves past the axis's ends.
    u += "<svg class=\"ritaglio\"";
    attributo(u, "x", d.sinistra);
    attributo(u, "y", 0);
    attributo(u, "width", d.destra - d.sinistra);
    attributo(u, "height", d.altezza);
    u += " viewBox=\"";
    aggiungi_coordinata(u, d.sinistra);
    u += " 0 ";
    aggiungi_coordinata(u, d.destra - d.sinistra);
    u += ' ';
    aggiungi_coordinata(u, d.altezza);
    u += "\"><g class=\"scala-x\">\n";
    u += "<g class=\"rallentamenti\">\n";
    for (std::size_t i = 0; i < e.rallentamenti.size(); ++i) {
        const rallentamento_celle& r = e.rallentamenti[i];
        u += "<rect class=\"rallentamento marcatore\" data-km=\"" +
             km_dati(static_cast<double>(r.inizio)) + "\" data-velocita=\"" +
             std::to_string(r.velocita) + "\"";
        rettangolo(u, d.rallentamenti[i].x1, d.quota.alto,
                   std::max(d.rallentamenti[i].x2, d.rallentamenti[i].x1 + 0.2), d.elementi.basso);
        u += '>';
        titolo(u, descrizione_rallentamento(r, origine_cella(o, r.cella_inizio)));
        u += "</rect>\n";
    }
    u += "</g>\n";

    // Elevation: the line closed down to the band's bottom, filled.
    if (d.profilo_quota.size() >= 2) {
        u += "<path class=\"quota\" data-minima=\"" + numero_dati(d.quota_minima, 2) +
             "\" data-massima=\"" + numero_dati(d.quota_massima, 2) + "\" data-finale=\"" +
             numero_dati(d.quota_finale, 2) + "\" d=\"M";
        aggiungi_coordinata(u, d.profilo_quota.front().x);
        u += ' ';
        aggiungi_coordinata(u, d.quota.basso);
        u += 'L';
        aggiungi_punti(u, d.profilo_quota);
        u += 'L';
        aggiungi_coordinata(u, d.profilo_quota.back().x);
        u += ' ';
        aggiungi_coordinata(u, d.quota.basso);
        u += "Z\"/>\n";
    }
    u += "<polyline class=\"pendenza\" points=\"";
    aggiungi_punti(u, d.gradini_pendenza);
    u += "\"/>\n<polyline class=\"velocita-linea\" points=\"";
    aggiungi_punti(u, d.gradini_velocita_linea);
    u += "\"/>\n<polyline class=\"velocita-treno\" points=\"";
    aggiungi_punti(u, d.gradini_velocita_treno);
    u += "\"/>\n<g class=\"rilievi\">\n";
    const fascia& f = d.elementi;
    for (std::size_t i = 0; i < e.rilievi.size(); ++i) {
        const tratto_disegno& r = e.rilievi[i];
        u += "<rect class=\"";
        u += r.galleria ? "galleria" : "rilievo";
        u += " marcatore\" data-km=\"" + km_dati(static_cast<double>(r.inizio)) + "\"";
        rettangolo(u, d.rilievi[i].x1, f.alto + 17,
                   std::max(d.rilievi[i].x2, d.rilievi[i].x1 + 0.2), f.alto + 23);
        u += '>';
        titolo(u, descrizione_rilievo(r, o ? cerca_origine(o->rilievi, r.inizio) : std::nullopt));
        u += "</rect>\n";
    }
    u += "</g>\n<g class=\"curve\">\n";
    const double centro = (d.curvatura.alto + d.curvatura.basso) / 2;
    for (std::size_t i = 0; i < d.curve.size(); ++i) {
        const curva_disegno& k = d.curve[i];
        // Sharper curves are taller: 3 units at 10 km of radius, 11 at 333 m.
        const double h = std::clamp(3 + 8 * std::sqrt(333 / std::max(k.raggio, 1.0)), 3.0, 12.0);
        u += "<rect class=\"curva marcatore ";
        u += k.destra ? "destra" : "sinistra";
        u += "\" data-km=\"" + km_dati(static_cast<double>(k.inizio)) + "\" data-raggio=\"" +
             numero_dati(k.raggio, 0) + "\"";
        rettangolo(u, d.x_curve[i].x1, k.destra ? centro - h : centro,
                   std::max(d.x_curve[i].x2, d.x_curve[i].x1 + 0.2),
                   k.destra ? centro : centro + h);
        u += '>';
        titolo(u, descrizione_curva(e, k, o ? cerca_origine(o->curve, k.inizio) : std::nullopt));
        u += "</rect>\n";
    }
    u += "</g>\n</g></svg>\n";
}

} // namespace

void scrivi_svg_profilo(std::string& u, const disegno_profilo& d, const elementi_scenario& e,
                        const origini_disegno* o) {
    u += "<svg id=\"svg-profilo\" class=\"disegno\" viewBox=\"0 0 ";
    aggiungi_coordinata(u, d.larghezza);
    u += ' ';
    aggiungi_coordinata(u, d.altezza);
    u += "\" role=\"img\" aria-label=\"Profilo della linea\">\n";

    fascia_valori(u, d, d.quota, "quota m", d.tacche_quota, 0);
    fascia_valori(u, d, d.pendenza, "‰", d.tacche_pendenza, 0);
    fascia_valori(u, d, d.velocita, "km/h", d.tacche_velocita, 0);
    const double centro = (d.curvatura.alto + d.curvatura.basso) / 2;
    u += "<g class=\"fascia\"><rect class=\"fondo\"";
    rettangolo(u, d.sinistra, d.curvatura.alto, d.destra, d.curvatura.basso);
    u += "/><line class=\"griglia\"";
    attributo(u, "x1", d.sinistra);
    attributo(u, "y1", centro);
    attributo(u, "x2", d.destra);
    attributo(u, "y2", centro);
    u += "/>";
    testo(u, "valore", d.sinistra - 5, centro - 3, "destra", "end");
    testo(u, "valore", d.sinistra - 5, centro + 9, "sinistra", "end");
    u += "</g>\n<g class=\"fascia\"><rect class=\"fondo\"";
    rettangolo(u, d.sinistra, d.elementi.alto, d.destra, d.elementi.basso);
    u += "/>";
    testo(u, "valore", d.sinistra - 5, d.elementi.alto + 9, "segnali", "end");
    testo(u, "valore", d.sinistra - 5, d.elementi.alto + 24, "gallerie", "end");
    testo(u, "valore", d.sinistra - 5, d.elementi.basso - 2, "cartelli", "end");
    u += "</g>\n";

    linee_scalate(u, d, e, o);

    // Each slowdown's speed keeps its size: at its band's middle, at the top of the speed band.
    u += "<g class=\"rallentamenti-etichette\">\n";
    for (std::size_t i = 0; i < e.rallentamenti.size() && i < d.rallentamenti.size(); ++i) {
        const rallentamento_celle& r = e.rallentamenti[i];
        u += "<g class=\"spostabile\" data-km=\"" +
             km_dati(static_cast<double>(r.inizio + r.fine) / 2) + "\">";
        etichetta(u, "velocita-rallentamento", 3,
                  (d.rallentamenti[i].x1 + d.rallentamenti[i].x2) / 2, d.velocita.alto + 10,
                  std::to_string(r.velocita) + " km/h", "middle");
        u += "</g>\n";
    }
    u += "</g>\n";

    // Curve labels keep their size: one marker each at the curve's middle, on its bar's side
    // of the strip (the side its row is named for).
    u += "<g class=\"curve-etichette\">\n";
    for (std::size_t i = 0; i < d.curve.size(); ++i) {
        const curva_disegno& k = d.curve[i];
        u += "<g class=\"spostabile\" data-km=\"" +
             km_dati(static_cast<double>(k.inizio + k.fine) / 2) + "\">";
        etichetta(u, "sigla-curva", 1, (d.x_curve[i].x1 + d.x_curve[i].x2) / 2,
                  k.destra ? centro - 3 : centro + 9, sigla_curva(k), "middle");
        u += "</g>\n";
    }
    u += "</g>\n";

    // The legend of the two speed lines, bottom left of their band, where speeds seldom are.
    const double xl = d.sinistra + 8;
    const double yl = d.velocita.basso - 5;
    u += "<g class=\"legenda\"><line class=\"velocita-linea\"";
    attributo(u, "x1", xl);
    attributo(u, "y1", yl - 3.5);
    attributo(u, "x2", xl + 18);
    attributo(u, "y2", yl - 3.5);
    u += "/>";
    testo(u, "voce-legenda", xl + 22, yl, "linea (celle)");
    u += "<line class=\"velocita-treno\"";
    attributo(u, "x1", xl + 110);
    attributo(u, "y1", yl - 3.5);
    attributo(u, "x2", xl + 128);
    attributo(u, "y2", yl - 3.5);
    u += "/>";
    testo(u, "voce-legenda", xl + 132, yl, "treno (con rallentamenti)");
    u += "</g>\n";

    disegna_fascia_elementi(u, d, e, o);
    stazioni(u, d, e, o);
    asse_distanza(u, d, e);
    u += "</svg>\n";
}

} // namespace corvenna
