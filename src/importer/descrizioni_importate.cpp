#include "importer/descrizioni_importate.hpp"

#include "base/codifica_1252.hpp"
#include "importer/nome_stazione.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>

namespace corvenna {

namespace {

constexpr std::int32_t cella = 50;
// Stations and route signs together, as the item table holds them.
constexpr std::size_t voci_massime = 78;
// The clear gap the compiler wants between one platform's end and the next one's start.
constexpr std::int32_t distanza_marciapiedi = 350;
// The clock of the skeleton and the stop at every intermediate station.
constexpr std::int32_t orologio = 8 * 3600;
constexpr std::int32_t sosta = 60;

std::int32_t al_multiplo(double metri, std::int32_t passo) {
    return static_cast<std::int32_t>(std::lround(metri / passo)) * passo;
}

std::string metri(std::int32_t m) {
    return std::to_string(m) + " m";
}

struct stazione_posta {
    std::string nome; // Windows-1252
    std::int32_t posizione = 0;
    std::int32_t marciapiede = 0;
    std::string elemento;
    std::int32_t inizio() const { return posizione - marciapiede / 2; }
    std::int32_t fine() const { return posizione + marciapiede / 2; }
    // The stop cell the compiler gives a centred platform.
    std::int32_t cella_fermata() const { return fine() / cella - 1; }
};

struct riga_velocita {
    std::int32_t posizione = 0;
    std::int32_t kmh = 0;
};

void riga(std::string& testo, const std::string& contenuto) {
    testo += contenuto;
    testo += "\r\n";
}

} // namespace

proiezione_punto proietta_sul_percorso(const std::vector<punto_geografico>& percorso,
                                       const std::vector<double>& progressiva, double longitudine,
                                       double latitudine) {
    constexpr double grado = 3.14159265358979323846 / 180 * 6371008.8;
    proiezione_punto migliore{0, std::numeric_limits<double>::infinity()};
    const std::size_t n = std::min(percorso.size(), progressiva.size());
    for (std::size_t i = 0; i + 1 < n; ++i) {
        // A local plane around the segment's first point: metres east and north.
        const double scala = std::cos(percorso[i].latitudine * 3.14159265358979323846 / 180);
        const double bx = (percorso[i + 1].longitudine - percorso[i].longitudine) * grado * scala;
        const double by = (percorso[i + 1].latitudine - percorso[i].latitudine) * grado;
        const double px = (longitudine - percorso[i].longitudine) * grado * scala;
        const double py = (latitudine - percorso[i].latitudine) * grado;
        const double l2 = bx * bx + by * by;
        const double t = l2 > 0 ? std::clamp((px * bx + py * by) / l2, 0.0, 1.0) : 0.0;
        const double d = std::hypot(px - t * bx, py - t * by);
        if (d < migliore.distanza)
            migliore = {progressiva[i] + t * (progressiva[i + 1] - progressiva[i]), d};
    }
    if (n == 1)
        migliore = {progressiva[0], 0};
    return migliore;
}

descrizioni_importate componi_descrizioni(const mappa_importata& mappa,
                                          const geometria_importata& geometria,
                                          const opzioni_descrizioni& opzioni) {
    descrizioni_importate esito;
    const std::int32_t lunghezza = geometria.lunghezza;
    // The last position a feature may take: a multiple of 50 within the route.
    const std::int32_t ultima = lunghezza / cella * cella;
    const auto& progressiva = geometria.progressiva;
    auto posizione_punto = [&](std::size_t i) {
        return i < progressiva.size() ? progressiva[i] : static_cast<double>(lunghezza);
    };
    auto nota = [&](const std::string& elemento, const std::string& messaggio) {
        esito.note.push_back({elemento, messaggio});
    };

    // Stations: projected onto the path, in running order. A map that names none (a bare GPS
    // track) gets one at each end of the path, so the train has somewhere to start and stop.
    std::vector<stazione_mappa> da_porre = mappa.stazioni;
    if (da_porre.empty() && !mappa.percorso.empty()) {
        da_porre.push_back({"ORIGINE", mappa.percorso.front().longitudine,
                            mappa.percorso.front().latitudine, std::nullopt, "punto 0"});
        da_porre.push_back({"CAPOLINEA", mappa.percorso.back().longitudine,
                            mappa.percorso.back().latitudine, std::nullopt,
                            "punto " + std::to_string(mappa.percorso.size() - 1)});
        nota("percorso", "la mappa non nomina stazioni: ORIGINE e CAPOLINEA poste ai due capi");
    }
    std::vector<stazione_posta> stazioni;
    for (std::size_t k = 0; k < da_porre.size(); ++k) {
        const stazione_mappa& s = da_porre[k];
        const proiezione_punto p =
            proietta_sul_percorso(mappa.percorso, progressiva, s.longitudine, s.latitudine);
        if (!(p.distanza <= opzioni.distanza_stazione)) {
            nota(s.elemento, "stazione \"" + s.nome + "\" a " +
                                 std::to_string(std::lround(std::min(p.distanza, 1e9))) +
                                 " m dal percorso: ignorata");
            continue;
        }
        const nome_convertito nome =
            nome_stazione(s.nome, "STAZIONE " + std::to_string(stazioni.size() + 1));
        if (!nome.cambiamenti.empty())
            nota(s.elemento, "nome \"" + s.nome + "\": " + nome.cambiamenti);
        stazione_posta posta{nome.testo, std::clamp(al_multiplo(p.progressiva, cella), 0, ultima),
                             opzioni.marciapiede, s.elemento};
        if (s.marciapiede) {
            const std::int32_t m = std::clamp(al_multiplo(*s.marciapiede, 100), 100, 1000);
            if (std::abs(m - *s.marciapiede) >= 1)
                nota(s.elemento, "marciapiede di " + std::to_string(std::lround(*s.marciapiede)) +
                                     " m portato a " + metri(m) + " (multiplo di 100)");
            posta.marciapiede = m;
        }
        // The stop cell must lie beyond the first two cells of the track.
        while (posta.cella_fermata() <= 1)
            posta.posizione += cella;
        if (posta.posizione != al_multiplo(p.progressiva, cella))
            nota(s.elemento, "stazione \"" + s.nome + "\" spostata a " + metri(posta.posizione) +
                                 " perche' il marciapiede resti sul percorso");
        stazioni.push_back(std::move(posta));
    }
    std::stable_sort(
        stazioni.begin(), stazioni.end(),
        [](const stazione_posta& a, const stazione_posta& b) { return a.posizione < b.posizione; });
    // Platforms at least 350 m apart: the first and the last station stay, a station too close
    // to the one kept before it goes.
    std::vector<stazione_posta> tenute;
    for (std::size_t k = 0; k < stazioni.size(); ++k) {
        stazione_posta& s = stazioni[k];
        while (!tenute.empty() && s.inizio() - distanza_marciapiedi < tenute.back().fine()) {
            const bool ultima_stazione = k + 1 == stazioni.size();
            if (ultima_stazione && tenute.size() > 1) {
                nota(tenute.back().elemento,
                     "stazione a " + metri(tenute.back().posizione) +
                         " ignorata: il suo marciapiede e' a meno di 350 m da quello della "
                         "stazione a " +
                         metri(s.posizione));
                tenute.pop_back();
                continue;
            }
            break;
        }
        if (!tenute.empty() && s.inizio() - distanza_marciapiedi < tenute.back().fine()) {
            nota(s.elemento, "stazione a " + metri(s.posizione) +
                                 " ignorata: il suo marciapiede e' a meno di 350 m da quello "
                                 "della stazione a " +
                                 metri(tenute.back().posizione));
            continue;
        }
        tenute.push_back(std::move(s));
    }
    while (tenute.size() > voci_massime) {
        const auto tolta = tenute.end() - 2;
        nota(tolta->elemento, "stazione ignorata: al piu' 78 stazioni e cartelli");
        tenute.erase(tolta);
    }
    std::set<std::int32_t> occupate;
    for (const stazione_posta& s : tenute)
        occupate.insert(s.cella_fermata());

    // Speed limits: whole multiples of 5 km/h from multiples of 50 m, the first at 0.
    std::vector<riga_velocita> velocita;
    for (const limite_mappa& l : mappa.velocita) {
        const std::int32_t p = std::clamp(al_multiplo(posizione_punto(l.da), cella), 0, ultima);
        std::int32_t v = static_cast<std::int32_t>(std::floor(l.kmh / 5)) * 5;
        if (v < 5) {
            nota(l.elemento, "limite di velocita' di " + std::to_string(l.kmh) + " km/h ignorato");
            continue;
        }
        if (v > 1275)
            v = 1275;
        if (std::abs(v - l.kmh) > 1e-9)
            nota(l.elemento, "limite di " + std::to_string(std::lround(l.kmh)) +
                                 " km/h portato a " + std::to_string(v) + " km/h (multiplo di 5)");
        if (!velocita.empty() && velocita.back().posizione == p) {
            nota(l.elemento, "piu' limiti nella stessa cella a " + metri(p) + ": vale l'ultimo");
            velocita.back().kmh = v;
            continue;
        }
        velocita.push_back({p, v});
    }
    if (velocita.empty() || velocita.front().posizione != 0)
        velocita.insert(velocita.begin(), riga_velocita{0, opzioni.velocita});
    velocita.erase(
        std::unique(velocita.begin(), velocita.end(),
                    [](const riga_velocita& a, const riga_velocita& b) { return a.kmh == b.kmh; }),
        velocita.end());

    // Tunnels: from the nearest multiple of 50 to the nearest one, at least 50 m; stretches that
    // touch or lie within 150 m make one, as the compiler would otherwise change the second one's
    // relief.
    struct galleria {
        std::int32_t inizio, fine;
        std::string elemento;
    };
    std::vector<galleria> gallerie;
    for (const tratto_mappa& t : mappa.gallerie) {
        std::int32_t inizio = std::clamp(al_multiplo(posizione_punto(t.da), cella), 0, ultima);
        std::int32_t fine = std::clamp(al_multiplo(posizione_punto(t.a), cella), 0, ultima);
        if (fine <= inizio)
            fine = std::min(inizio + cella, ultima), inizio = fine - cella;
        if (!gallerie.empty() && inizio - gallerie.back().fine <= 150) {
            nota(t.elemento, "galleria unita alla precedente (" + gallerie.back().elemento +
                                 "): distano al piu' 150 m");
            gallerie.back().fine = std::max(gallerie.back().fine, fine);
            continue;
        }
        gallerie.push_back({inizio, fine, t.elemento});
    }
    // The cells a tunnel marks as such (every fourth of the stretch) take no sign.
    std::set<std::int32_t> celle_galleria;
    for (const galleria& g : gallerie)
        for (std::int32_t c = g.inizio / cella + 3; c <= g.fine / cella - 1; c += 4)
            celle_galleria.insert(c);

    // Level crossings: a sign each, on the nearest free cell.
    struct cartello {
        std::int32_t posizione;
        std::string elemento;
    };
    std::vector<cartello> cartelli;
    const std::int32_t ultima_cella_cartello = ultima / cella + 1;
    for (const punto_mappa& p : mappa.passaggi_livello) {
        if (tenute.size() + cartelli.size() >= voci_massime) {
            nota(p.elemento, "passaggio a livello ignorato: al piu' 78 stazioni e cartelli");
            continue;
        }
        const std::int32_t voluta =
            std::clamp(al_multiplo(posizione_punto(p.indice), cella), 0, ultima);
        const std::int32_t c0 = voluta / cella + 1;
        std::optional<std::int32_t> scelta;
        for (std::int32_t d = 0; d <= ultima_cella_cartello && !scelta; ++d)
            for (const std::int32_t c : {c0 + d, c0 - d})
                if (c >= 1 && c <= ultima_cella_cartello && !occupate.contains(c) &&
                    !celle_galleria.contains(c)) {
                    scelta = c;
                    break;
                }
        if (!scelta) {
            nota(p.elemento, "passaggio a livello ignorato: nessuna cella libera");
            continue;
        }
        const std::int32_t posizione = (*scelta - 1) * cella;
        if (posizione != voluta)
            nota(p.elemento, "passaggio a livello spostato da " + metri(voluta) + " a " +
                                 metri(posizione) + ": la cella era gia' occupata");
        occupate.insert(*scelta);
        cartelli.push_back({posizione, p.elemento});
    }
    std::stable_sort(cartelli.begin(), cartelli.end(), [](const cartello& a, const cartello& b) {
        return a.posizione < b.posizione;
    });

    // The line description.
    std::string& linea = esito.linea;
    riga(linea, "[generale]");
    riga(linea, "lunghezza percorso,  " + std::to_string(lunghezza));
    // One reading, the metre itself, from the start to the end. A lone system from metre 0 with
    // offset 0 is one the compile cannot order and clears with the others; the same reading
    // given again from 50 m on is ordered and reads the same everywhere.
    riga(linea, "progressiva chilometrica uno,  0,  0,  0");
    riga(linea, "progressiva chilometrica due,  50,  0,  0");
    riga(linea, "sfondo uno,  1");
    riga(linea, "sfondo due,  0");
    riga(linea, "sfondo tre,  0");
    riga(linea, "ripetizione segnali 4 codici,  0,  0");
    riga(linea, "[curve]");
    for (const riga_curva& c : geometria.curve)
        riga(linea, std::string("curva") + (c.sinistra ? "s" : "d") + std::to_string(c.classe) +
                        ",  " + std::to_string(c.inizio) + ",  " + std::to_string(c.lunghezza));
    riga(linea, "[pendenze]");
    if (geometria.pendenze.empty() || geometria.pendenze.front().posizione != 0)
        riga(linea, "pendenza,  0,  0");
    for (const riga_pendenza& p : geometria.pendenze)
        riga(linea,
             "pendenza,  " + std::to_string(p.posizione) + ",  " + std::to_string(p.per_mille));
    riga(linea, "[montagne]");
    for (const galleria& g : gallerie)
        riga(linea,
             "montagna,  " + std::to_string(g.inizio) + ",  " + std::to_string(g.fine) + ",  11");
    riga(linea, "[cartelli]");
    riga(linea, "[indicazioni]");
    for (const cartello& c : cartelli) {
        const std::int32_t km = c.posizione / 1000;
        const std::int32_t m = c.posizione % 1000;
        std::string resto = std::to_string(m);
        resto.insert(0, 3 - resto.size(), '0');
        riga(linea, "cartello_indicatore,  " + std::to_string(c.posizione) +
                        ",     (   P.L.  )(km " + std::to_string(km) + "+" + resto + ")");
    }
    riga(linea, "[fine]");

    // The train description: the skeleton an author completes with signals and slowdowns.
    std::string& treno = esito.treno;
    riga(treno, "[generale]");
    riga(treno, "numero vetture,  8");
    riga(treno, "percentuale massa frenata,  90");
    riga(treno, "sabbia,  300");
    riga(treno, "orologio,     8               0            0");
    riga(treno, "[aderenze]");
    riga(treno, "aderenza,  0,  100");
    riga(treno, "[vel_limite]");
    for (const riga_velocita& v : velocita)
        riga(treno, "velocita,  " + std::to_string(v.posizione) + ",  " + std::to_string(v.kmh));
    riga(treno, "[stazioni]");
    // The times: the running time at the line's speed limits, a minute's stop at each station.
    auto tempo_di_corsa = [&](std::int32_t fino) {
        double secondi = 0;
        for (std::size_t k = 0; k < velocita.size(); ++k) {
            const std::int32_t da = velocita[k].posizione;
            const std::int32_t a = k + 1 < velocita.size() ? velocita[k + 1].posizione : fino;
            if (da >= fino)
                break;
            secondi += (std::min(a, fino) - da) / (velocita[k].kmh / 3.6);
        }
        return secondi;
    };
    for (std::size_t k = 0; k < tenute.size(); ++k) {
        const stazione_posta& s = tenute[k];
        const double corsa = tempo_di_corsa(s.posizione) * 1.1;
        std::int32_t ora = orologio + sosta + static_cast<std::int32_t>(k) * sosta +
                           static_cast<std::int32_t>(std::ceil(corsa / 30)) * 30;
        riga(treno, "stazione,  " + std::to_string(s.posizione) + ",  12,  " +
                        std::to_string(s.marciapiede) +
                        ",  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  " + std::to_string(ora / 3600) +
                        ",  " + std::to_string(ora / 60 % 60) + ",  " + std::to_string(ora % 60) +
                        ",   " + s.nome);
    }
    riga(treno, "[rallentamenti]");
    riga(treno, "[segnali]");
    riga(treno, "[codici]");
    riga(treno, "[fine]");

    esito.stazioni = tenute.size();
    esito.passaggi_livello = cartelli.size();
    esito.gallerie = gallerie.size();
    esito.limiti_velocita = velocita.size();
    return esito;
}

} // namespace corvenna
