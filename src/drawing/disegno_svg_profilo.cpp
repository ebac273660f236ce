#include "drawing/disegno_descrizioni.hpp"
#include "drawing/disegno_svg.hpp"
#include "drawing/disegno_testo.hpp"

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
        testo(u, "valore", d.sinistra - 5, t.posizione + 3.5, numero_testo(t.valore, decimali),
              "end");
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
    u += "/>";
    for (const tacca& t : d.tacche_km) {
        u += "<line";
        attributo(u, "x1", t.posizione);
        attributo(u, "y1", d.asse.alto);
        attributo(u, "x2", t.posizione);
        attributo(u, "y2", d.asse.alto + 4);
        u += "/>";
        const int decimali = std::floor(t.valore) == t.valore ? 0 : 1;
        testo(u, "valore", t.posizione, d.asse.alto + 15, numero_testo(t.valore, decimali),
              "middle");
    }
    testo(u, "unita", d.sinistra - 5, d.asse.alto + 15, "km", "end");
    u += "</g>\n";
}

void stazioni(std::string& u, const disegno_profilo& d, const elementi_scenario& e) {
    u += "<g class=\"stazioni\">\n";
    for (std::size_t i = 0; i < e.stazioni.size(); ++i) {
        const stazione_disegno& s = e.stazioni[i];
        const double x = d.x_stazioni[i];
        u += "<g class=\"stazione marcatore";
        u += s.cella_fermata ? " fermata" : " transito";
        u += "\" data-km=\"" + km_dati(s.posizione) + "\" data-voce=\"" + std::to_string(s.voce) +
             "\">";
        titolo(u, descrizione_stazione(e, s));
        u += "<line";
        attributo(u, "x1", x);
        attributo(u, "y1", d.nomi.basso);
        attributo(u, "x2", x);
        attributo(u, "y2", d.elementi.basso);
        u += "/><rect class=\"zona\"";
        rettangolo(u, x - 3, d.nomi.alto, x + 3, d.elementi.basso);
        u += "/><text class=\"nome\" transform=\"translate(";
        aggiungi_coordinata(u, x + 2);
        u += ' ';
        aggiungi_coordinata(u, d.nomi.basso - 3);
        u += ") rotate(-32)\">";
        aggiungi_html(u, s.nome);
        u += "</text></g>\n";
    }
    u += "</g>\n";
}

void disegna_fascia_elementi(std::string& u, const disegno_profilo& d, const elementi_scenario& e) {
    const fascia& f = d.elementi;
    const double mezzo = (f.alto + f.basso) / 2;
    u += "<g class=\"fascia\"><rect class=\"fondo\"";
    rettangolo(u, d.sinistra, f.alto, d.destra, f.basso);
    u += "/>";
    testo(u, "valore", d.sinistra - 5, f.alto + 9, "segnali", "end");
    testo(u, "valore", d.sinistra - 5, f.basso - 3, "cartelli", "end");
    u += "</g>\n<g class=\"rilievi\">\n";
    for (std::size_t i = 0; i < e.rilievi.size(); ++i) {
        const tratto_disegno& r = e.rilievi[i];
        u += "<rect class=\"";
        u += r.galleria ? "galleria" : "rilievo";
        u += " marcatore\" data-km=\"" + km_dati(static_cast<double>(r.inizio)) + "\"";
        rettangolo(u, d.rilievi[i].x1, mezzo - 4, std::max(d.rilievi[i].x2, d.rilievi[i].x1 + 1),
                   mezzo + 4);
        u += '>';
        titolo(u, descrizione_rilievo(r));
        u += "</rect>\n";
    }
    u += "</g>\n<g class=\"segnali\">\n";
    for (std::size_t i = 0; i < e.segnali.size(); ++i) {
        const segnale_disegno& s = e.segnali[i];
        const double x = d.x_segnali[i];
        u += "<g class=\"segnale marcatore\" data-km=\"" + km_dati(static_cast<double>(s.metro)) +
             "\" data-cella=\"" + std::to_string(s.cella) + "\">";
        titolo(u, descrizione_segnale(e, s));
        u += "<line";
        attributo(u, "x1", x);
        attributo(u, "y1", f.alto + 5);
        attributo(u, "x2", x);
        attributo(u, "y2", mezzo - 2);
        u += "/><circle";
        attributo(u, "cx", x);
        attributo(u, "cy", f.alto + 5);
        u += " r=\"3\"/></g>\n";
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
        u += "<g class=\"cartello marcatore ";
        u += velocita ? "velocita" : "indicatore";
        u += "\" data-km=\"" + km_dati(static_cast<double>(b.metro)) + "\" data-cella=\"" +
             std::to_string(b.cella) + "\">";
        titolo(u, descrizione_cartello(e, b));
        if (velocita) {
            // At the height of the speed it shows for rank A, on the speed band.
            const double y = d.y_velocita(b.velocita_s[0]);
            u += "<line";
            attributo(u, "x1", x);
            attributo(u, "y1", y);
            attributo(u, "x2", x);
            attributo(u, "y2", f.basso);
            u += "/><rect class=\"targa\"";
            rettangolo(u, x - 3.5, y - 3.5, x + 3.5, y + 3.5);
            u += "/>";
            if (b.velocita_s[0] != velocita_numero || x - x_numero > 26) {
                testo(u, "velocita-cartello", x + 5, y - 5, std::to_string(b.velocita_s[0]));
                x_numero = x;
                velocita_numero = b.velocita_s[0];
            }
        } else {
            u += "<line";
            attributo(u, "x1", x);
            attributo(u, "y1", mezzo + 4);
            attributo(u, "x2", x);
            attributo(u, "y2", f.basso - 1);
            u += "/>";
        }
        u += "</g>\n";
    }
    u += "</g>\n";
}

} // namespace

void scrivi_svg_profilo(std::string& u, const disegno_profilo& d, const elementi_scenario& e) {
    u += "<svg id=\"svg-profilo\" class=\"disegno\" viewBox=\"0 0 ";
    aggiungi_coordinata(u, d.larghezza);
    u += ' ';
    aggiungi_coordinata(u, d.altezza);
    u += "\" role=\"img\" aria-label=\"Profilo della linea\">\n";

    fascia_valori(u, d, d.quota, "quota m", d.tacche_quota, 0);
    fascia_valori(u, d, d.pendenza, "‰", d.tacche_pendenza, 0);
    fascia_valori(u, d, d.velocita, "km/h", d.tacche_velocita, 0);

    // Slowdowns behind everything, across the bands.
    u += "<g class=\"rallentamenti\">\n";
    for (std::size_t i = 0; i < e.rallentamenti.size(); ++i) {
        const rallentamento_disegno& r = e.rallentamenti[i];
        u += "<rect class=\"rallentamento marcatore\" data-km=\"" +
             km_dati(static_cast<double>(r.inizio)) + "\" data-velocita=\"" +
             std::to_string(r.velocita) + "\"";
        rettangolo(u, d.rallentamenti[i].x1, d.quota.alto,
                   std::max(d.rallentamenti[i].x2, d.rallentamenti[i].x1 + 1), d.elementi.basso);
        u += '>';
        titolo(u, descrizione_rallentamento(r));
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
    u += "\"/>\n";
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

    disegna_fascia_elementi(u, d, e);
    stazioni(u, d, e);
    asse_distanza(u, d, e);
    u += "</svg>\n";
}

} // namespace corvenna
