#include "drawing/disegno_elementi.hpp"

#include "base/codifica_1252.hpp"
#include "model/tipi_cella.hpp"

#include <algorithm>
#include <cstddef>

namespace corvenna {

namespace {

constexpr int prima_voce_stazioni = 1;

bool voce_azzerata(const voce& v) {
    return v.tipo == 0 && v.inizio == 0 && v.fine == 0 && v.posizione == 0 && v.b1 == 0 &&
           v.nome.empty() && v.i1 == 0 && v.i2 == 0 && v.i3 == 0 && v.i4 == 0 && v.i5 == 0 &&
           v.b4 == 0 && v.b5 == 0 && v.b3 == 0 && v.b2 == 0 && v.orario == 0;
}

// The lowest item a route-sign cell points to: the signs fill the items from 80 downward, the
// stations those below them.
int prima_voce_cartelli_usata(const costruzione& c) {
    int prima = prima_voce_cartelli + 1;
    for (const cella& x : c.celle)
        if (x.tipo == tipo_cella::cartello && x.dato1 >= prima_voce_stazioni &&
            x.dato1 <= prima_voce_cartelli)
            prima = std::min<int>(prima, x.dato1);
    return prima;
}

// Stations run from item 1 up to the first item left as reset (a station never is: it has a
// kind or a platform end) or to the route signs.
void estrai_stazioni(const costruzione& c, elementi_scenario& e) {
    const int limite = prima_voce_cartelli_usata(c);
    for (int j = prima_voce_stazioni; j < limite; ++j) {
        const voce& v = c.voci[static_cast<std::size_t>(j)];
        if (voce_azzerata(v))
            break;
        stazione_disegno s;
        s.voce = j;
        s.nome = da_1252(v.nome);
        s.posizione = v.posizione;
        s.inizio = v.inizio;
        s.fine = v.fine;
        s.tipo = v.tipo;
        s.orario = v.orario;
        e.stazioni.push_back(std::move(s));
    }
    for (std::size_t k = 0; k < c.celle.size(); ++k) {
        const cella& x = c.celle[k];
        if (x.tipo != tipo_cella::fermata)
            continue;
        for (stazione_disegno& s : e.stazioni)
            if (s.voce == x.dato1 && !s.cella_fermata)
                s.cella_fermata = static_cast<std::int32_t>(k);
    }
}

cartello_disegno cartello_velocita(const cella& x) {
    cartello_disegno b;
    b.tipo = tipo_cartello::velocita;
    // Each value packs two speeds in units of 5 km/h: the first times 100, the second plus.
    const std::int16_t valori[3] = {x.dato1, x.dato2, x.dato3};
    for (int i = 0; i < 3; ++i) {
        const int v = valori[i];
        b.velocita_s[i] = v / 100 * 5;
        b.velocita_d[i] = v % 100 * 5;
    }
    b.strisce_s = x.dato4 / 10;
    b.strisce_d = x.dato4 % 10;
    return b;
}

// Maximal runs of cells with the same nonzero relief type; a run that holds a tunnel marker is
// a tunnel.
void estrai_rilievi(const costruzione& c, elementi_scenario& e) {
    const std::size_t n = c.celle.size();
    std::size_t k = 0;
    while (k < n) {
        const std::uint8_t tipo = c.celle[k].montagna;
        if (tipo == 0) {
            ++k;
            continue;
        }
        tratto_disegno t;
        t.inizio = static_cast<std::int64_t>(k) * 50;
        t.tipo = tipo;
        while (k < n && c.celle[k].montagna == tipo) {
            t.galleria = t.galleria || c.celle[k].tipo == tipo_cella::marcatore_galleria;
            ++k;
        }
        t.fine = static_cast<std::int64_t>(k) * 50;
        e.rilievi.push_back(t);
    }
}

} // namespace

elementi_scenario estrai_elementi(const costruzione& c) {
    elementi_scenario e;
    e.nome_scenario = da_1252(c.voci[voce_scenario].nome);
    if (e.nome_scenario.empty())
        e.nome_scenario = c.nome_scenario;
    e.numero_treno = da_1252(c.voci[voce_treno].nome);
    if (e.numero_treno.empty())
        e.numero_treno = c.numero_treno;

    const auto celle = static_cast<std::int64_t>(c.celle.size());
    e.celle_con_proprieta = static_cast<std::int32_t>(std::max<std::int64_t>(celle - 3, 0));
    const std::int64_t fine_celle = 50 * celle;
    e.lunghezza_percorso = c.voci[voce_percorso].fine;
    if (e.lunghezza_percorso <= 0 || e.lunghezza_percorso > fine_celle)
        e.lunghezza_percorso = 50 * std::int64_t{e.celle_con_proprieta};

    estrai_stazioni(c, e);
    for (std::size_t k = 0; k < c.celle.size(); ++k) {
        const cella& x = c.celle[k];
        const auto indice = static_cast<std::int32_t>(k);
        if (x.tipo == tipo_cella::segnale) {
            e.segnali.push_back(
                {indice, metro_elemento(indice), x.dato1, x.dato2, x.dato3, x.dato4, x.tempo});
        } else if (x.tipo == tipo_cella::indicatore_v_max) {
            cartello_disegno b = cartello_velocita(x);
            b.cella = indice;
            b.metro = metro_elemento(indice);
            e.cartelli.push_back(b);
        } else if (x.tipo == tipo_cella::cartello) {
            cartello_disegno b;
            b.tipo = tipo_cartello::indicatore;
            b.cella = indice;
            b.metro = metro_elemento(indice);
            b.voce = x.dato1;
            if (x.dato1 >= 0 && x.dato1 < numero_voci)
                b.testo = da_1252(c.voci[static_cast<std::size_t>(x.dato1)].nome);
            e.cartelli.push_back(std::move(b));
        }
    }
    estrai_rilievi(c, e);
    e.rallentamenti = rallentamenti_celle(c);
    e.sistemi = sistemi_progressiva(c);

    // The axis reaches every feature that stands beyond the route, within the cells.
    std::int64_t fine = e.lunghezza_percorso;
    for (const stazione_disegno& s : e.stazioni)
        fine = std::max<std::int64_t>(fine, s.posizione);
    for (const segnale_disegno& s : e.segnali)
        fine = std::max(fine, s.metro);
    for (const cartello_disegno& b : e.cartelli)
        fine = std::max(fine, b.metro);
    for (const rallentamento_celle& r : e.rallentamenti)
        fine = std::max(fine, r.fine);
    e.fine_asse = std::min(fine, fine_celle);
    if (e.fine_asse <= 0)
        e.fine_asse = 1000;
    return e;
}

} // namespace corvenna
