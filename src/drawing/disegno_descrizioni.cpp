#include "drawing/disegno_descrizioni.hpp"

#include "drawing/disegno_segnali.hpp"
#include "drawing/disegno_testo.hpp"
#include "input/chilometri_guida.hpp"
#include "input/scritta_cartello.hpp"

namespace corvenna {

std::string luogo(const elementi_scenario& e, double metro) {
    return "km " + km_testo(metro) + " · progressiva " +
           testo_progressiva(progressiva_al_metro(e.sistemi, metro));
}

namespace {

void aggiungi_origine(std::string& t, const origine& o) {
    if (o)
        t += "\n" + testo_origine(*o);
}

std::string aspetti(const int (&codici)[3]) {
    std::string t;
    for (const int c : codici) {
        if (c == 0)
            continue;
        if (!t.empty())
            t += ", ";
        t += nome_aspetto(c);
    }
    return t.empty() ? std::string("nessuno") : t;
}

std::string con_maiuscola(std::string t) {
    if (!t.empty() && t[0] >= 'a' && t[0] <= 'z')
        t[0] = static_cast<char>(t[0] - 'a' + 'A');
    return t;
}

} // namespace

std::string descrizione_stazione(const elementi_scenario& e, const stazione_disegno& s,
                                 const origine& o) {
    std::string t = s.nome.empty() ? "(stazione senza nome)" : s.nome;
    t += s.cella_fermata ? "\nfermata" : "\ntransito senza fermata";
    t += '\n';
    t += luogo(e, s.posizione);
    t += "\nmarciapiede da km " + km_testo(s.inizio) + " a km " + km_testo(s.fine) + " (" +
         numero_testo(static_cast<double>(s.fine) - s.inizio, 0) + " m)";
    t += "\norario " + (s.orario != 0 ? ora_testo(s.orario) : std::string("non indicato"));
    aggiungi_origine(t, o);
    return t;
}

std::string descrizione_segnale(const elementi_scenario& e, const segnale_disegno& s,
                                const origine& o) {
    const segnale_letto l = leggi_segnale(s);
    std::string t = con_maiuscola(nome_tipo_segnale(l.sx));
    t += '\n';
    t += luogo(e, static_cast<double>(s.metro));
    t += "\naspetti: " + aspetti(l.aspetti_sx);
    if (l.dx != 0)
        t += "\naccanto, " + nome_tipo_segnale(l.dx) + ": " + aspetti(l.aspetti_dx);
    if (l.rapp != 0)
        t += "\nrapp " + std::to_string(l.rapp);
    if (s.tempo != 0)
        t += "\ntempo " + std::to_string(s.tempo);
    aggiungi_origine(t, o);
    return t;
}

std::string descrizione_cartello(const elementi_scenario& e, const cartello_disegno& b,
                                 const origine& o) {
    std::string t;
    if (b.tipo == tipo_cartello::velocita) {
        t = "Indicatore di velocità " + std::to_string(b.velocita_s[0]) + " km/h";
        t += '\n';
        t += luogo(e, static_cast<double>(b.metro));
        t += "\nranghi A/B/C: " + std::to_string(b.velocita_s[0]) + "/" +
             std::to_string(b.velocita_s[1]) + "/" + std::to_string(b.velocita_s[2]) +
             " km/h · strisce " + std::to_string(b.strisce_s);
        if (b.velocita_d[0] != 0 || b.velocita_d[1] != 0 || b.velocita_d[2] != 0 ||
            b.strisce_d != 0)
            t += "\nseconda serie: " + std::to_string(b.velocita_d[0]) + "/" +
                 std::to_string(b.velocita_d[1]) + "/" + std::to_string(b.velocita_d[2]) +
                 " km/h · strisce " + std::to_string(b.strisce_d);
    } else {
        t = "Cartello indicatore: " + scritta_cartello(b.testo);
        t += '\n';
        t += luogo(e, static_cast<double>(b.metro));
    }
    aggiungi_origine(t, o);
    return t;
}

std::string descrizione_rilievo(const tratto_disegno& r, const origine& o) {
    std::string t = r.galleria ? "Galleria" : "Rilievo";
    t += " (tipo " + std::to_string(r.tipo) + ")";
    t += "\nda km " + km_testo(static_cast<double>(r.inizio)) + " a km " +
         km_testo(static_cast<double>(r.fine)) + " (" +
         numero_testo(static_cast<double>(r.fine - r.inizio), 0) + " m)";
    aggiungi_origine(t, o);
    return t;
}

std::string descrizione_rallentamento(const rallentamento_celle& r, const origine& o) {
    std::string t = "Rallentamento a " + std::to_string(r.velocita) + " km/h";
    t += "\nda km " + km_testo(static_cast<double>(r.inizio)) + " a km " +
         km_testo(static_cast<double>(r.fine));
    if (r.avviso)
        t += "\navviso a km " + km_testo(static_cast<double>(*r.avviso));
    aggiungi_origine(t, o);
    return t;
}

std::string sigla_curva(const curva_disegno& k) {
    return std::string(k.destra ? "d" : "s") + " R " + numero_testo(k.raggio, 0);
}

std::string descrizione_curva(const elementi_scenario& e, const curva_disegno& k,
                              const origine& o) {
    std::string t = std::string("Curva a ") + (k.destra ? "destra" : "sinistra") + ", raggio " +
                    numero_testo(k.raggio, 0) + " m";
    t += "\nda km " + km_testo(static_cast<double>(k.inizio)) + " a km " +
         km_testo(static_cast<double>(k.fine)) + " (" +
         numero_testo(static_cast<double>(k.fine - k.inizio), 0) + " m)";
    t += "\nprogressiva " +
         testo_progressiva(progressiva_al_metro(e.sistemi, static_cast<double>(k.inizio)));
    aggiungi_origine(t, o);
    return t;
}

} // namespace corvenna
