#include "drawing/disegno_descrizioni.hpp"
#include "drawing/disegno_svg.hpp"
#include "drawing/disegno_testo.hpp"

#include <cmath>

namespace corvenna {

namespace {

void polilinea(std::string& u, const char* classe, const std::vector<punto>& punti) {
    if (punti.size() < 2)
        return;
    u += "<polyline class=\"";
    u += classe;
    u += "\" points=\"";
    aggiungi_punti(u, punti);
    u += "\"/>\n";
}

void etichetta(std::string& u, const char* classe, int priorita, const etichetta_piano& e,
               const std::string& testo) {
    if (!e.visibile)
        return;
    u += "<text class=\"etichetta ";
    u += classe;
    u += "\" data-priorita=\"" + std::to_string(priorita) + '"';
    attributo(u, "x", e.base.x);
    attributo(u, "y", e.base.y);
    if (e.ancora == ancoraggio::mezzo)
        u += " text-anchor=\"middle\"";
    else if (e.ancora == ancoraggio::fine)
        u += " text-anchor=\"end\"";
    u += '>';
    aggiungi_html(u, testo);
    u += "</text>";
}

// The bar's length is a round step: whole kilometres from 1 km on.
std::string testo_barra(double metri) {
    if (metri >= 1000)
        return numero_testo(metri / 1000, 0) + " km";
    return numero_testo(metri, metri < 1 ? 1 : 0) + " m";
}

// The point a marker keeps its size around when the page zooms.
void ancora(std::string& u, punto p) {
    u += " data-x=\"" + numero_dati(p.x, 1) + "\" data-y=\"" + numero_dati(p.y, 1) + '"';
}

} // namespace

void aggiungi_punti(std::string& uscita, const std::vector<punto>& punti) {
    bool primo = true;
    for (const punto& p : punti) {
        if (!primo)
            uscita += ' ';
        primo = false;
        aggiungi_coordinata(uscita, p.x);
        uscita += ',';
        aggiungi_coordinata(uscita, p.y);
    }
}

void scrivi_svg_planimetria(std::string& u, const disegno_planimetria& d,
                            const elementi_scenario& e, const origini_disegno* o) {
    u += "<svg id=\"svg-planimetria\" class=\"disegno\" viewBox=\"0 0 ";
    aggiungi_coordinata(u, d.larghezza);
    u += ' ';
    aggiungi_coordinata(u, d.altezza);
    u += "\" role=\"img\" aria-label=\"Planimetria della linea\">\n";
    if (!d.presente) {
        u += "<text class=\"assente\" x=\"20\" y=\"40\">Lo scenario non ha planimetria.</text>\n"
             "</svg>\n";
        return;
    }
    // The view the page zooms: its own viewBox over the same units, the legend and the scale
    // bar outside it.
    u += "<svg id=\"vista-planimetria\" x=\"0\" y=\"0\"";
    attributo(u, "width", d.larghezza);
    attributo(u, "height", d.altezza);
    u += " viewBox=\"0 0 ";
    aggiungi_coordinata(u, d.larghezza);
    u += ' ';
    aggiungi_coordinata(u, d.altezza);
    u += "\">\n";
    // The transformation and the extent in metres, so a reader can measure the drawing.
    const trasformazione_piano& t = d.trasformazione;
    u += "<g class=\"traccia\" data-scala=\"" + numero_dati(t.scala, 9) + "\" data-x0=\"" +
         numero_dati(t.x0, 3) + "\" data-y0=\"" + numero_dati(t.y0, 3) + "\" data-rotazione=\"" +
         numero_dati(t.gradi(), 9) + "\" data-tolleranza-m=\"" + numero_dati(d.tolleranza, 3) +
         "\" data-x-min=\"" + numero_dati(d.estensione.x_min, 3) + "\" data-x-max=\"" +
         numero_dati(d.estensione.x_max, 3) + "\" data-y-min=\"" +
         numero_dati(d.estensione.y_min, 3) + "\" data-y-max=\"" +
         numero_dati(d.estensione.y_max, 3) + "\" data-ultimo-metro=\"" +
         std::to_string(d.ultimo_metro) + "\" data-riquadri=\"";
    for (std::size_t i = 0; i < d.riquadri_km.size(); ++i) {
        const riquadro& r = d.riquadri_km[i];
        if (i > 0)
            u += ';';
        if (!std::isfinite(r.x1))
            continue;
        aggiungi_coordinata(u, r.x1);
        u += ' ';
        aggiungi_coordinata(u, r.y1);
        u += ' ';
        aggiungi_coordinata(u, r.x2);
        u += ' ';
        aggiungi_coordinata(u, r.y2);
    }
    u += "\">\n";
    for (const galleria_piano& g : d.gallerie) {
        const tratto_disegno& r = e.rilievi[static_cast<std::size_t>(g.indice)];
        u += "<polyline class=\"galleria marcatore\" data-km=\"" +
             numero_dati(static_cast<double>(r.inizio) / 1000, 3) + "\" points=\"";
        aggiungi_punti(u, g.punti);
        u += "\">";
        titolo(u, descrizione_rilievo(r, o ? cerca_origine(o->rilievi, r.inizio) : std::nullopt));
        u += "</polyline>\n";
    }
    polilinea(u, "oltre", d.oltre);
    polilinea(u, "binario", d.percorso);
    // Inside a tunnel the track is drawn dashed.
    for (const galleria_piano& g : d.gallerie)
        polilinea(u, "interno-galleria", g.punti);
    u += "</g>\n";

    u += "<g class=\"cippi\">\n";
    for (const cippo_piano& c : d.cippi) {
        u += "<g class=\"cippo punto\" data-progressiva=\"" + numero_dati(c.chilometro, 3) +
             "\" data-km=\"" + numero_dati(c.metro / 1000, 3) + "\"";
        ancora(u, c.posizione);
        u += "><line";
        attributo(u, "x1", c.posizione.x - c.normale.x * 3);
        attributo(u, "y1", c.posizione.y - c.normale.y * 3);
        attributo(u, "x2", c.posizione.x + c.normale.x * 4);
        attributo(u, "y2", c.posizione.y + c.normale.y * 4);
        u += "/>";
        etichetta(u, "etichetta-cippo", 1, c.etichetta, numero_testo(c.chilometro, 0));
        u += "</g>\n";
    }
    u += "</g>\n<g class=\"segnali\">\n";
    for (const marcatore_piano& m : d.segnali) {
        const segnale_disegno& s = e.segnali[static_cast<std::size_t>(m.indice)];
        const tipo_segnale tipo = tipo_di(leggi_segnale(s));
        u += "<g class=\"segnale marcatore punto ";
        u += classe_segnale(tipo);
        u += "\" data-km=\"" + numero_dati(static_cast<double>(s.metro) / 1000, 3) +
             "\" data-cella=\"" + std::to_string(s.cella) + "\"";
        ancora(u, m.posizione);
        u += '>';
        titolo(u, descrizione_segnale(e, s, o ? cerca_origine(o->celle, s.cella) : std::nullopt));
        simbolo_segnale(u, tipo, m.posizione.x, m.posizione.y);
        u += "</g>\n";
    }
    u += "</g>\n<g class=\"stazioni\">\n";
    for (const marcatore_piano& m : d.stazioni) {
        const auto i = static_cast<std::size_t>(m.indice);
        const stazione_disegno& s = e.stazioni[i];
        u += "<g class=\"stazione marcatore punto\" data-km=\"" +
             numero_dati(s.posizione / 1000.0, 3) + "\" data-voce=\"" + std::to_string(s.voce) +
             "\"";
        ancora(u, m.posizione);
        u += '>';
        titolo(u, descrizione_stazione(
                      e, s, o && i < o->stazioni.size() ? origine(o->stazioni[i]) : std::nullopt));
        u += "<circle";
        attributo(u, "cx", m.posizione.x);
        attributo(u, "cy", m.posizione.y);
        attributo(u, "r", raggio_stazione);
        u += "/>";
        etichetta(u, "nome", 5, m.etichetta, s.nome);
        u += "</g>\n";
    }
    u += "</g>\n</svg>\n";

    // Scale bar, bottom left; the page's zoom rewrites it.
    const double y = d.altezza - 12;
    u += "<g class=\"barra-scala\" data-metri=\"" + numero_dati(d.barra_metri, 0) +
         "\" data-minimo-svg=\"80\"><path d=\"M16 ";
    aggiungi_coordinata(u, y - 5);
    u += "v5h";
    aggiungi_coordinata(u, d.barra_svg);
    u += "v-5\"/><text";
    attributo(u, "x", 16 + d.barra_svg + 6);
    attributo(u, "y", y + 1);
    u += '>';
    aggiungi_html(u, testo_barra(d.barra_metri));
    u += "</text></g>\n";
    // The starting direction and the legend, top left, on a pale ground the zoomed track may
    // pass behind.
    // The arrow turns with the drawing.
    u += "<rect class=\"fondo-legenda\" x=\"8\" y=\"18\" width=\"160\" height=\"138\" "
         "rx=\"4\"/>\n<g class=\"direzione\" transform=\"translate(24 34)\"><path";
    if (t.seno != 0) {
        u += " transform=\"rotate(";
        aggiungi_coordinata(u, -t.gradi());
        u += ")\"";
    }
    u += " d=\"M0 14V-10M-4 -4L0 -11L4 -4\"/><text x=\"9\" y=\"4\">direzione iniziale</text></g>\n"
         "<g class=\"legenda\" transform=\"translate(16 64)\">"
         "<circle class=\"stazione-legenda\" cx=\"8\" cy=\"0\" r=\"4\"/>"
         "<text x=\"20\" y=\"3.5\">stazione</text>"
         "<g class=\"segnale-legenda avviso\"><path d=\"M8 12l4 4l-4 4l-4 -4z\"/></g>"
         "<text x=\"20\" y=\"19.5\">segnale di avviso</text>"
         "<g class=\"segnale-legenda protezione\"><circle cx=\"8\" cy=\"32\" r=\"3.2\"/></g>"
         "<text x=\"20\" y=\"35.5\">segnale di protezione</text>"
         "<path class=\"galleria-legenda\" d=\"M0 48h16\"/>"
         "<path class=\"interno-galleria\" d=\"M0 48h16\"/>"
         "<text x=\"20\" y=\"51.5\">galleria</text>"
         "<path class=\"oltre\" d=\"M0 64h16\"/><text x=\"20\" y=\"67.5\">oltre il "
         "percorso</text>"
         "<path class=\"cippo-legenda\" d=\"M8 76v8\"/><text x=\"20\" y=\"83.5\">"
         "km del macchinista</text></g>\n";
    u += "</svg>\n";
}

} // namespace corvenna
