#include "drawing/disegno_pagina.hpp"

#include "drawing/disegno_descrizioni.hpp"
#include "drawing/disegno_elementi.hpp"
#include "drawing/disegno_planimetria.hpp"
#include "drawing/disegno_profilo.hpp"
#include "drawing/disegno_svg.hpp"
#include "drawing/disegno_testo.hpp"

#include <cstddef>
#include <string_view>

namespace corvenna {

namespace {

constexpr std::string_view stile = R"(
:root{--inchiostro:#1f2933;--tenue:#6b7785;--linea:#1d4e89;--treno:#d1495b;--stazione:#14213d}
*{box-sizing:border-box}
body{margin:0;padding:10px 18px 24px;font:13px/1.35 "DejaVu Sans","Liberation Sans",Arial,sans-serif;color:var(--inchiostro);background:#f7f7f4}
header{display:flex;flex-wrap:wrap;align-items:baseline;gap:4px 22px;margin-bottom:4px}
h1{font-size:20px;margin:0;font-weight:700}
h1 .treno{font-weight:400;color:var(--tenue);margin-left:6px}
.cifre{display:flex;flex-wrap:wrap;gap:2px 16px;margin:0;padding:0;list-style:none}
.cifre b{font-size:15px}
.progressive{flex-basis:100%;margin:0;color:var(--tenue);font-size:12px}
section{background:#fff;border:1px solid #dcdcd6;border-radius:6px;margin-top:8px;padding:4px 8px 2px;position:relative}
h2{position:absolute;top:5px;right:12px;margin:0;font-size:11px;letter-spacing:.08em;text-transform:uppercase;color:var(--tenue);font-weight:600}
svg.disegno{display:block;width:100%;height:auto}
svg text{font-family:inherit;fill:var(--inchiostro)}
.traccia polyline{fill:none;stroke-linejoin:round;stroke-linecap:round}
.binario{stroke:#2f3e46;stroke-width:2.2}
.oltre{fill:none;stroke:#9aa5b1;stroke-width:1.5;stroke-dasharray:4 3}
polyline.galleria,.galleria-legenda{fill:none;stroke:#a0673a;stroke-width:8;stroke-opacity:.6}
.interno-galleria{fill:none;stroke:#fff;stroke-width:1.2;stroke-dasharray:3 3}
.legenda text{font-size:10px}
.stazione-legenda{fill:#fff;stroke:var(--stazione);stroke-width:2}
.segnale-legenda{fill:#d62828}
.cippo-legenda{stroke:var(--tenue);stroke-width:1}
.cippo line{stroke:var(--tenue);stroke-width:1}
.etichetta-cippo{font-size:9px;fill:var(--tenue)!important}
circle.segnale{fill:#d62828;stroke:#fff;stroke-width:.8}
.stazione circle{fill:#fff;stroke:var(--stazione);stroke-width:2}
.stazione .nome{font-size:10.5px;font-weight:600;fill:var(--stazione)}
.barra-scala path,.direzione path{fill:none;stroke:var(--inchiostro);stroke-width:1.5}
.barra-scala text,.direzione text{font-size:10px}
.fondo{fill:#fbfbf8;stroke:#e3e3dc}
.griglia{stroke:#e6e6df;stroke-width:1}
.valore,.unita{font-size:9.5px;fill:var(--tenue)!important}
.nome-fascia{font-size:10px;font-weight:600;fill:var(--tenue)!important}
path.quota{fill:#d9e8cf;stroke:#5b8c4a;stroke-width:1.3}
polyline.pendenza{fill:none;stroke:#7b4fa0;stroke-width:1.4}
polyline.velocita-linea,line.velocita-linea{fill:none;stroke:var(--linea);stroke-width:2.2}
polyline.velocita-treno,line.velocita-treno{fill:none;stroke:var(--treno);stroke-width:1.4;stroke-dasharray:5 3}
.voce-legenda{font-size:10px}
rect.rallentamento{fill:var(--treno);fill-opacity:.12;stroke:var(--treno);stroke-opacity:.4}
rect.galleria{fill:#8c5a32}
rect.rilievo{fill:#d9b98f}
g.segnale line{stroke:#555;stroke-width:1}
g.segnale circle{fill:#d62828}
g.cartello line{stroke:#8796a5;stroke-width:1}
g.velocita line{stroke:var(--linea);stroke-opacity:.35;stroke-dasharray:2 2}
.targa{fill:#fff;stroke:var(--linea);stroke-width:1.5}
.velocita-cartello{font-size:9px;font-weight:600;fill:var(--linea)!important}
g.stazione>line{stroke:var(--stazione);stroke-opacity:.35;stroke-width:1}
g.transito>line{stroke-dasharray:3 3}
.stazione .zona{fill:transparent}
#svg-profilo .stazione .nome{font-size:10px}
.asse{stroke:var(--inchiostro);stroke-width:1}
.asse-distanza line{stroke:var(--inchiostro)}
.marcatore{cursor:help}
.marcatore:hover circle,.marcatore:hover .targa,.marcatore.attivo circle{stroke:#f4a261;stroke-width:3}
.marcatore.attivo .nome,.marcatore:hover .nome{fill:#c4561d}
table{border-collapse:collapse;width:100%;margin:22px 0 6px;font-size:12.5px}
th,td{padding:3px 8px;border-bottom:1px solid #ecece6;text-align:left;white-space:nowrap}
th{font-size:11px;text-transform:uppercase;letter-spacing:.05em;color:var(--tenue);font-weight:600}
td.numero{text-align:right;font-variant-numeric:tabular-nums}
tr.transito td{color:var(--tenue)}
tr.attivo td{background:#fdf0e4}
#suggerimento{position:fixed;z-index:9;pointer-events:none;max-width:360px;padding:6px 9px;border-radius:5px;background:#1f2933;color:#fff;font-size:12px;white-space:pre-line;box-shadow:0 2px 8px rgba(0,0,0,.25)}
#suggerimento[hidden]{display:none}
)";

// Turns each marker's <title> into its tooltip, shown beside the pointer, and lights up every
// drawing of the same feature (a station in the plan, the profile and the timetable).
constexpr std::string_view programma = R"(
(function(){
var tip=document.getElementById('suggerimento');
document.querySelectorAll('.marcatore').forEach(function(el){
var t=el.querySelector(':scope>title');if(!t)return;
el.setAttribute('data-info',t.textContent);t.remove();});
var accesi=[];
function spegni(){accesi.forEach(function(x){x.classList.remove('attivo');});accesi=[];}
document.addEventListener('mouseover',function(ev){
var el=ev.target.closest?ev.target.closest('[data-info]'):null;spegni();
if(!el){tip.hidden=true;return;}
tip.textContent=el.getAttribute('data-info');tip.hidden=false;
var v=el.getAttribute('data-voce');
if(v)document.querySelectorAll('[data-voce="'+v+'"]').forEach(function(x){x.classList.add('attivo');accesi.push(x);});});
document.addEventListener('mousemove',function(ev){if(tip.hidden)return;
var x=ev.clientX+14,y=ev.clientY+16,w=tip.offsetWidth,h=tip.offsetHeight;
if(x+w>innerWidth-4)x=ev.clientX-w-12;if(y+h>innerHeight-4)y=ev.clientY-h-12;
tip.style.left=x+'px';tip.style.top=y+'px';});
})();
)";

void intestazione(std::string& u, const elementi_scenario& e) {
    std::size_t velocita = 0;
    for (const cartello_disegno& b : e.cartelli)
        velocita += b.tipo == tipo_cartello::velocita ? 1 : 0;
    u += "<header id=\"intestazione\"><h1>";
    aggiungi_html(u, e.nome_scenario);
    u += "<span class=\"treno\">treno ";
    aggiungi_html(u, e.numero_treno);
    u += "</span></h1>\n<ul class=\"cifre\">";
    u += "<li>percorso <b id=\"lunghezza-percorso\" data-metri=\"" +
         std::to_string(e.lunghezza_percorso) + "\">" +
         km_testo(static_cast<double>(e.lunghezza_percorso)) + " km</b></li>";
    u +=
        "<li><b id=\"numero-stazioni\">" + std::to_string(e.stazioni.size()) + "</b> stazioni</li>";
    u += "<li><b id=\"numero-segnali\">" + std::to_string(e.segnali.size()) + "</b> segnali</li>";
    u += "<li><b id=\"numero-cartelli\">" + std::to_string(e.cartelli.size()) + "</b> cartelli (" +
         std::to_string(velocita) + " indicatori di velocità, " +
         std::to_string(e.cartelli.size() - velocita) + " indicatori di località)</li>";
    u += "</ul>\n<p class=\"progressive\">Progressive chilometriche: ";
    bool primo = true;
    for (const tratto_chilometrico& t : tratti_chilometrici(e)) {
        if (!primo)
            u += " · ";
        primo = false;
        u += "da km " + km_testo(t.inizio) + ", ";
        if (!t.sistema)
            u += "distanza dall'origine";
        else
            u += std::string(t.sistema->decrescente ? "decrescente" : "crescente") + " da " +
                 progressiva_testo(progressiva(e.sistemi, t.inizio));
    }
    u += "</p></header>\n";
}

void orario(std::string& u, const elementi_scenario& e) {
    u += "<section id=\"orario\"><h2>Orario</h2>\n<table>\n<thead><tr><th>n.</th><th>"
         "Stazione</th><th>km</th><th>progressiva</th><th>orario</th><th>servizio</th>"
         "<th>marciapiede</th><th>tipo</th></tr></thead>\n<tbody>\n";
    for (std::size_t i = 0; i < e.stazioni.size(); ++i) {
        const stazione_disegno& s = e.stazioni[i];
        u += "<tr class=\"riga-stazione";
        u += s.cella_fermata ? "" : " transito";
        u += "\" data-voce=\"" + std::to_string(s.voce) + "\"><td class=\"numero\">" +
             std::to_string(i + 1) + "</td><td>";
        aggiungi_html(u, s.nome);
        u += "</td><td class=\"numero\">" + km_testo(s.posizione) + "</td><td class=\"numero\">" +
             progressiva_testo(progressiva(e.sistemi, s.posizione)) + "</td><td class=\"numero\">";
        u += s.orario != 0 ? ora_testo(s.orario) : std::string("—");
        u += "</td><td>";
        u += s.cella_fermata ? "fermata (cella " + std::to_string(*s.cella_fermata) + ")"
                             : std::string("transito");
        u += "</td><td class=\"numero\">" +
             numero_testo(static_cast<double>(s.fine) - s.inizio, 0) +
             " m</td><td class=\"numero\">" + std::to_string(s.tipo) + "</td></tr>\n";
    }
    u += "</tbody>\n</table>\n</section>\n";
}

} // namespace

std::string pagina_disegno(const costruzione& c) {
    const elementi_scenario e = estrai_elementi(c);
    const disegno_planimetria piano =
        disegna_planimetria(c, e, larghezza_disegno, altezza_planimetria);
    const disegno_profilo profilo = disegna_profilo(c, e, larghezza_disegno);

    std::string u;
    u.reserve(256 * 1024);
    u += "<!DOCTYPE html>\n<html lang=\"it\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
         "<link rel=\"icon\" href=\"data:,\">\n<title>";
    aggiungi_html(u, e.nome_scenario);
    u += " · treno ";
    aggiungi_html(u, e.numero_treno);
    u += "</title>\n<style>";
    u += stile;
    u += "</style>\n</head>\n<body>\n";
    intestazione(u, e);
    u += "<section id=\"planimetria\"><h2>Planimetria</h2>\n";
    scrivi_svg_planimetria(u, piano, e);
    u += "</section>\n<section id=\"profilo\"><h2>Profilo</h2>\n";
    scrivi_svg_profilo(u, profilo, e);
    u += "</section>\n";
    orario(u, e);
    u += "<div id=\"suggerimento\" hidden></div>\n<script>";
    u += programma;
    u += "</script>\n</body>\n</html>\n";
    return u;
}

} // namespace corvenna
