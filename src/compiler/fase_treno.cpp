#include "compiler/fase_treno.hpp"

#include "compiler/avvisi_comuni.hpp"
#include "compiler/controllo_celle.hpp"
#include "compiler/memo_rallentamento.hpp"
#include "compiler/memo_segnale.hpp"
#include "compiler/proprieta_riempita.hpp"
#include "compiler/stazione.hpp"
#include "description/lettore.hpp"
#include "model/arrotonda.hpp"
#include "model/codici_errore.hpp"
#include "model/tipi_cella.hpp"

#include <optional>
#include <string>

namespace corvenna {

namespace {

constexpr double unita_velocita = 5.0;

// The train settings, for the warning on a line given twice.
enum chiave_treno { frenata, vetture, orologio, sabbia };

struct stato_treno {
    std::int32_t indice_velocita = 0;
    std::int32_t velocita_precedente = 0;
    // The speed field of the last "velocit" line: a speed that does not fit a cell fails there.
    luogo luogo_velocita;
    ordine_posizioni ordine_velocita;
    proprieta_riempita aderenza{&cella::aderenza, 0, "aderenza", "l'aderenza", "l'aderenza"};
    std::int32_t numero_stazione = 1;
    std::array<luogo, 4> righe{};
};

// A speed in km/h as stored in a cell: km/h / 5, rounded; std::nullopt when it does not fit
// the 8-bit field.
std::optional<std::uint8_t> velocita_cella(std::int32_t velocita) {
    const std::int64_t valore = arrotonda(velocita / unita_velocita);
    if (valore < 0 || valore > 255)
        return std::nullopt;
    return static_cast<std::uint8_t>(valore);
}

// The speed fill stops at the last cell instead of passing it. A speed that does not fit a
// cell fails at the field that gave it.
esito_riga riempi_velocita(compilazione& k, stato_treno& s, std::int64_t fino_a) {
    costruzione& c = k.c;
    do {
        if (s.indice_velocita >= c.ultima_cella)
            return esito_riga::prosegui;
        const auto valore = velocita_cella(s.velocita_precedente);
        if (!valore)
            return fallisce(k, d_treno, s.luogo_velocita,
                            "la velocita' " + std::to_string(s.velocita_precedente) +
                                " km/h non sta in una cella (da 0 a 1277 km/h)");
        c.celle[static_cast<std::size_t>(s.indice_velocita)].velocita = *valore;
        ++s.indice_velocita;
    } while (s.indice_velocita < fino_a);
    return esito_riga::prosegui;
}

esito_riga riga_velocita(compilazione& k, lettore_descrizione& r, stato_treno& s) {
    const auto riga = leggi_riga_di_valori<2>(k, d_treno, r);
    if (riga.esito != esito_riga::prosegui)
        return riga.esito;
    const auto [p, v] = riga.valori;
    controlla_ordine(k, d_treno, s.ordine_velocita, p, riga.luoghi[0], "velocita'");
    avvisa_arrotondamento(k, d_treno, p, riga.luoghi[0], "la velocita'");
    if (v % 5 != 0)
        if (const auto cella_v = velocita_cella(v))
            k.reg.avviso(d_treno, riga.luoghi[1], tipo_avviso::velocita_arrotondata,
                         "la velocita' " + std::to_string(v) + " km/h non e' multipla di 5: vale " +
                             std::to_string(*cella_v * 5) + " km/h",
                         p);
    const std::int64_t n = cella_di(p);
    if (n > 0)
        if (const esito_riga esito = riempi_velocita(k, s, n); esito != esito_riga::prosegui)
            return esito;
    s.velocita_precedente = v;
    s.luogo_velocita = riga.luoghi[1];
    return esito_riga::prosegui;
}

esito_riga riga_segnale(compilazione& k, lettore_descrizione& r) {
    const auto riga = leggi_riga_di_valori<11>(k, d_treno, r);
    if (riga.esito != esito_riga::prosegui)
        return riga.esito;
    const auto& v = riga.valori;
    const auto& l = riga.luoghi;
    const std::int32_t p = v[0];
    k.reg.inizia_elemento(d_treno, l[0], "un segnale", p);
    avvisa_arrotondamento(k, d_treno, p, l[0], "il segnale");
    // The packed values, as the recorder computes them, must fit their fields.
    const std::int64_t aspetto = static_cast<std::int64_t>(v[1]) * 3 + v[6];
    avvisa_troncamento(k, d_treno, static_cast<std::int64_t>(v[5]) * 10 + aspetto, -32768, 32767,
                       l[5], "il valore rapp x 10 + sx x 3 + dx", p);
    constexpr const char* aspetti[] = {"il valore s1 x 10 + d1", "il valore s2 x 10 + d2",
                                       "il valore s3 x 10 + d3"};
    for (std::size_t i = 0; i < 3; ++i)
        avvisa_troncamento(k, d_treno, static_cast<std::int64_t>(v[2 + i]) * 10 + v[7 + i], -32768,
                           32767, l[2 + i], aspetti[i], p);
    avvisa_troncamento(k, d_treno, aspetto * 10 + 4, 0, 255, l[1],
                       "il marcatore di avvicinamento (sx x 3 + dx) x 10 + 4", p);
    const std::int32_t tempo = v[10];
    if (v[1] != 2 && tempo != 0)
        k.reg.avviso(d_treno, l[10], tipo_avviso::tempo_segnale_cambiato,
                     "il tempo " + std::to_string(tempo) +
                         " e' scartato: vale solo per i segnali con sx 2",
                     p);
    else if (v[1] == 2 && tempo >= 1 && tempo <= 100)
        k.reg.avviso(d_treno, l[10], tipo_avviso::tempo_segnale_cambiato,
                     "il tempo " + std::to_string(tempo) + " diventa 101 (da 1 a 100 vale 101)", p);
    else if (v[1] == 2)
        avvisa_troncamento(k, d_treno, tempo, 0, 255, l[10], "il tempo", p);
    memo_segnale(k.c, p, v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], tempo, &k.reg);
    return dopo_registratore(k, d_treno, p, l[0], "il segnale");
}

esito_riga riga_rallentamento(compilazione& k, lettore_descrizione& r) {
    const auto riga = leggi_riga_di_valori<6>(k, d_treno, r);
    if (riga.esito != esito_riga::prosegui)
        return riga.esito;
    const auto& v = riga.valori;
    const auto& l = riga.luoghi;
    const std::int32_t x = v[0];
    k.reg.inizia_elemento(d_treno, l[0], "un rallentamento", x);
    avvisa_arrotondamento(k, d_treno, x, l[0], "il rallentamento");
    avvisa_arrotondamento(k, d_treno, static_cast<std::int64_t>(x) + v[2], l[2],
                          "la fine del rallentamento");
    avvisa_troncamento(k, d_treno, v[1], -32768, 32767, l[1], "la velocita'", x);
    avvisa_troncamento(k, d_treno, v[3], -32768, 32767, l[3], "il valore f_tt", x);
    avvisa_troncamento(k, d_treno, v[5], -32768, 32767, l[5], "il valore d_v", x);
    memo_rallentamento(k.c, x, v[1], v[2], v[3], v[4], v[5], &k.reg);
    return dopo_registratore(k, d_treno, x, l[0], "il rallentamento");
}

esito_riga riga_abbattimento(compilazione& k, lettore_descrizione& r) {
    costruzione& c = k.c;
    const auto riga = leggi_riga_di_valori<2>(k, d_treno, r);
    if (riga.esito != esito_riga::prosegui)
        return riga.esito;
    const auto [posizione, valore] = riga.valori;
    const luogo posto = riga.luoghi[0];
    k.reg.inizia_elemento(d_treno, posto, "un abbattimento", posizione);
    avvisa_arrotondamento(k, d_treno, posizione, posto, "l'abbattimento");
    if (valore > 0)
        avvisa_troncamento(k, d_treno, valore, -32768, 32767, riga.luoghi[1],
                           "il valore dell'abbattimento", posizione);
    const std::int64_t n = cella_di(posizione);
    if (const esito_riga esito =
            controlla_cella_puntuale(k, d_treno,
                                     {n, posizione, posto, codice::abbattimento_occupato,
                                      "l'abbattimento", "dell'abbattimento"});
        esito != esito_riga::prosegui)
        return esito;
    cella& cl = c.celle[static_cast<std::size_t>(n)];
    k.reg.scrive_tipo(cl, n);
    if (valore > 0) {
        cl.tipo = tipo_cella::abbattimento_valore;
        cl.dato1 = static_cast<std::int16_t>(valore);
    } else {
        cl.tipo = tipo_cella::abbattimento;
    }
    return esito_riga::prosegui;
}

// One line of the train description.
esito_riga riga_treno(compilazione& k, lettore_descrizione& r, stato_treno& s,
                      const campo_chiave& chiave) {
    costruzione& c = k.c;
    const std::string& campo = chiave.testo;
    int corrispondenze = 0;
    const auto applica = [&](esito_riga esito) {
        ++corrispondenze;
        return esito;
    };
    const auto impostazione = [&](chiave_treno id) {
        ++corrispondenze;
        segna_impostazione(k, d_treno, chiave, s.righe[id]);
    };

    if (contiene(campo, "frenata") && contiene(campo, "massa")) {
        impostazione(frenata);
        c.voci[voce_percorso].inizio = r.leggi_long();
    }
    if (contiene(campo, "vetture")) {
        impostazione(vetture);
        c.voci[voce_percorso].posizione = r.leggi_long();
    }
    if (r.fallito())
        return esito_riga::fallita;
    if (contiene(campo, "velocit"))
        if (const esito_riga esito = applica(riga_velocita(k, r, s)); esito != esito_riga::prosegui)
            return esito;
    if (contiene(campo, "aderenza"))
        if (const esito_riga esito = applica(riga_proprieta(k, d_treno, r, s.aderenza));
            esito != esito_riga::prosegui)
            return esito;
    if (contiene(campo, "orologio")) {
        impostazione(orologio);
        voce& v = c.voci[voce_treno];
        v.i3 = r.leggi_intero();
        v.i4 = r.leggi_intero();
        v.i5 = r.leggi_intero();
    }
    if (contiene(campo, "sabbia")) {
        impostazione(sabbia);
        c.voci[voce_treno].i1 = r.leggi_intero();
    }
    if (r.fallito())
        return esito_riga::fallita;
    if (contiene(campo, "segnale"))
        if (const esito_riga esito = applica(riga_segnale(k, r)); esito != esito_riga::prosegui)
            return esito;
    if (contiene(campo, "rallentamento"))
        if (const esito_riga esito = applica(riga_rallentamento(k, r));
            esito != esito_riga::prosegui)
            return esito;
    if (contiene(campo, "abbattimento"))
        if (const esito_riga esito = applica(riga_abbattimento(k, r));
            esito != esito_riga::prosegui)
            return esito;
    if (contiene(campo, "stazione"))
        if (const esito_riga esito = applica(compila_stazione(k, r, s.numero_stazione));
            esito != esito_riga::prosegui)
            return esito;

    avvisa_piu_parole(k, d_treno, chiave, corrispondenze);
    return corrispondenze > 0 ? esito_riga::prosegui : esito_riga::ignorata;
}

// The first kilometric system, in the order of the lines, whose start or offset is not a
// multiple of 50: the closing check points to it.
void segnala_progressiva(compilazione& k) {
    const progressiva_letta* scelta = nullptr;
    bool inizio = false;
    for (const progressiva_letta& p : k.progressive) {
        const bool inizio_errato = !multiplo_di(p.inizio, 50);
        if (!inizio_errato && multiplo_di(p.fine, 50))
            continue;
        if (scelta == nullptr || p.posto_inizio.riga < scelta->posto_inizio.riga) {
            scelta = &p;
            inizio = inizio_errato;
        }
    }
    if (scelta == nullptr) {
        k.reg.errore(descrizione::linea, {}, codice::progressiva_non_multipla,
                     std::string(testo_codice(codice::progressiva_non_multipla)));
        return;
    }
    const std::string sistema = std::string(" della progressiva chilometrica ") + scelta->nome;
    if (inizio)
        k.reg.errore(descrizione::linea, scelta->posto_inizio, codice::progressiva_non_multipla,
                     "l'inizio " + std::to_string(scelta->inizio) + sistema +
                         " non e' multiplo di 50",
                     scelta->inizio);
    else
        k.reg.errore(descrizione::linea, scelta->posto_fine, codice::progressiva_non_multipla,
                     "lo scostamento " + std::to_string(scelta->fine) + sistema +
                         " non e' multiplo di 50",
                     scelta->inizio);
}

// The last cells of the speed and adhesion fills, then the check that every kilometric system
// starts and is offset on a multiple of 50.
esito_fase chiudi_treno(compilazione& k, stato_treno& s) {
    costruzione& c = k.c;
    const std::int64_t fino_a = static_cast<std::int64_t>(c.ultima_cella) - 2;
    if (riempi_velocita(k, s, fino_a) == esito_riga::fallita)
        return esito_fase::fallita;
    if (const esito_fase esito = coda_proprieta(k, d_treno, s.aderenza);
        esito != esito_fase::completata)
        return esito;
    bool non_multipla = false;
    for (int numero = voce_progressiva_tre; numero <= voce_progressiva_uno; ++numero) {
        const voce& v = c.voci[numero];
        if (!multiplo_di(v.inizio, 50) || !multiplo_di(v.fine, 50))
            non_multipla = true;
    }
    if (non_multipla) {
        c.codice_errore = codice::progressiva_non_multipla;
        segnala_progressiva(k);
    }
    return esito_fase::completata;
}

// Skips the fields before "[generale]", warning once about the first one that is not a header
// or a comment. False when the end of the file comes first.
bool cerca_generale(compilazione& k, lettore_descrizione& r) {
    bool avvisato = false;
    while (!r.fine_file()) {
        const std::string campo = r.leggi_testo();
        if (contiene(campo, "[generale]"))
            return true;
        if (!avvisato && !r.fallito() && !campo.empty() && !e_intestazione(campo) &&
            !e_campo_trattino(campo)) {
            avvisato = true;
            k.reg.avviso(d_treno, r.luogo_campo(), tipo_avviso::prima_di_generale,
                         "'" + campo + "' sta prima di [generale]: e' ignorato");
        }
    }
    return false;
}

// The train description once read: lines, tails and the check of the kilometric systems.
esito_fase compila_testo_treno(compilazione& k, lettore_descrizione& r) {
    stato_treno s;

    // Without "[generale]" nothing is read, and the compile ends as at the end of the file.
    const bool generale = cerca_generale(k, r);
    if (r.fallito())
        return esito_fase::fallita;

    if (generale) {
        const auto esito = leggi_righe(
            k, d_treno, r, [&](const campo_chiave& campo) { return riga_treno(k, r, s, campo); });
        if (esito)
            return *esito;
    } else {
        k.reg.avviso(d_treno, {}, tipo_avviso::generale_mancante,
                     "la descrizione del treno non ha la sezione [generale]: nessuna sua riga e' "
                     "compilata");
    }

    if (!k.sorgente.cancella(d_treno)) {
        fallisce(k, d_treno, {}, "la descrizione del treno non si cancella");
        return esito_fase::fallita;
    }
    return chiudi_treno(k, s);
}

} // namespace

esito_fase compila_treno(compilazione& k) {
    return compila_descrizione(k, d_treno, compila_testo_treno);
}

} // namespace corvenna
