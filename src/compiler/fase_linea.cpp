#include "compiler/fase_linea.hpp"

#include "compiler/avvisi_comuni.hpp"
#include "compiler/controllo_celle.hpp"
#include "compiler/memo_indicatori_v_max.hpp"
#include "compiler/memo_montagna.hpp"
#include "compiler/progressive_ordina.hpp"
#include "compiler/proprieta_riempita.hpp"
#include "compiler/tracciato_planimetria.hpp"
#include "description/lettore.hpp"
#include "model/arrotonda.hpp"
#include "model/codici_errore.hpp"
#include "model/tipi_cella.hpp"

#include <optional>
#include <string>

namespace corvenna {

namespace {

constexpr int trattini_generale = 10;

// The general keywords, for the warning on a line given twice.
enum chiave_generale { lunghezza, tre, due, uno, sfondo_uno, sfondo_due, sfondo_tre, ripetizione };

struct stato_generale {
    luogo posto_generale;
    std::array<luogo, 8> righe{};
};

struct stato_linea {
    proprieta_riempita pendenza{&cella::pendenza, 100, "pendenza", "la pendenza",
                                "la pendenza memorizzata (pendenza + 100)"};
    std::int32_t metro = 2;
    // The position field of the last curve line, which an overlapping curve names.
    luogo curva_precedente;
};

void crea_tracciato(compilazione& k, std::int32_t lunghezza_percorso) {
    costruzione& c = k.c;
    c.lunghezza_totale = lunghezza_percorso + prolungamento_tracciato;
    c.ultima_cella = static_cast<std::int32_t>(cella_di(c.lunghezza_totale));
    c.celle.assign(static_cast<std::size_t>(c.ultima_cella) + 1, cella{});
    k.reg.prepara_celle(c.celle.size());
    for (auto& asse : c.planimetria)
        asse.clear();
    if (c.genera_planimetria != 0 && c.punti_planimetria)
        for (auto& asse : c.planimetria)
            asse.assign(static_cast<std::size_t>(c.lunghezza_totale) + 1, valore_planimetria{});
}

// One line of the general section.
esito_riga riga_generale(compilazione& k, lettore_descrizione& r, stato_generale& g,
                         const campo_chiave& chiave) {
    costruzione& c = k.c;
    const std::string& campo = chiave.testo;
    int corrispondenze = 0;
    if (contiene(campo, "percorso") && contiene(campo, "lunghezza")) {
        ++corrispondenze;
        segna_impostazione(k, d_linea, chiave, g.righe[lunghezza]);
        const std::int32_t lunghezza_percorso = r.leggi_long();
        const luogo posto = r.luogo_campo();
        if (r.fallito())
            return esito_riga::fallita;
        c.voci[voce_percorso].fine = lunghezza_percorso;
        if (lunghezza_percorso > lunghezza_percorso_massima || lunghezza_percorso < 0)
            return termina(k, d_linea,
                           {codice::lunghezza_eccessiva, posto,
                            "lunghezza del percorso " + metri(lunghezza_percorso) +
                                ": deve stare fra 0 e 1000000 m",
                            std::nullopt});
        crea_tracciato(k, lunghezza_percorso);
    }
    const auto progressiva = [&](const char* nome, int numero_voce, chiave_generale id) {
        if (contiene_esatto(campo, nome) && contiene_esatto(campo, "progressiva")) {
            ++corrispondenze;
            segna_impostazione(k, d_linea, chiave, g.righe[id]);
            voce& v = c.voci[numero_voce];
            progressiva_letta& letta = k.progressive[numero_voce - voce_progressiva_tre];
            letta.nome = nome;
            v.inizio = r.leggi_long();
            letta.posto_inizio = r.luogo_campo();
            v.fine = r.leggi_long();
            letta.posto_fine = r.luogo_campo();
            v.posizione = r.leggi_long();
            letta.inizio = v.inizio;
            letta.fine = v.fine;
        }
    };
    progressiva("tre", voce_progressiva_tre, tre);
    progressiva("due", voce_progressiva_due, due);
    progressiva("uno", voce_progressiva_uno, uno);
    const auto sfondo = [&](const char* nome, std::int32_t voce::*campo_voce, chiave_generale id) {
        if (contiene_esatto(campo, "sfondo") && contiene_esatto(campo, nome)) {
            ++corrispondenze;
            segna_impostazione(k, d_linea, chiave, g.righe[id]);
            c.voci[voce_scenario].*campo_voce = r.leggi_long();
        }
    };
    sfondo("uno", &voce::inizio, sfondo_uno);
    sfondo("due", &voce::posizione, sfondo_due);
    sfondo("tre", &voce::fine, sfondo_tre);
    if (r.fallito())
        return esito_riga::fallita;
    if (contiene_esatto(campo, "segnali") && contiene_esatto(campo, "ripetizione")) {
        ++corrispondenze;
        segna_impostazione(k, d_linea, chiave, g.righe[ripetizione]);
        voce& v = c.voci[voce_treno];
        v.inizio = r.leggi_long();
        const luogo posto_inizio = r.luogo_campo();
        v.fine = r.leggi_long();
        const luogo posto_fine = r.luogo_campo();
        if (r.fallito())
            return esito_riga::fallita;
        if (!multiplo_di(v.inizio, 50))
            return termina(k, d_linea,
                           {codice::ripetizione_inizio, posto_inizio,
                            "l'inizio della ripetizione segnali " + std::to_string(v.inizio) +
                                " non e' multiplo di 50",
                            v.inizio});
        if (!multiplo_di(v.fine, 50))
            return termina(k, d_linea,
                           {codice::ripetizione_fine, posto_fine,
                            "la fine della ripetizione segnali " + std::to_string(v.fine) +
                                " non e' multipla di 50",
                            v.fine});
        if (contiene_esatto(campo, "4"))
            v.posizione = 4;
        else if (contiene_esatto(campo, "9"))
            v.posizione = 9;
        else
            return termina(k, d_linea,
                           {codice::ripetizione_codici, chiave.posto,
                            "'" + campo + "' non dice 4 o 9 codici", std::nullopt});
        if (v.fine == 0)
            v.posizione = 0;
    }
    avvisa_piu_parole(k, d_linea, chiave, corrispondenze);
    return corrispondenze > 0 ? esito_riga::prosegui : esito_riga::ignorata;
}

// Skips the fields before "[generale]", warning once about the first one that is not a header
// or a comment. False when the end of the file comes first.
bool cerca_generale(compilazione& k, descrizione d, lettore_descrizione& r, luogo& posto) {
    bool avvisato = false;
    while (!r.fine_file()) {
        const std::string campo = r.leggi_testo();
        if (r.fallito())
            return false;
        if (contiene(campo, "[generale]")) {
            posto = r.luogo_campo();
            return true;
        }
        if (!avvisato && !campo.empty() && !e_intestazione(campo) && !e_campo_trattino(campo)) {
            avvisato = true;
            k.reg.avviso(d, r.luogo_campo(), tipo_avviso::prima_di_generale,
                         "'" + campo + "' sta prima di [generale]: e' ignorato");
        }
    }
    return false;
}

// The general section, from "[generale]" to the next header or the end of the file.
std::optional<esito_fase> sezione_generale(compilazione& k, lettore_descrizione& r,
                                           stato_generale& g) {
    if (!cerca_generale(k, d_linea, r, g.posto_generale)) {
        if (r.fallito())
            return esito_fase::fallita;
        termina(k, d_linea,
                {codice::generale_mancante, {}, "manca la sezione [generale]", std::nullopt});
        return esito_fase::terminata;
    }
    stato_lettura s;
    for (;;) {
        if (r.fine_file())
            return std::nullopt;
        campo_chiave chiave;
        const auto prendi = [&] {
            chiave.testo = r.leggi_testo();
            chiave.posto = r.luogo_campo();
            chiave.a_inizio_riga = r.campo_a_inizio_riga();
        };
        prendi();
        for (int n = 0; n < trattini_generale && e_campo_trattino(chiave.testo); ++n)
            prendi();
        if (r.fallito())
            return esito_fase::fallita;
        chiave.ultimo = r.fine_file();
        if (chiave.ultimo) {
            avvisa_campo_ignorato(k, d_linea, chiave, s);
            return std::nullopt;
        }
        if (e_intestazione(chiave.testo))
            return std::nullopt;
        const esito_riga esito = riga_generale(k, r, g, chiave);
        if (esito == esito_riga::terminata || esito == esito_riga::fallita)
            return esito_di(esito);
        dopo_riga(k, d_linea, r, chiave, esito, s);
    }
}

// A curve line: the class is the lowest digit 1 to 6 in the keyword field, and an "s" turns
// it toward -x.
esito_riga riga_curva(compilazione& k, stato_linea& s, const campo_chiave& chiave,
                      const riga_di_valori<2>& riga) {
    const std::string& campo = chiave.testo;
    const auto [inizio, lunghezza_curva] = riga.valori;
    const curva_letta letta = leggi_curva(campo);
    const int classe = letta.classe;
    if (classe == 0)
        return termina(k, d_linea,
                       {codice::curva_non_valida, chiave.posto,
                        "curva senza classe: '" + campo + "' non contiene una cifra da 1 a 6",
                        std::nullopt});
    if (letta.cifre > 1)
        k.reg.avviso(d_linea, chiave.posto, tipo_avviso::classe_curva_multipla,
                     "'" + campo + "' contiene piu' cifre di classe: vale la piu' bassa, " +
                         std::to_string(classe),
                     inizio);
    double curvatura = curvatura_classe(classe);
    if (letta.sinistra)
        curvatura = -curvatura;
    const std::int64_t fine = static_cast<std::int64_t>(inizio) + lunghezza_curva;
    // A curve covers the metres after its start: one that starts before the previous one ends
    // is applied only from where that one ends, or not at all.
    const std::int64_t fatto = static_cast<std::int64_t>(s.metro) - 1;
    if (inizio < fatto) {
        // A curve that ends where the plan is made already is lost whole: written out of order.
        if (fine > fatto)
            k.reg.avviso(d_linea, riga.luoghi[0], tipo_avviso::curva_sovrapposta,
                         "la curva a " + metri(inizio) +
                             " inizia prima della fine della precedente (" + metri(fatto) +
                             "): e' applicata solo da " + metri(fatto),
                         inizio);
        else
            k.reg.avviso(d_linea, riga.luoghi[0], tipo_avviso::curva_ignorata,
                         "la curva a " + metri(inizio) + " finisce a " + metri(fine) +
                             ", prima della fine della precedente (" + metri(fatto) +
                             "): e' ignorata e non entra nello scenario; le curve vanno scritte "
                             "in ordine di posizione",
                         inizio);
        k.reg.correla(d_linea, s.curva_precedente,
                      "la curva precedente era stata posta dalla riga " +
                          std::to_string(s.curva_precedente.riga));
    }
    s.curva_precedente = riga.luoghi[0];
    k.reg.segna_curva(riga.luoghi[0], inizio);
    const std::string oltre = ", oltre la planimetria (" + metri(k.c.lunghezza_totale - 2) + ")";
    if (!estendi_rettilineo(k.c, s.metro, inizio))
        return termina(k, d_linea,
                       {codice::curva_non_valida, riga.luoghi[0],
                        "la curva inizia a " + metri(inizio) + oltre, inizio},
                       inizio);
    if (!estendi_curva(k.c, s.metro, fine, curvatura))
        return termina(k, d_linea,
                       {codice::curva_non_valida, riga.luoghi[1],
                        "la curva finisce a " + metri(fine) + oltre, inizio},
                       inizio);
    return esito_riga::prosegui;
}

esito_riga riga_cartello(compilazione& k, std::int32_t posizione, luogo posto,
                         const std::string& testo) {
    costruzione& c = k.c;
    const std::int64_t n = cella_puntuale(posizione);
    if (const esito_riga esito =
            controlla_cella_puntuale(k, d_linea,
                                     {n, posizione, posto, codice::cartello_occupato,
                                      "il cartello indicatore", "del cartello indicatore"});
        esito != esito_riga::prosegui)
        return esito;
    cella& cl = c.celle[static_cast<std::size_t>(n)];
    // Item 0 is never used: the signs may fill items 80 down to 1.
    if (k.slot_cartello < 1)
        return termina(k, d_linea,
                       {codice::voci_esaurite, posto,
                        "i cartelli indicatori superano le 80 voci disponibili", posizione},
                       posizione);
    k.reg.scrive_tipo(cl, n);
    cl.tipo = tipo_cella::cartello;
    cl.dato1 = static_cast<std::int16_t>(k.slot_cartello);
    c.voci[k.slot_cartello].nome = testo;
    --k.slot_cartello;
    return esito_riga::prosegui;
}

esito_riga riga_montagna(compilazione& k, lettore_descrizione& r) {
    const auto riga = leggi_riga_di_valori<3>(k, d_linea, r);
    if (riga.esito != esito_riga::prosegui)
        return riga.esito;
    const auto [inizio, fine, tipo] = riga.valori;
    k.reg.inizia_elemento(d_linea, riga.luoghi[0], "un tratto montagna", inizio);
    avvisa_arrotondamento(k, d_linea, inizio, riga.luoghi[0], "l'inizio del tratto montagna");
    avvisa_arrotondamento(k, d_linea, fine, riga.luoghi[1], "la fine del tratto montagna");
    memo_montagna(k.c, inizio, fine, tipo, &k.reg);
    return dopo_registratore(k, d_linea, inizio, riga.luoghi[0], "il tratto montagna");
}

esito_riga riga_indicatore(compilazione& k, lettore_descrizione& r) {
    costruzione& c = k.c;
    const auto riga = leggi_riga_di_valori<9>(k, d_linea, r);
    if (riga.esito != esito_riga::prosegui)
        return riga.esito;
    const auto& v = riga.valori;
    k.reg.inizia_elemento(d_linea, riga.luoghi[0], "un indicatore di velocita'", v[0]);
    avvisa_arrotondamento(k, d_linea, v[0], riga.luoghi[0], "l'indicatore di velocita'");
    // The right-hand speeds are divided by 5.
    for (std::size_t i = 5; i <= 7; ++i)
        if (v[i] % 5 != 0)
            k.reg.avviso(d_linea, riga.luoghi[i], tipo_avviso::velocita_arrotondata,
                         "la velocita' " + std::to_string(v[i]) +
                             " non e' multipla di 5: e' arrotondata",
                         v[0]);
    avvisa_troncamento(k, d_linea, static_cast<std::int64_t>(v[4]) * 10 + v[8], -32768, 32767,
                       riga.luoghi[4], "il valore delle strisce (strisces x 10 + strisced)", v[0]);
    memo_indicatori_v_max(c, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], &k.reg);
    if (c.codice_errore == codice::lettura_fallita) {
        for (std::size_t i = 0; i < 3; ++i)
            if (!valore_indicatore(v[1 + i], v[5 + i]))
                return fallisce(k, d_linea, riga.luoghi[1 + i],
                                "il valore dell'indicatore (" + std::to_string(v[1 + i]) +
                                    " x 20 + " + std::to_string(v[5 + i]) +
                                    " / 5) non sta in 16 bit");
    }
    return dopo_registratore(k, d_linea, v[0], riga.luoghi[0], "l'indicatore di velocita'");
}

esito_riga riga_indicazione(compilazione& k, lettore_descrizione& r) {
    const std::int32_t p = r.leggi_long();
    const luogo posto = r.luogo_campo();
    const std::string testo = r.leggi_testo();
    if (r.fallito())
        return esito_riga::fallita;
    if (!nome_rappresentabile(testo))
        return fallisce(k, d_linea, r.luogo_campo(),
                        "il testo del cartello e' lungo " + std::to_string(testo.size()) +
                            " byte: non sta nel file delle voci");
    avvisa_testo_accorciato(k, d_linea, r, testo);
    avvisa_byte_non_stampabili(k, d_linea, r, testo);
    if (const esito_riga esito = controlla_tracciato(k, d_linea, p, posto, margine_riga);
        esito != esito_riga::prosegui)
        return esito;
    k.reg.inizia_elemento(d_linea, posto, "un cartello indicatore", p);
    avvisa_arrotondamento(k, d_linea, p, posto, "il cartello indicatore");
    return riga_cartello(k, p, posto, testo);
}

// One line after the general section.
esito_riga riga_linea(compilazione& k, lettore_descrizione& r, stato_linea& s,
                      const campo_chiave& chiave) {
    costruzione& c = k.c;
    const std::string& campo = chiave.testo;
    int corrispondenze = 0;
    const auto applica = [&](esito_riga esito) {
        ++corrispondenze;
        return esito;
    };

    if (contiene(campo, "pendenza"))
        if (const esito_riga esito = applica(riga_proprieta(k, d_linea, r, s.pendenza));
            esito != esito_riga::prosegui)
            return esito;
    const bool curva = contiene(campo, "curva");
    if (c.genera_planimetria != 0 && curva) {
        const auto riga = leggi_riga_di_valori<2>(k, d_linea, r);
        if (riga.esito != esito_riga::prosegui)
            return riga.esito;
        if (const esito_riga esito = applica(riga_curva(k, s, chiave, riga));
            esito != esito_riga::prosegui)
            return esito;
    }
    if (contiene(campo, "montagna"))
        if (const esito_riga esito = applica(riga_montagna(k, r)); esito != esito_riga::prosegui)
            return esito;
    if (contiene(campo, "indicatori_v"))
        if (const esito_riga esito = applica(riga_indicatore(k, r)); esito != esito_riga::prosegui)
            return esito;
    if (contiene(campo, "indicat") && contiene(campo, "cartello"))
        if (const esito_riga esito = applica(riga_indicazione(k, r)); esito != esito_riga::prosegui)
            return esito;

    avvisa_piu_parole(k, d_linea, chiave, corrispondenze);
    if (corrispondenze > 0)
        return esito_riga::prosegui;
    // Without a plan view the curve lines are skipped, values and all.
    return curva ? esito_riga::tralasciata : esito_riga::ignorata;
}

// The line description once read: general section, ordering, lines, tails.
esito_fase compila_testo_linea(compilazione& k, lettore_descrizione& r) {
    costruzione& c = k.c;
    stato_generale g;
    if (auto esito = sezione_generale(k, r, g))
        return *esito;
    // Without a route length there are no cells to compile onto.
    if (!c.celle_create()) {
        fallisce(k, d_linea, g.posto_generale,
                 "la sezione [generale] non da' la 'lunghezza percorso'");
        return esito_fase::fallita;
    }

    progressive_ordina(c);
    c.num_montagne = 0;
    k.slot_cartello = prima_voce_cartelli;
    stato_linea s;
    if (c.genera_planimetria != 0)
        inizia_planimetria(c);

    const auto esito = leggi_righe(
        k, d_linea, r, [&](const campo_chiave& campo) { return riga_linea(k, r, s, campo); });
    if (esito)
        return *esito;

    if (!k.sorgente.cancella(d_linea)) {
        fallisce(k, d_linea, {}, "la descrizione della linea non si cancella");
        return esito_fase::fallita;
    }
    if (coda_proprieta(k, d_linea, s.pendenza) != esito_fase::completata)
        return esito_fase::terminata;
    if (c.genera_planimetria != 0)
        estendi_rettilineo(c, s.metro, static_cast<std::int64_t>(c.lunghezza_totale) - 2);
    return esito_fase::completata;
}

} // namespace

esito_fase compila_linea(compilazione& k) {
    costruzione& c = k.c;
    if (!k.sorgente.esiste(d_linea)) {
        c.codice_errore = codice::linea_mancante;
        k.reg.errore(d_linea, {}, codice::linea_mancante, "la descrizione della linea non esiste");
        return esito_fase::terminata;
    }
    return compila_descrizione(k, d_linea, compila_testo_linea);
}

} // namespace corvenna
