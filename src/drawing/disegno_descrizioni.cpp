#include "drawing/disegno_descrizioni.hpp"

#include "drawing/disegno_testo.hpp"

#include <string_view>

namespace corvenna {

namespace {

std::string_view senza_spazi(std::string_view t) {
    while (!t.empty() && t.front() == ' ')
        t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ')
        t.remove_suffix(1);
    return t;
}

} // namespace

std::string luogo(const elementi_scenario& e, double metro) {
    return "km " + km_testo(metro) + " · progressiva " +
           progressiva_testo(progressiva(e.sistemi, metro));
}

std::string scritta_cartello(std::string_view testo) {
    std::string risultato;
    std::string_view resto = testo;
    bool gruppi = false;
    while (!resto.empty()) {
        const std::size_t apre = resto.find('(');
        const std::size_t chiude = apre == std::string_view::npos ? apre : resto.find(')', apre);
        if (chiude == std::string_view::npos)
            break;
        const std::string_view gruppo = senza_spazi(resto.substr(apre + 1, chiude - apre - 1));
        if (!gruppo.empty()) {
            if (!risultato.empty())
                risultato += " / ";
            risultato += gruppo;
        }
        gruppi = true;
        resto.remove_prefix(chiude + 1);
    }
    if (!gruppi)
        return std::string(senza_spazi(testo));
    return risultato;
}

std::string descrizione_stazione(const elementi_scenario& e, const stazione_disegno& s) {
    std::string t = s.nome.empty() ? "(stazione senza nome)" : s.nome;
    t += "\nstazione, voce " + std::to_string(s.voce) + ", tipo " + std::to_string(s.tipo);
    t += '\n';
    t += luogo(e, s.posizione);
    t += "\nmarciapiede da km " + km_testo(s.inizio) + " a km " + km_testo(s.fine);
    t += "\norario " + (s.orario != 0 ? ora_testo(s.orario) : std::string("non indicato"));
    if (s.cella_fermata)
        t += "\nfermata: cella " + std::to_string(*s.cella_fermata);
    else
        t += "\nnessuna cella di fermata";
    return t;
}

std::string descrizione_segnale(const elementi_scenario& e, const segnale_disegno& s) {
    std::string t = "Segnale, cella " + std::to_string(s.cella);
    t += '\n';
    t += luogo(e, static_cast<double>(s.metro));
    t += "\nvalori " + std::to_string(s.dato1) + ", " + std::to_string(s.dato2) + ", " +
         std::to_string(s.dato3) + ", " + std::to_string(s.dato4) + " · tempo " +
         std::to_string(s.tempo);
    return t;
}

std::string descrizione_cartello(const elementi_scenario& e, const cartello_disegno& b) {
    std::string t;
    if (b.tipo == tipo_cartello::velocita) {
        t = "Indicatore di velocità, cella " + std::to_string(b.cella);
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
        t = "Cartello indicatore, cella " + std::to_string(b.cella) + ", voce " +
            std::to_string(b.voce);
        t += '\n';
        t += luogo(e, static_cast<double>(b.metro));
        t += '\n';
        t += scritta_cartello(b.testo);
    }
    return t;
}

std::string descrizione_rilievo(const tratto_disegno& r) {
    std::string t = r.galleria ? "Galleria" : "Rilievo";
    t += ", tipo " + std::to_string(r.tipo);
    t += "\nda km " + km_testo(static_cast<double>(r.inizio)) + " a km " +
         km_testo(static_cast<double>(r.fine)) + " (" +
         numero_testo(static_cast<double>(r.fine - r.inizio), 0) + " m)";
    return t;
}

std::string descrizione_rallentamento(const rallentamento_disegno& r) {
    std::string t = "Rallentamento a " + std::to_string(r.velocita) + " km/h";
    t += "\nda km " + km_testo(static_cast<double>(r.inizio)) + " a km " +
         km_testo(static_cast<double>(r.fine));
    if (r.avviso)
        t += "\navviso a km " + km_testo(static_cast<double>(*r.avviso));
    return t;
}

} // namespace corvenna
