#include "importer/descrizioni_importate.hpp"

#include "base/codifica_1252.hpp"
#include "description/formato_descrizioni.hpp"
#include "importer/nome_stazione.hpp"
#include "importer/proiezione.hpp"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <set>
#include <stdexcept>

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
    // Where the station's projection falls, unrounded, and when the track passed it (seconds
    // since 1970 UTC), when the track has times.
    double progressiva = 0;
    std::optional<double> tempo_s;
    std::int32_t inizio() const { return posizione - marciapiede / 2; }
    std::int32_t fine() const { return posizione + marciapiede / 2; }
    // The stop cell the compiler gives a centred platform.
    std::int32_t cella_fermata() const { return fine() / cella - 1; }
};

struct riga_velocita {
    std::int32_t posizione = 0;
    std::int32_t kmh = 0;
};

// The path in the plane of its own projection, where stations beside it are projected onto it.
struct percorso_piano {
    std::optional<proiezione_locale> proiezione;
    std::vector<punto_piano> punti;
};

percorso_piano nel_piano(const std::vector<punto_geografico>& percorso) {
    percorso_piano p;
    p.proiezione = proiezione_del_percorso(percorso);
    if (p.proiezione)
        p.punti = p.proiezione->proietta(percorso);
    return p;
}

// Where the point (lon, lat) falls on the path: the along-track position of its foot on the
// nearest segment, in metres, and its distance from that segment.
struct proiezione_punto {
    double progressiva = 0;
    double distanza = 0;
};

proiezione_punto proietta_sul_percorso(const percorso_piano& percorso,
                                       const std::vector<double>& progressiva, double longitudine,
                                       double latitudine) {
    proiezione_punto migliore{0, std::numeric_limits<double>::infinity()};
    const std::size_t n = std::min(percorso.punti.size(), progressiva.size());
    if (n == 1)
        return {progressiva[0], 0};
    if (n == 0)
        return migliore;
    punto_geografico cercato;
    cercato.longitudine = longitudine;
    cercato.latitudine = latitudine;
    const punto_piano p = percorso.proiezione->proietta(std::span(&cercato, 1))[0];
    const std::vector<punto_piano>& piano = percorso.punti;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const double bx = piano[i + 1].x - piano[i].x, by = piano[i + 1].y - piano[i].y;
        const double px = p.x - piano[i].x, py = p.y - piano[i].y;
        const double l2 = bx * bx + by * by;
        const double t = l2 > 0 ? std::clamp((px * bx + py * by) / l2, 0.0, 1.0) : 0.0;
        const double d = std::hypot(px - t * bx, py - t * by);
        if (d < migliore.distanza)
            migliore = {progressiva[i] + t * (progressiva[i + 1] - progressiva[i]), d};
    }
    return migliore;
}

struct galleria {
    std::int32_t inizio, fine;
    std::string elemento;
};

struct cartello {
    std::int32_t posizione;
    std::string elemento;
};

// Where every feature goes, and what had to be dropped or moved.
struct disposizione {
    std::vector<stazione_posta> stazioni;
    std::vector<riga_velocita> velocita;
    std::vector<galleria> gallerie;
    std::vector<cartello> cartelli;
    std::vector<nota_importazione> note;
};

// One row through the format's table: the keyword's field as written (the keyword itself, or
// with its words, "curvad3"), then its values, as many as the table gives the keyword.
void riga_formato(std::string& testo, std::string_view parola, std::string_view campo_chiave,
                  std::initializer_list<std::string> valori) {
    const parola_chiave_formato* formato = parola_chiave_di(parola);
    if (!formato || formato->numero_valori() != valori.size())
        throw std::logic_error("riga importata non conforme al formato: " + std::string(parola));
    testo += campo_chiave.empty() ? parola : campo_chiave;
    for (const std::string& v : valori) {
        testo += ",  ";
        testo += v;
    }
    testo += "\r\n";
}

void riga_formato(std::string& testo, std::string_view parola,
                  std::initializer_list<std::string> valori) {
    riga_formato(testo, parola, {}, valori);
}

std::string n(std::int64_t valore) {
    return std::to_string(valore);
}

void riga(std::string& testo, const std::string& contenuto) {
    testo += contenuto;
    testo += "\r\n";
}

