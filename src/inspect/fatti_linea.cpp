#include "inspect/fatti_linea.hpp"

#include "input/velocita_effettiva.hpp"
#include "inspect/ispezione_derivati.hpp"

#include <algorithm>
#include <cstdlib>
#include <variant>

namespace corvenna {

namespace {

// The stretches within the route: the cells past its end carry the track laid beyond it.
std::size_t tratti_nel_percorso(const ispezione& i) {
    const std::int64_t lunghezza = i.lunghezza_percorso > 0 ? i.lunghezza_percorso : 0;
    return std::min(i.tratti.size(), static_cast<std::size_t>((lunghezza + 49) / 50));
}

std::string testo_valore(const valori_elemento& valori, std::string_view nome) {
    for (const auto& [chiave, valore] : valori)
        if (chiave == nome)
            if (const auto* testo = std::get_if<std::string>(&valore))
                return *testo;
    return {};
}

void stazioni(const costruzione& c, const ispezione& i, fatti_linea& f) {
    for (const tratto_ispezione& t : i.tratti)
        for (const elemento_tratto& e : t.elementi) {
            if (e.cosa != "stazione")
                continue;
            const voce& v = c.voci[static_cast<std::size_t>(e.voce)];
            stazione_linea s;
            s.voce = e.voce;
            s.nome = testo_valore(e.valori, "nome");
            s.metro = e.metro;
            s.progressiva_m = progressiva_al_metro(f.sistemi, static_cast<double>(e.metro));
            s.fermata = e.cella >= 0;
            if (v.orario != 0)
                s.orario_s = v.orario;
            s.sosta_s = v.b5;
            s.marciapiede_da_metro = v.inizio;
            s.marciapiede_a_metro = v.fine;
            f.stazioni.push_back(std::move(s));
        }
    std::stable_sort(
        f.stazioni.begin(), f.stazioni.end(),
        [](const stazione_linea& a, const stazione_linea& b) { return a.metro < b.metro; });
}

void velocita_e_pendenze(const ispezione& i, std::size_t n, fatti_linea& f) {
    for (std::size_t k = 0; k < n; ++k) {
        const tratto_ispezione& t = i.tratti[k];
        if (f.velocita.empty() || f.velocita.back().linea_kmh != t.velocita_linea_kmh ||
            f.velocita.back().treno_kmh != t.velocita_treno_kmh)
            f.velocita.push_back({t.da_metro, t.velocita_linea_kmh, t.velocita_treno_kmh});
        if (std::abs(t.pendenza_per_mille) > std::abs(f.pendenza_massima_per_mille)) {
            f.pendenza_massima_per_mille = t.pendenza_per_mille;
            f.metro_pendenza_massima = t.da_metro;
        }
        if (t.galleria && (f.gallerie.empty() || f.gallerie.back().a_metro != t.da_metro))
            f.gallerie.push_back({t.da_metro, t.a_metro});
        else if (t.galleria)
            f.gallerie.back().a_metro = t.a_metro;
        for (const elemento_tratto& e : t.elementi)
            if (e.cosa == "segnale") {
                const std::string tipo = testo_valore(e.valori, "tipo_segnale");
                ++(tipo == "avviso"       ? f.segnali_avviso
                   : tipo == "principale" ? f.segnali_principali
                                          : f.segnali_altri);
            }
    }
}

} // namespace

fatti_linea fatti_di(const costruzione& c, const ispezione& i) {
    fatti_linea f;
    f.sistemi = i.sistemi;
    f.lunghezza_percorso = i.lunghezza_percorso;
    f.massa_frenata_percento = c.voci[voce_percorso].inizio;
    f.vetture = c.voci[voce_percorso].posizione;
    const std::size_t n = tratti_nel_percorso(i);
    stazioni(c, i, f);
    velocita_e_pendenze(i, n, f);

    for (const rallentamento_celle& r : rallentamenti_celle(c))
        if (r.inizio < f.lunghezza_percorso)
            f.rallentamenti.push_back({r.inizio, r.fine, r.velocita});

    f.ha_planimetria = i.ha_planimetria;
    f.curve = i.curve;
    return f;
}

fatti_linea fatti_di(const costruzione& c) {
    ispezione i = ispeziona_tratti(c);
    aggiungi_curve(i, c);
    return fatti_di(c, i);
}

} // namespace corvenna
