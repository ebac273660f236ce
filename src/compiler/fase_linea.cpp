#include "compiler/fase_linea.hpp"

#include "compiler/memo_indicatori_v_max.hpp"
#include "compiler/memo_montagna.hpp"
#include "compiler/progressive_ordina.hpp"
#include "compiler/tracciato_planimetria.hpp"
#include "description/lettore.hpp"
#include "model/arrotonda.hpp"
#include "model/codici_errore.hpp"
#include "model/tipi_cella.hpp"

#include <optional>

namespace corvenna {

namespace {

constexpr std::int32_t lunghezza_massima = lunghezza_percorso_massima;
constexpr std::int32_t prolungamento = prolungamento_tracciato;
constexpr int trattini_generale = 10;
constexpr auto d_linea = descrizione::linea;

struct stato_linea {
    std::int32_t indice_pendenza = 0;
    std::int32_t pendenza_precedente = 0;
    std::int32_t metro = 2;
};

void crea_tracciato(costruzione& c, std::int32_t lunghezza) {
    c.lunghezza_totale = lunghezza + prolungamento;
    c.ultima_cella = static_cast<std::int32_t>(cella_di(c.lunghezza_totale));
    c.celle.assign(static_cast<std::size_t>(c.ultima_cella) + 1, cella{});
    for (auto& asse : c.planimetria)
        asse.clear();
    if (c.genera_planimetria != 0)
        for (auto& asse : c.planimetria)
            asse.assign(static_cast<std::size_t>(c.lunghezza_totale) + 1, valore_planimetria{});
}

// One line of the general section. std::nullopt when reading goes on.
std::optional<esito_fase> riga_generale(compilazione& k, lettore_descrizione& r,
                                        const std::string& campo) {
    costruzione& c = k.c;
    if (contiene(campo, "percorso") && contiene(campo, "lunghezza")) {
        const std::int32_t lunghezza = r.leggi_long();
        if (r.fallito())
            return esito_fase::fallita;
        c.voci[voce_percorso].fine = lunghezza;
        if (lunghezza > lunghezza_massima || lunghezza < 0)
            return termina(k, d_linea, codice::lunghezza_eccessiva);
        crea_tracciato(c, lunghezza);
    }
    const auto progressiva = [&](const char* nome, int numero_voce) {
        if (contiene_esatto(campo, nome) && contiene_esatto(campo, "progressiva")) {
            voce& v = c.voci[numero_voce];
            v.inizio = r.leggi_long();
            v.fine = r.leggi_long();
            v.posizione = r.leggi_long();
        }
    };
    progressiva("tre", voce_progressiva_tre);
    progressiva("due", voce_progressiva_due);
    progressiva("uno", voce_progressiva_uno);
    const auto sfondo = [&](const char* nome, std::int32_t voce::*campo_voce) {
        if (contiene_esatto(campo, "sfondo") && contiene_esatto(campo, nome))
            c.voci[voce_scenario].*campo_voce = r.leggi_long();
    };
    sfondo("uno", &voce::inizio);
    sfondo("due", &voce::posizione);
    sfondo("tre", &voce::fine);
    if (r.fallito())
        return esito_fase::fallita;
    if (contiene_esatto(campo, "segnali") && contiene_esatto(campo, "ripetizione")) {
        voce& v = c.voci[voce_treno];
        v.inizio = r.leggi_long();
        v.fine = r.leggi_long();
        if (r.fallito())
            return esito_fase::fallita;
        if (!multiplo_di(v.inizio, 50))
            return termina(k, d_linea, codice::ripetizione_inizio);
        if (!multiplo_di(v.fine, 50))
            return termina(k, d_linea, codice::ripetizione_fine);
        if (contiene_esatto(campo, "4"))
            v.posizione = 4;
        else if (contiene_esatto(campo, "9"))
            v.posizione = 9;
        else
            return termina(k, d_linea, codice::ripetizione_codici);
        if (v.fine == 0)
            v.posizione = 0;
    }
    return std::nullopt;
}

// The general section, from "[generale]" to the next header or the end of the file.
std::optional<esito_fase> sezione_generale(compilazione& k, lettore_descrizione& r) {
    for (;;) {
        if (r.fine_file())
            return termina(k, d_linea, codice::generale_mancante);
        k.c.linea = r.leggi_testo();
        if (r.fallito())
            return esito_fase::fallita;
        if (contiene(k.c.linea, "[generale]"))
            break;
    }
    for (;;) {
        if (r.fine_file())
            return std::nullopt;
        std::string campo = r.leggi_testo();
        for (int n = 0; n < trattini_generale && e_campo_trattino(campo); ++n)
            campo = r.leggi_testo();
        if (r.fallito())
            return esito_fase::fallita;
        if (r.fine_file() || e_intestazione(campo))
            return std::nullopt;
        k.c.linea = campo;
        if (auto esito = riga_generale(k, r, campo))
            return esito;
    }
}

// A curve line: the class is the lowest digit 1 to 6 in the keyword field, and an "s" turns
// it toward -x.
std::optional<esito_fase> riga_curva(compilazione& k, stato_linea& s, const std::string& campo,
                                     std::int32_t inizio, std::int32_t lunghezza) {
    int classe = 0;
    for (char cifra = '1'; cifra <= '6' && classe == 0; ++cifra)
        if (campo.find(cifra) != std::string::npos)
            classe = cifra - '0';
    if (classe == 0)
        return termina(k, d_linea, codice::curva_non_valida);
    double curvatura = curvatura_classe(classe);
    if (contiene(campo, "s"))
        curvatura = -curvatura;
    const std::int64_t fine = static_cast<std::int64_t>(inizio) + lunghezza;
    if (!estendi_rettilineo(k.c, s.metro, inizio) || !estendi_curva(k.c, s.metro, fine, curvatura))
        return termina(k, d_linea, codice::curva_non_valida, inizio);
    return std::nullopt;
}

std::optional<esito_fase> riga_cartello(compilazione& k, std::int32_t posizione,
                                        const std::string& testo) {
    costruzione& c = k.c;
    const std::int64_t n = cella_puntuale(posizione);
    if (!cella_esistente(c, n))
        return termina(k, d_linea, codice::celle_fuori_limite, posizione);
    cella& cl = c.celle[static_cast<std::size_t>(n)];
    if (!cella_libera(cl))
        return termina(k, d_linea, codice::cartello_occupato, posizione);
    // Item 0 is never used: the signs may fill items 80 down to 1.
    if (k.slot_cartello < 1)
        return termina(k, d_linea, codice::voci_esaurite, posizione);
    cl.tipo = tipo_cella::cartello;
    cl.dato1 = static_cast<std::int16_t>(k.slot_cartello);
    c.voci[k.slot_cartello].nome = testo;
    --k.slot_cartello;
    return std::nullopt;
}

// One line after the general section. std::nullopt when reading goes on; `fuori` is set when a
// line failed the range check, which ends only the reading of this file.
std::optional<esito_fase> riga_linea(compilazione& k, lettore_descrizione& r, stato_linea& s,
                                     const std::string& campo, bool& fuori) {
    costruzione& c = k.c;
    std::optional<esito_fase> esito;

    if (contiene(campo, "pendenza")) {
        const auto valori = leggi_riga<2>(c, r, fuori, esito);
        if (!valori)
            return esito;
        const auto [p, g] = *valori;
        const std::int64_t n = cella_di(p);
        if (n > 0 && !riempi_celle(c, s.indice_pendenza, n, &cella::pendenza,
                                   static_cast<std::uint8_t>(s.pendenza_precedente + 100)))
            return termina(k, d_linea, codice::celle_fuori_limite, p);
        s.pendenza_precedente = g;
    }
    if (c.genera_planimetria != 0 && contiene(campo, "curva")) {
        const auto valori = leggi_riga<2>(c, r, fuori, esito);
        if (!valori)
            return esito;
        const auto [inizio, lunghezza] = *valori;
        if ((esito = riga_curva(k, s, campo, inizio, lunghezza)))
            return esito;
    }
    if (contiene(campo, "montagna")) {
        const auto valori = leggi_riga<3>(c, r, fuori, esito);
        if (!valori)
            return esito;
        const auto [inizio, fine, tipo] = *valori;
        memo_montagna(c, inizio, fine, tipo);
        if ((esito = dopo_registratore(k, d_linea, inizio)))
            return esito;
    }
    if (contiene(campo, "indicatori_v")) {
        const auto valori = leggi_riga<9>(c, r, fuori, esito);
        if (!valori)
            return esito;
        const auto& v = *valori;
        memo_indicatori_v_max(c, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
        if ((esito = dopo_registratore(k, d_linea, v[0])))
            return esito;
    }
    if (contiene(campo, "indicat") && contiene(campo, "cartello")) {
        const std::int32_t p = r.leggi_long();
        c.linea = r.leggi_testo();
        if (r.fallito() || !nome_rappresentabile(c.linea))
            return esito_fase::fallita;
        if (fuori_tracciato(c, p, margine_riga, fuori))
            return std::nullopt;
        if ((esito = riga_cartello(k, p, c.linea)))
            return esito;
    }
    return std::nullopt;
}

// The line description once read: general section, ordering, lines, tails.
esito_fase compila_testo_linea(compilazione& k, lettore_descrizione& r) {
    costruzione& c = k.c;
    if (auto esito = sezione_generale(k, r))
        return *esito;
    // Without a route length there are no cells to compile onto.
    if (!c.celle_create())
        return esito_fase::fallita;

    progressive_ordina(c);
    c.num_montagne = 0;
    k.slot_cartello = prima_voce_cartelli;
    stato_linea s;
    if (c.genera_planimetria != 0)
        inizia_planimetria(c);

    const auto esito = leggi_righe(c, r, [&](const std::string& campo, bool& fuori) {
        return riga_linea(k, r, s, campo, fuori);
    });
    if (esito)
        return *esito;

    if (!k.sorgente.cancella(d_linea))
        return esito_fase::fallita;
    if (riempi_coda(c, s.indice_pendenza, &cella::pendenza,
                    static_cast<std::uint8_t>(s.pendenza_precedente + 100)) !=
        esito_fase::completata)
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
        return esito_fase::terminata;
    }
    std::optional<std::string> testo = k.sorgente.leggi(d_linea);
    if (!testo) {
        segna_luogo_fallimento(k, d_linea, nullptr);
        return esito_fase::fallita;
    }
    lettore_descrizione r(std::move(*testo));
    const esito_fase esito = compila_testo_linea(k, r);
    if (esito == esito_fase::fallita)
        segna_luogo_fallimento(k, d_linea, &r);
    return esito;
}

} // namespace corvenna