// Places every feature of the map where the compiler accepts it.
disposizione disponi(const mappa_importata& mappa, const geometria_importata& geometria,
                     const opzioni_descrizioni& opzioni) {
    disposizione esito;
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
    const percorso_piano piano = nel_piano(mappa.percorso);
    std::vector<stazione_posta> stazioni;
    for (std::size_t k = 0; k < da_porre.size(); ++k) {
        const stazione_mappa& s = da_porre[k];
        const proiezione_punto p =
            proietta_sul_percorso(piano, progressiva, s.longitudine, s.latitudine);
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
        stazione_posta posta{
            nome.testo,          std::clamp(al_multiplo(p.progressiva, cella), 0, ultima),
            opzioni.marciapiede, s.elemento,
            p.progressiva,       std::nullopt};
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

    // When the track passed each station: the time of the first point at or past its
    // projection, interpolated from the point before; none when the track gives no times there.
    for (stazione_posta& s : tenute) {
        const std::vector<std::optional<double>>& tempi = mappa.tempi_punti;
        for (std::size_t i = 0; i < tempi.size() && i < progressiva.size(); ++i) {
            if (progressiva[i] < s.progressiva || !tempi[i])
                continue;
            s.tempo_s = tempi[i];
            if (i > 0 && tempi[i - 1] && progressiva[i] > progressiva[i - 1]) {
                const double f =
                    (s.progressiva - progressiva[i - 1]) / (progressiva[i] - progressiva[i - 1]);
                s.tempo_s = *tempi[i - 1] + std::clamp(f, 0.0, 1.0) * (*tempi[i] - *tempi[i - 1]);
            }
            break;
        }
    }
    esito.stazioni = std::move(tenute);
    esito.velocita = std::move(velocita);
    esito.gallerie = std::move(gallerie);
    esito.cartelli = std::move(cartelli);
    return esito;
}

// The line description: the route, one reading of the kilometres, the fitted curves and
// gradients, the tunnels and the level crossings' signs.
std::string scrivi_linea(const geometria_importata& geometria, const disposizione& d) {
    std::string linea;
    riga(linea, "[generale]");
    riga_formato(linea, "lunghezza percorso", {n(geometria.lunghezza)});
    riga_formato(linea, "progressiva chilometrica uno", {"0", "0", "0"});
    // A lone system from metre 0 with offset 0 is one the compile cannot order and clears with
    // the others; the same reading given again from 50 m on is ordered and reads the same
    // everywhere. The comment tells the author so.
    riga(linea, "- la progressiva due ripete la uno dal metro 50: una progressiva sola dal "
                "metro 0 non si ordina e sarebbe annullata");
    riga_formato(linea, "progressiva chilometrica due", {"50", "0", "0"});
    riga_formato(linea, "sfondo uno", {"1"});
    riga_formato(linea, "sfondo due", {"0"});
    riga_formato(linea, "sfondo tre", {"0"});
    riga_formato(linea, "ripetizione segnali", "ripetizione segnali 4 codici", {"0", "0"});
    riga(linea, "[curve]");
    for (const riga_curva& c : geometria.curve)
        riga_formato(linea, "curva", std::string("curva") + (c.sinistra ? "s" : "d") + n(c.classe),
                     {n(c.inizio), n(c.lunghezza)});
    riga(linea, "[pendenze]");
    if (geometria.pendenze.empty() || geometria.pendenze.front().posizione != 0)
        riga_formato(linea, "pendenza", {"0", "0"});
    for (const riga_pendenza& p : geometria.pendenze)
        riga_formato(linea, "pendenza", {n(p.posizione), n(p.per_mille)});
    riga(linea, "[montagne]");
    for (const galleria& g : d.gallerie)
        riga_formato(linea, "montagna", {n(g.inizio), n(g.fine), "11"});
    riga(linea, "[cartelli]");
    riga(linea, "[indicazioni]");
    for (const cartello& c : d.cartelli) {
        std::string resto = n(c.posizione % 1000);
        resto.insert(0, 3 - resto.size(), '0');
        riga_formato(
            linea, "cartello_indicatore",
            {n(c.posizione), "(   P.L.  )(km " + n(c.posizione / 1000) + "+" + resto + ")"});
    }
    riga(linea, "[fine]");
    return linea;
}

// The stations' times: when the track passed them where it has times (to the half minute,
// time of day UTC), otherwise the running time at the line's speed limits and a tenth more with
// a minute's stop at each station, after a clock a minute before the first departure.
struct orari {
    std::int32_t orologio = 0;
    std::vector<std::int32_t> stazioni;
    bool dalla_traccia = false;
};

orari orari_stazioni(const disposizione& d) {
    orari o;
    o.dalla_traccia = !d.stazioni.empty();
    for (const stazione_posta& s : d.stazioni)
        o.dalla_traccia = o.dalla_traccia && s.tempo_s.has_value();
    if (o.dalla_traccia) {
        auto ora_del_giorno = [](double secondi) {
            const double mezzi_minuti = std::round(secondi / 30);
            return static_cast<std::int32_t>(std::fmod(mezzi_minuti * 30, 86400) + 86400) % 86400;
        };
        std::int32_t prima = 0;
        for (std::size_t k = 0; k < d.stazioni.size(); ++k) {
            std::int32_t ora = ora_del_giorno(*d.stazioni[k].tempo_s);
            // Times run on: a station passed within the same half minute keeps the one before.
            if (k > 0 && ora < prima && prima - ora < 43200)
                ora = prima;
            o.stazioni.push_back(ora);
            prima = ora;
        }
        o.orologio = (o.stazioni.front() - sosta + 86400) % 86400;
        return o;
    }
    const std::vector<riga_velocita>& velocita = d.velocita;
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
    o.orologio = orologio;
    for (std::size_t k = 0; k < d.stazioni.size(); ++k) {
        const double corsa = tempo_di_corsa(d.stazioni[k].posizione) * 1.1;
        o.stazioni.push_back(orologio + sosta + static_cast<std::int32_t>(k) * sosta +
                             static_cast<std::int32_t>(std::ceil(corsa / 30)) * 30);
    }
    return o;
}

// The train description: the skeleton an author completes with signals and slowdowns.
std::string scrivi_treno(const disposizione& d) {
    const orari o = orari_stazioni(d);
    std::string treno;
    riga(treno, "[generale]");
    riga_formato(treno, "numero vetture", {"8"});
    riga_formato(treno, "percentuale massa frenata", {"90"});
    riga_formato(treno, "sabbia", {"300"});
    riga_formato(treno, "orologio",
                 {n(o.orologio / 3600), n(o.orologio / 60 % 60), n(o.orologio % 60)});
    riga(treno, "[aderenze]");
    riga_formato(treno, "aderenza", {"0", "100"});
    riga(treno, "[vel_limite]");
    for (const riga_velocita& v : d.velocita)
        riga_formato(treno, "velocita", {n(v.posizione), n(v.kmh)});
    riga(treno, "[stazioni]");
    if (o.dalla_traccia)
        riga(treno, "- orari dalla traccia: quando passa per ogni stazione (ora UTC al mezzo "
                    "minuto)");
    else
        riga(treno, "- orari stimati: la corsa ai limiti di velocita' piu' un decimo e un minuto "
                    "di sosta in ogni stazione");
    for (std::size_t k = 0; k < d.stazioni.size(); ++k) {
        const stazione_posta& s = d.stazioni[k];
        const std::int32_t ora = o.stazioni[k];
        riga_formato(treno, "stazione",
                     {n(s.posizione), "12", n(s.marciapiede), "0", "0", "0", "0", "0", "0", "0",
                      "0", "0", "0", n(ora / 3600), n(ora / 60 % 60), n(ora % 60), s.nome});
    }
    riga(treno, "[rallentamenti]");
    riga(treno, "[segnali]");
    riga(treno, "[codici]");
    riga(treno, "[fine]");
    return treno;
}

} // namespace

descrizioni_importate componi_descrizioni(const mappa_importata& mappa,
                                          const geometria_importata& geometria,
                                          const opzioni_descrizioni& opzioni) {
    disposizione d = disponi(mappa, geometria, opzioni);
    descrizioni_importate esito;
    esito.linea = scrivi_linea(geometria, d);
    esito.treno = scrivi_treno(d);
    esito.stazioni = d.stazioni.size();
    esito.passaggi_livello = d.cartelli.size();
    esito.gallerie = d.gallerie.size();
    esito.limiti_velocita = d.velocita.size();
    esito.note = std::move(d.note);
    return esito;
}

} // namespace corvenna
