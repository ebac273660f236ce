#include "drawing/disegno_pagina.hpp"

#include "drawing/disegno_descrizioni.hpp"
#include "drawing/disegno_elementi.hpp"
#include "drawing/disegno_marcia.hpp"
#include "drawing/disegno_planimetria.hpp"
#include "drawing/disegno_profilo.hpp"
#include "drawing/disegno_svg.hpp"
#include "drawing/disegno_testo.hpp"
#include "input/chilometri_guida.hpp"

#include <algorithm>
#include <cstddef>
#include <optional>
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
h2 .lettura{text-transform:none;letter-spacing:0;font-weight:400}
svg.disegno{display:block;width:100%;height:auto}
svg text{font-family:inherit;fill:var(--inchiostro)}
.traccia polyline{fill:none;stroke-linejoin:round;stroke-linecap:round}
.binario{stroke:#2f3e46;stroke-width:2.2}
.oltre{fill:none;stroke:#9aa5b1;stroke-width:1.5;stroke-dasharray:4 3}
polyline.galleria,.galleria-legenda{fill:none;stroke:#a0673a;stroke-width:8;stroke-opacity:.6}
.interno-galleria{fill:none;stroke:#fff;stroke-width:1.2;stroke-dasharray:3 3}
.legenda text{font-size:10px}
.stazione-legenda{fill:#fff;stroke:var(--stazione);stroke-width:2}
.segnale.avviso path,.segnale-legenda.avviso path{fill:#f2b705;stroke:#5c4400;stroke-width:.8}
.segnale.protezione circle,.segnale-legenda.protezione circle{fill:#d62828;stroke:#fff;stroke-width:.8}
.segnale.altro rect{fill:#6b7785}
#svg-planimetria *,#svg-profilo .scala-x *{vector-effect:non-scaling-stroke}
svg.disegno{cursor:grab;touch-action:none}
.fondo-legenda{fill:#fff;fill-opacity:.85}
.comandi{margin:6px 0 0;color:var(--tenue);font-size:12px}
.comandi kbd{font:inherit;border:1px solid #cfcfc8;border-radius:3px;padding:0 4px;background:#fff}
rect.curva.destra{fill:#e07a5f;fill-opacity:.6}
rect.curva.sinistra{fill:#3d85c6;fill-opacity:.6}
.sigla-curva{font-size:8.5px;fill:var(--tenue)!important}
.nome-galleria{font-size:9px;fill:#8c5a32!important}
.scritta-cartello{font-size:8.5px;fill:#52606d!important}
.cippo-legenda{stroke:var(--tenue);stroke-width:1}
.cippo line{stroke:var(--tenue);stroke-width:1}
.etichetta-cippo{font-size:9px;fill:var(--tenue)!important}
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
.velocita-rallentamento{font-size:9px;font-weight:600;fill:var(--treno)!important}
rect.galleria{fill:#8c5a32}
rect.rilievo{fill:#d9b98f}
g.segnale line{stroke:#555;stroke-width:1}
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

var prof=document.getElementById('svg-profilo'),asse=prof.querySelector('.asse-distanza');
var M0=+asse.dataset.inizioM,M1=+asse.dataset.fineM,X0=+asse.dataset.xInizio,X1=+asse.dataset.xFine;
var da=M0,a=M1,NS=prof.namespaceURI;
var piano=document.getElementById('svg-planimetria'),vista=document.getElementById('vista-planimetria');
var traccia=vista&&vista.querySelector('g.traccia'),W=0,H=0,riq=[];
if(traccia){W=vista.viewBox.baseVal.width;H=vista.viewBox.baseVal.height;
riq=traccia.dataset.riquadri.split(';').map(function(t){return t?t.split(' ').map(Number):null;});}
function X(m){return X0+(m-M0)*(X1-X0)/(M1-M0);}
function Xz(m){return X0+(m-da)*(X1-X0)/(a-da);}
function tondo(min){var p=Math.pow(10,Math.floor(Math.log10(min)));
return [1,2,5,10].map(function(k){return k*p;}).filter(function(v){return v>=min*(1-1e-9);})[0];}
function cifre(v,d){return v.toFixed(d).replace('.',',');}
function nuovo(tipo,attr,testo){var e=document.createElementNS(NS,tipo);
for(var k in attr)e.setAttribute(k,attr[k]);if(testo)e.textContent=testo;return e;}
function sfoltisci(svg){
var k=svg.getBoundingClientRect().width/svg.viewBox.baseVal.width;
var et=[].slice.call(svg.querySelectorAll('text.etichetta'));
et.forEach(function(t){t.style.visibility='';t.removeAttribute('transform');
if(t.parentNode.classList.contains('cippo'))t.parentNode.style.visibility='';});
var presi=[];
svg.querySelectorAll('text:not(.etichetta)').forEach(function(t){var r=t.getBoundingClientRect();if(r.width)presi.push(r);});
var misure=et.map(function(t){return t.getBoundingClientRect();});
et.map(function(t,i){return i;}).sort(function(i,j){return et[j].dataset.priorita-et[i].dataset.priorita||i-j;}).forEach(function(i){
var t=et[i],r=misure[i];if(!r.width)return;
var righe=+(t.dataset.righe||1),passo=+(t.dataset.passo||0);
for(var n=0;n<righe;n++){var q={left:r.left-3,right:r.right+3,top:r.top+n*passo*k,bottom:r.bottom+n*passo*k};
if(!presi.some(function(p){return q.left<p.right&&p.left<q.right&&q.top<p.bottom&&p.top<q.bottom;})){
presi.push(q);if(n)t.setAttribute('transform','translate(0 '+n*passo+')');return;}}
t.style.visibility='hidden';if(t.parentNode.classList.contains('cippo'))t.parentNode.style.visibility='hidden';});}
function dentro(el){var m=el.dataset.km*1000;return m>=da-0.5&&m<=a+0.5;}
function applica(){
var s=(M1-M0)/(a-da),intero=da<=M0&&a>=M1;
prof.querySelector('.scala-x').setAttribute('transform','matrix('+s+' 0 0 1 '+(X0-X(da)*s)+' 0)');
prof.querySelectorAll('.spostabile').forEach(function(g){var si=dentro(g);g.style.display=si?'':'none';
if(si)g.setAttribute('transform','translate('+(Xz(g.dataset.km*1000)-X(g.dataset.km*1000))+' 0)');});
var tacche=asse.querySelector('.tacche'),y=+asse.querySelector('line.asse').getAttribute('y1');
tacche.textContent='';var p=tondo((a-da)/1000*70/(X1-X0)),d=Math.max(0,-Math.floor(Math.log10(p)+1e-9));
for(var n=Math.ceil(da/1000/p-1e-9);n*p*1000<=a+1e-6;n++){var x=Xz(n*p*1000);
tacche.appendChild(nuovo('line',{x1:x,y1:y,x2:x,y2:y+4}));
tacche.appendChild(nuovo('text',{'class':'etichetta valore','data-priorita':4,x:x,y:y+15,'text-anchor':'middle'},cifre(n*p,d)));}
if(traccia){var b=null,z=1,vb=[0,0,W,H];
if(!intero)for(var i=Math.floor(da/1000);i<Math.ceil(a/1000)&&i<riq.length;i++){var r=riq[i];if(!r)continue;
b=b?[Math.min(b[0],r[0]),Math.min(b[1],r[1]),Math.max(b[2],r[2]),Math.max(b[3],r[3])]:r.slice();}
if(b){z=Math.max(1,Math.min((W-240)/Math.max(b[2]-b[0],1e-3),(H-80)/Math.max(b[3]-b[1],1e-3)));
vb=[(b[0]+b[2])/2-W/2/z,(b[1]+b[3])/2-H/2/z,W/z,H/z];}
vista.setAttribute('viewBox',vb.join(' '));
vista.querySelectorAll('.punto').forEach(function(g){var si=intero||dentro(g);g.style.display=si?'':'none';
if(si)g.setAttribute('transform',z==1?'':'translate('+g.dataset.x+' '+g.dataset.y+') scale('+1/z+') translate('+(-g.dataset.x)+' '+(-g.dataset.y)+')');});
var barra=piano.querySelector('.barra-scala'),k=+traccia.dataset.scala*z,m=tondo(80/k),w=m*k;
var yb=H-12;barra.querySelector('path').setAttribute('d','M16 '+(yb-5)+'v5h'+w+'v-5');
var tb=barra.querySelector('text');tb.setAttribute('x',22+w);tb.textContent=m>=1000?cifre(m/1000,0)+' km':cifre(m,m<1?1:0)+' m';
sfoltisci(piano);}
sfoltisci(prof);
document.getElementById('finestra').textContent='km '+cifre(da/1000,3)+' – '+cifre(a/1000,3);}
function imposta(d0,a0,scrivi){var l=Math.min(Math.max(a0-d0,50),M1-M0);
d0=Math.min(Math.max(d0,M0),M1-l);da=d0;a=d0+l;applica();
if(scrivi)history.replaceState(null,'','#km='+(+(da/1000).toFixed(3))+'-'+(+(a/1000).toFixed(3)));}
function dal_frammento(){var f=/km=(-?[\d.,]+)-(-?[\d.,]+)/.exec(decodeURIComponent(location.hash));
if(!f)return false;var x=parseFloat(f[1].replace(',','.'))*1000,y=parseFloat(f[2].replace(',','.'))*1000;
x=Math.max(x,M0);y=Math.min(y,M1);if(!(y>x))return false;imposta(x,y,false);return true;}
function ingrandisci(f,m){imposta(m-(m-da)*f,m+(a-m)*f,true);}
function metro_di(svg,ev){var r=svg.getBoundingClientRect(),u=(ev.clientX-r.left)/r.width*svg.viewBox.baseVal.width;
return svg===prof?da+(u-X0)/(X1-X0)*(a-da):(da+a)/2;}
[prof,piano].forEach(function(svg){
svg.addEventListener('wheel',function(ev){ev.preventDefault();ingrandisci(ev.deltaY>0?1.25:0.8,metro_di(svg,ev));},{passive:false});
svg.addEventListener('mousedown',function(ev){var x0=ev.clientX,d0=da,a0=a,w=svg.getBoundingClientRect().width;
var su=function(){removeEventListener('mousemove',muovi);removeEventListener('mouseup',su);};
var muovi=function(e){var dm=(e.clientX-x0)/w*(a0-d0)*(svg===prof?prof.viewBox.baseVal.width/(X1-X0):1);imposta(d0-dm,a0-dm,true);};
addEventListener('mousemove',muovi);addEventListener('mouseup',su);ev.preventDefault();});});
addEventListener('keydown',function(ev){var l=a-da,c=(da+a)/2;
if(ev.key=='+'||ev.key=='=')ingrandisci(0.5,c);else if(ev.key=='-')ingrandisci(2,c);
else if(ev.key=='ArrowLeft')imposta(da-l/5,a-l/5,true);else if(ev.key=='ArrowRight')imposta(da+l/5,a+l/5,true);
else if(ev.key=='0')imposta(M0,M1,true);else return;ev.preventDefault();});
addEventListener('hashchange',dal_frammento);
if(!dal_frammento()){var c=document.body.dataset;if(c.daM)imposta(+c.daM,+c.aM,false);else applica();}
})();
)";

std::optional<vista_pagina> vista_entro(const elementi_scenario& e, const opzioni_pagina& o) {
    const double fine = static_cast<double>(e.fine_asse);
    const double da = std::max(o.da_metro.value_or(0), 0.0);
    const double a = std::min(o.a_metro.value_or(fine), fine);
    if (!(a > da))
        return std::nullopt;
    return vista_pagina{da, a};
}

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
    for (const tratto_progressiva& t :
         tratti_progressiva(e.sistemi, static_cast<double>(e.fine_asse))) {
        if (!primo)
            u += " · ";
        primo = false;
        u += "da km " + km_testo(t.inizio) + ", ";
        if (!t.sistema)
            u += "distanza dall'origine";
        else
            u += std::string(t.sistema->decrescente ? "decrescente" : "crescente") + " da " +
                 testo_progressiva(progressiva_al_metro(e.sistemi, t.inizio));
    }
    u += "</p></header>\n";
}

void orario(std::string& u, const elementi_scenario& e) {
    u += "<section id=\"orario\"><h2>Orario</h2>\n<table>\n<thead><tr><th>n.</th><th>"
         "Stazione</th><th>km</th><th>progressiva</th><th>orario</th><th>servizio</th>"
         "<th>marciapiede</th></tr></thead>\n<tbody>\n";
    for (std::size_t i = 0; i < e.stazioni.size(); ++i) {
        const stazione_disegno& s = e.stazioni[i];
        u += "<tr class=\"riga-stazione";
        u += s.cella_fermata ? "" : " transito";
        u += "\" data-voce=\"" + std::to_string(s.voce) + "\"><td class=\"numero\">" +
             std::to_string(i + 1) + "</td><td>";
        aggiungi_html(u, s.nome);
        u += "</td><td class=\"numero\">" + km_testo(s.posizione) + "</td><td class=\"numero\">" +
             testo_progressiva(progressiva_al_metro(e.sistemi, s.posizione)) +
             "</td><td class=\"numero\">";
        u += s.orario != 0 ? ora_testo(s.orario) : std::string("—");
        u += "</td><td>";
        u += s.cella_fermata ? "fermata" : "transito";
        u += "</td><td class=\"numero\">da km " + km_testo(s.inizio) + " a km " + km_testo(s.fine) +
             " (" + numero_testo(static_cast<double>(s.fine) - s.inizio, 0) + " m)</td></tr>\n";
    }
    u += "</tbody>\n</table>\n</section>\n";
}

} // namespace

std::optional<vista_pagina> vista_iniziale(const costruzione& c, const opzioni_pagina& o) {
    return vista_entro(estrai_elementi(c), o);
}

double fine_vista_metri(const costruzione& c) {
    return static_cast<double>(estrai_elementi(c).fine_asse);
}

std::string pagina_disegno(const costruzione& c, const opzioni_pagina& o) {
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
    u += "</style>\n</head>\n<body";
    // The range the page opens on, in route metres, within the axis; the whole axis when the
    // range asked lies past it.
    const vista_pagina intera{0, static_cast<double>(e.fine_asse)};
    const vista_pagina vista = vista_entro(e, o).value_or(intera);
    if (vista.da_metro > intera.da_metro || vista.a_metro < intera.a_metro)
        u += " data-da-m=\"" + numero_dati(vista.da_metro, 0) + "\" data-a-m=\"" +
             numero_dati(vista.a_metro, 0) + '"';
    u += ">\n";
    intestazione(u, e);
    u += "<p class=\"comandi\">Vista: <b id=\"finestra\">km " + km_testo(vista.da_metro) + " – " +
         km_testo(vista.a_metro) +
         "</b> · ingrandire con la rotella o <kbd>+</kbd> <kbd>-</kbd>, spostarsi tenendo premuto "
         "il mouse "
         "o con <kbd>←</kbd> <kbd>→</kbd>, <kbd>0</kbd> per tutta la linea; l'indirizzo "
         "#km=40-50 apre un tratto</p>\n";
    u += "<section id=\"planimetria\"><h2>Planimetria <span class=\"lettura\">· cippi: km del "
         "macchinista (progressiva)</span></h2>\n";
    scrivi_svg_planimetria(u, piano, e, o.origini);
    u += "</section>\n<section id=\"profilo\"><h2>Profilo <span class=\"lettura\">· asse: km "
         "del percorso (distanza dall'origine)</span></h2>\n";
    scrivi_svg_profilo(u, profilo, e, o.origini);
    u += "</section>\n";
    if (o.marcia != nullptr)
        scrivi_sezione_marcia(u, c, *o.marcia, larghezza_disegno);
    orario(u, e);
    u += "<div id=\"suggerimento\" hidden></div>\n<script>";
    u += programma;
    u += "</script>\n</body>\n</html>\n";
    return u;
}

} // namespace corvenna
