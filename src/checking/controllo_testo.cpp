#include "checking/controllo_testo.hpp"

#include "checking/righe_testo.hpp"
#include "checking/suggerimento.hpp"
#include "compiler/tracciato_planimetria.hpp"
#include "description/formato_descrizioni.hpp"
#include "description/lettore.hpp"
#include "diagnostics/raccolta_diagnostiche.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace corvenna {

namespace {

constexpr std::int32_t prolungamento = 7000;
constexpr int margine_riga = 100;
constexpr int margine_stazione = 800;

bool e_spazio(char c) {
    return c == ' ' || c == '\t';
}
bool e_cifra(char c) {
    return c >= '0' && c <= '9';
}
char minuscola(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string in_minuscolo(std::string_view t) {
    std::string s(t);
    std::transform(s.begin(), s.end(), s.begin(), minuscola);
    return s;
}

// A field of a row: its bytes without the blanks around it, and its columns (from 1, the end
// just past it).
struct campo_di_riga {
    std::string_view testo;
    int colonna = 0;
    int colonna_fine = 0;
};

campo_di_riga campo_fra(std::string_view riga, std::size_t da, std::size_t a) {
    while (da < a && e_spazio(riga[da]))
        ++da;
    std::size_t fine = a;
    while (fine > da && e_spazio(riga[fine - 1]))
        --fine;
    return {riga.substr(da, fine - da), static_cast<int>(da) + 1, static_cast<int>(fine) + 1};
}

// The comma-separated fields of a row from `da` on.
std::vector<campo_di_riga> campi_da(std::string_view riga, std::size_t da) {
    std::vector<campo_di_riga> campi;
    for (;;) {
        const std::size_t virgola = riga.find(',', da);
        const std::size_t a = virgola == std::string_view::npos ? riga.size() : virgola;
        campi.push_back(campo_fra(riga, da, a));
        if (virgola == std::string_view::npos)
            return campi;
        da = virgola + 1;
    }
}

// A value as the reader takes it from the row.
struct valore_letto {
    std::int64_t numero = 0;
    std::string_view testo;
    int colonna = 0;
    int colonna_fine = 0;
};

enum class esito_valori { completi, corti, illeggibili };

struct valori_riga {
    esito_valori esito = esito_valori::completi;
    std::vector<valore_letto> valori;
};

// Reads the values of `tipi` from the row after its keyword field (from `da`), as the reader
// does: a number ends at a blank or a comma and takes the blanks and one comma after it; a text
// runs to the next comma. A row that ends before every value is read is short: the reader would
// go on into the next row.
valori_riga leggi_valori(std::string_view riga, std::size_t da,
                         const std::vector<tipo_campo>& tipi) {
    valori_riga v;
    std::size_t p = da;
    bool finita = da > riga.size();
    for (const tipo_campo tipo : tipi) {
        if (finita) {
            v.esito = esito_valori::corti;
            return v;
        }
        while (p < riga.size() && e_spazio(riga[p]))
            ++p;
        valore_letto letto;
        letto.colonna = static_cast<int>(p) + 1;
        if (tipo == tipo_campo::testo) {
            const std::size_t virgola = riga.find(',', p);
            const std::size_t a = virgola == std::string_view::npos ? riga.size() : virgola;
            const campo_di_riga c = campo_fra(riga, p, a);
            letto.testo = c.testo;
            letto.colonna_fine = c.colonna_fine;
            v.valori.push_back(letto);
            if (virgola == std::string_view::npos)
                finita = true;
            p = a + 1;
            continue;
        }
        const bool negativo = p < riga.size() && riga[p] == '-';
        std::size_t q = negativo ? p + 1 : p;
        const std::size_t cifre = q;
        std::int64_t n = 0;
        for (; q < riga.size() && e_cifra(riga[q]); ++q)
            if (n < 100'000'000'000)
                n = n * 10 + (riga[q] - '0');
        if ((q < riga.size() && !e_spazio(riga[q]) && riga[q] != ',') || (negativo && q == cifre)) {
            // Not a number: the compile fails here and says so.
            v.esito = esito_valori::illeggibili;
            return v;
        }
        letto.numero = negativo ? -n : n;
        letto.colonna_fine = static_cast<int>(q) + 1;
        v.valori.push_back(letto);
        while (q < riga.size() && e_spazio(riga[q]))
            ++q;
        if (q >= riga.size())
            finita = true;
        else if (riga[q] == ',')
            ++q;
        p = q;
    }
    return v;
}

std::string metri(std::int64_t m) {
    return std::to_string(m) + " m";
}

struct progressiva_vista {
    bool data = false;
    std::int64_t inizio = 0;
    std::int64_t fine = 0;
    int riga = 0;
    int colonna_chiave = 0;
    int colonna_fine_chiave = 0;
    int colonna_inizio = 0;
    int colonna_fine_inizio = 0;
};

class controllo {
  public:
    explicit controllo(esito_controllo_testo& esito) : esito_(esito) {}

    void controlla(descrizione d, std::string_view testo);

  private:
    diagnostica& aggiungi(int riga, int colonna, int colonna_fine, tipo_avviso tipo,
                          std::string messaggio,
                          std::optional<std::int64_t> metri_riga = std::nullopt) {
        diagnostica x;
        x.livello = gravita::avviso;
        x.file = d_;
        x.riga = riga;
        x.colonna = colonna;
        x.colonna_fine = colonna_fine;
        x.tipo = tipo;
        x.messaggio = std::move(messaggio);
        if (metri_riga)
            x.metri = static_cast<std::int32_t>(*metri_riga);
        if (diagnostica* tenuta = raccolta_.aggiungi(esito_.diagnostiche, std::move(x)))
            return *tenuta;
        // Only counted (a flood of one kind): what the caller adds to it goes nowhere.
        scartata_ = diagnostica{};
        return scartata_;
    }
    // A certain fix of `x`: `testo` in place of columns [colonna, colonna_fine) of its line.
    void correggi(diagnostica& x, std::string titolo, int colonna, int colonna_fine,
                  std::string testo) {
        x.correzioni.push_back(
            {std::move(titolo), x.file, x.riga, colonna, colonna_fine, std::move(testo)});
    }
    void guasta(int riga) { esito_.righe_guaste[d_].insert(riga); }

    void riga(std::string_view r, int n);
    void commento(std::string_view r, int n, std::size_t fine_chiave);
    void intestazione(const campo_di_riga& chiave, int n);
    void sconosciuta(const campo_di_riga& chiave, int n);
    void lettere_curva(const campo_di_riga& chiave, int n);
    void applica(const parola_chiave_formato& p, const std::vector<valore_letto>& v, int n);
    void posizione(const valore_letto& v, int n, int margine, const char* cosa);
    void fine_oltre(std::int64_t fine, const valore_letto& v, int n, const char* cosa);
    void orario(const valore_letto* v, int n, bool stazione);
    void chiudi();
    void progressive();

    esito_controllo_testo& esito_;
    // The diagnostics held to a bound per kind, and where one only counted is put aside.
    raccolta_diagnostiche raccolta_;
    diagnostica scartata_;
    descrizione d_ = descrizione::linea;
    // Where the reading stands: before "[generale]", inside the line's general section, after it.
    bool generale_visto_ = false;
    bool in_generale_ = false;
    int riga_generale_ = 0;
    int righe_lette_ = 0;
    // The station rows read, and where a missing one is told: the [stazioni] header, or the
    // file's last line.
    int stazioni_ = 0;
    int riga_stazioni_ = 0;
    int riga_fine_ = 0;
    // The last station time, for the order of the times.
    std::optional<std::int64_t> orario_precedente_;
    int riga_orario_precedente_ = 0;
    std::array<progressiva_vista, 3> progressive_{};
};

void controllo::controlla(descrizione d, std::string_view testo) {
    d_ = d;
    generale_visto_ = false;
    in_generale_ = false;
    const std::vector<riga_testo> righe = righe_di(testo);
    riga_fine_ = static_cast<int>(righe.size());
    for (std::size_t i = 0; i < righe.size(); ++i)
        riga(testo.substr(righe[i].inizio, righe[i].lunghezza), static_cast<int>(i) + 1);
    chiudi();
}

void controllo::riga(std::string_view r, int n) {
    const std::size_t virgola = r.find(',');
    const std::size_t fine_chiave = virgola == std::string_view::npos ? r.size() : virgola;
    const campo_di_riga chiave = campo_fra(r, 0, fine_chiave);
    if (chiave.testo.empty())
        return;
    if (!generale_visto_) {
        if (contiene(chiave.testo, "[generale]")) {
            generale_visto_ = true;
            in_generale_ = d_ == descrizione::linea;
            riga_generale_ = n;
        } else if (e_intestazione(chiave.testo)) {
            intestazione(chiave, n);
        }
        return;
    }
    if (e_campo_trattino(chiave.testo)) {
        commento(r, n, fine_chiave);
        return;
    }
    if (e_intestazione(chiave.testo)) {
        if (in_generale_) {
            in_generale_ = false;
            progressive();
        }
        intestazione(chiave, n);
        return;
    }
    const auto parole = parole_corrispondenti(d_, chiave.testo, in_generale_);
    if (parole.empty()) {
        sconosciuta(chiave, n);
        return;
    }
    // A semicolon or a tab inside a keyword's field: the values stay in the keyword field, and
    // the reader takes them from the next rows.
    for (std::size_t i = 0; i < chiave.testo.size(); ++i) {
        const char c = chiave.testo[i];
        if (c == ';' || c == '\t') {
            const int colonna = chiave.colonna + static_cast<int>(i);
            diagnostica& x = aggiungi(
                n, colonna, colonna + 1, tipo_avviso::separatore_non_valido,
                std::string(c == ';' ? "un punto e virgola" : "una tabulazione") +
                    " separa i campi: solo la virgola li separa, e '" + std::string(chiave.testo) +
                    "' e' letto come un solo campo (i valori sono presi dalle righe seguenti)");
            correggi(x, "separa i campi con una virgola", colonna, colonna + 1, ",");
            guasta(n);
            return;
        }
    }
    ++righe_lette_;
    std::vector<tipo_campo> tipi;
    for (const parola_chiave_formato* p : parole)
        for (const campo_formato& c : p->campi)
            tipi.push_back(c.tipo);
    if (parole.size() == 1 && parole[0]->parola == "curva")
        lettere_curva(chiave, n);
    const valori_riga v = leggi_valori(r, fine_chiave + 1, tipi);
    if (v.esito == esito_valori::corti) {
        const int fine = static_cast<int>(r.size()) + 1;
        aggiungi(n, fine, fine, tipo_avviso::valori_su_piu_righe,
                 "attesi " + std::to_string(tipi.size()) + " valori, trovati " +
                     std::to_string(v.valori.size()) + ": '" + std::string(chiave.testo) +
                     "' prende i mancanti dalla riga seguente");
        guasta(n);
        return;
    }
    if (v.esito == esito_valori::completi && parole.size() == 1)
        applica(*parole[0], v.valori, n);
}

// A field with "-" where a keyword is expected is dropped, and so is a comment row: up to its
// first comma. What follows a comma is taken as the next keyword field.
void controllo::commento(std::string_view r, int n, std::size_t fine_chiave) {
    const campo_di_riga chiave = campo_fra(r, 0, fine_chiave);
    if (chiave.testo.front() != '-') {
        // A keyword written with a dash ("velocita-linea"): dropped as a comment.
        std::string senza(chiave.testo);
        std::replace(senza.begin(), senza.end(), '-', ' ');
        if (!parole_corrispondenti(d_, senza, in_generale_).empty()) {
            aggiungi(n, chiave.colonna, chiave.colonna_fine, tipo_avviso::trattino_in_parola_chiave,
                     "'" + std::string(chiave.testo) +
                         "' contiene '-' ed e' scartato come un commento: la riga non vale, e i "
                         "suoi valori sono letti come campi chiave");
            guasta(n);
        }
        return;
    }
    if (fine_chiave >= r.size())
        return;
    int trattini = 0;
    for (const campo_di_riga& c : campi_da(r, fine_chiave + 1)) {
        if (c.testo.empty())
            continue;
        if (e_campo_trattino(c.testo) && ++trattini <= 2)
            continue;
        const auto parole = parole_corrispondenti(d_, c.testo, in_generale_);
        if (!parole.empty()) {
            aggiungi(n, c.colonna, c.colonna_fine, tipo_avviso::commento_con_virgola,
                     "il commento finisce alla virgola: '" + std::string(c.testo) +
                         "' e' letto come la parola chiave '" + std::string(parole[0]->parola) +
                         "' e ne prende i valori dalle righe seguenti");
            guasta(n);
        }
        return;
    }
}

void controllo::intestazione(const campo_di_riga& chiave, int n) {
    if (riga_stazioni_ == 0 && in_minuscolo(chiave.testo) == "[stazioni]")
        riga_stazioni_ = n;
    // A header is a keyword field too: one that holds a keyword's letters is read as that row.
    if (!in_generale_ && generale_visto_) {
        const auto parole = parole_corrispondenti(d_, chiave.testo, false);
        if (!parole.empty()) {
            aggiungi(n, chiave.colonna, chiave.colonna_fine, tipo_avviso::lettere_fraintese,
                     "l'intestazione '" + std::string(chiave.testo) +
                         "' contiene la parola chiave '" + std::string(parole[0]->parola) +
                         "' ed e' letta come una sua riga, con i valori delle righe seguenti");
            guasta(n);
            return;
        }
    }
    if (sezione_di(d_, chiave.testo))
        return;
    // Other headers are the author's own and are ignored; one close to a known header is a slip.
    std::vector<std::string_view> nomi;
    for (const sezione_formato& s : sezioni_formato())
        if (s.file == d_)
            nomi.push_back(s.nome);
    const auto vicina = piu_vicina(in_minuscolo(chiave.testo), nomi);
    if (!vicina)
        return;
    diagnostica& x =
        aggiungi(n, chiave.colonna, chiave.colonna_fine, tipo_avviso::intestazione_sconosciuta,
                 "'" + std::string(chiave.testo) + "' non e' un'intestazione della " +
                     std::string(titolo_descrizione(d_)) + ": forse intendevi `" + *vicina + "`?");
    correggi(x, "scrivi " + *vicina, chiave.colonna, chiave.colonna_fine, *vicina);
}

void controllo::sconosciuta(const campo_di_riga& chiave, int n) {
    const std::string campo(chiave.testo);
    if (d_ == descrizione::linea) {
        const auto altrove = parole_corrispondenti(d_, campo, !in_generale_);
        if (!altrove.empty()) {
            aggiungi(n, chiave.colonna, chiave.colonna_fine, tipo_avviso::riga_fuori_sezione,
                     "'" + campo + "' " +
                         (in_generale_
                              ? "sta nella sezione [generale], dove vale solo per le "
                                "impostazioni generali"
                              : "e' un'impostazione della sezione [generale] e sta fuori") +
                         ": la riga e' ignorata");
            return;
        }
    }
    std::vector<std::string_view> nomi;
    std::optional<std::string> vicina;
    for (const parola_chiave_formato& p : parole_chiave_formato()) {
        if (p.file != d_ || (d_ == descrizione::linea && p.solo_in_sezione != in_generale_))
            continue;
        nomi.push_back(p.parola);
        // The general keywords match only in lower case.
        if (p.maiuscole_esatte && !vicina &&
            !parole_corrispondenti(d_, in_minuscolo(campo), in_generale_).empty())
            vicina = std::string(p.parola);
    }
    if (vicina) {
        const auto giusta = parole_corrispondenti(d_, in_minuscolo(campo), in_generale_);
        const std::string parola(giusta[0]->parola);
        diagnostica& x = aggiungi(
            n, chiave.colonna, chiave.colonna_fine, tipo_avviso::parola_chiave_simile,
            "'" + campo +
                "' non e' una parola chiave: qui le maiuscole contano e la riga e' ignorata; "
                "forse intendevi `" +
                parola + "`?");
        // The field in lower case is what the compile would read: certain only when that is
        // one keyword.
        if (giusta.size() == 1)
            correggi(x, "scrivi in minuscolo", chiave.colonna, chiave.colonna_fine,
                     in_minuscolo(campo));
        return;
    }
    // A keyword field with words beside the keyword: each word against the keywords.
    std::optional<std::string> scelta = piu_vicina(in_minuscolo(campo), nomi);
    // The columns of what the suggestion replaces: the whole field, or the one word of it.
    int da = chiave.colonna;
    int a = chiave.colonna_fine;
    if (!scelta) {
        std::size_t p = 0;
        while (!scelta && p < campo.size()) {
            const std::size_t fine = std::min(campo.find(' ', p), campo.size());
            if (fine - p >= 5) {
                scelta = piu_vicina(in_minuscolo(campo.substr(p, fine - p)), nomi);
                da = chiave.colonna + static_cast<int>(p);
                a = chiave.colonna + static_cast<int>(fine);
            }
            p = fine + 1;
        }
    }
    if (!scelta)
        return;
    diagnostica& x = aggiungi(
        n, chiave.colonna, chiave.colonna_fine, tipo_avviso::parola_chiave_simile,
        "'" + campo + "' non e' una parola chiave: la riga e' ignorata; forse intendevi `" +
            *scelta + "`?");
    correggi(x, "scrivi " + *scelta, da, a, *scelta);
}

// A curve takes its class from the lowest digit 1 to 6 anywhere in the keyword field, and turns
// left when the field holds an "s" anywhere: "curvas4" and "curvad3" say what they mean, "curva
// destra 1000" is a left curve of class 1.
void controllo::lettere_curva(const campo_di_riga& chiave, int n) {
    std::string resto = in_minuscolo(chiave.testo);
    resto.erase(0, resto.find("curva") + 5);
    std::erase_if(resto, [](char c) { return e_spazio(c) || c == '_'; });
    const bool chiara = (resto.size() == 2 && (resto[0] == 's' || resto[0] == 'd') &&
                         resto[1] >= '1' && resto[1] <= '6') ||
                        (resto.size() == 1 && resto[0] >= '1' && resto[0] <= '6');
    if (chiara)
        return;
    const curva_letta letta = leggi_curva(chiave.testo);
    const int classe = letta.classe;
    if (classe == 0)
        return; // no class at all: the compile refuses it (code 103)
    const bool sinistra = letta.sinistra;
    const std::string cifra(1, static_cast<char>('0' + classe));
    std::string messaggio = "'";
    messaggio += chiave.testo;
    messaggio += "' e' letta come una curva di classe " + cifra;
    messaggio += sinistra ? " a sinistra" : " a destra";
    messaggio += ": la classe e' la cifra piu' bassa da 1 a 6 del campo e una 's' qualsiasi la "
                 "volge a sinistra; scrivi 'curva";
    messaggio += (sinistra ? "s" : "d") + cifra + "' se e' questa che intendi";
    aggiungi(n, chiave.colonna, chiave.colonna_fine, tipo_avviso::lettere_fraintese, messaggio);
}

void controllo::posizione(const valore_letto& v, int n, int margine, const char* cosa) {
    esito_.margini[{d_, n}] = margine;
    if (!esito_.lunghezza_percorso || v.numero <= *esito_.lunghezza_percorso)
        return;
    // Past the last position the compile refuses the row itself (code 15).
    if (v.numero > ultima_posizione(*esito_.lunghezza_percorso, margine))
        return;
    aggiungi(n, v.colonna, v.colonna_fine, tipo_avviso::oltre_il_percorso,
             std::string(cosa) + " a " + metri(v.numero) + " sta oltre la fine del percorso (" +
                 metri(*esito_.lunghezza_percorso) +
                 "): la compilazione lo accetta nel prolungamento del tracciato, ma il treno non "
                 "vi arriva",
             v.numero);
}

void controllo::fine_oltre(std::int64_t fine, const valore_letto& v, int n, const char* cosa) {
    if (!esito_.lunghezza_percorso || fine <= *esito_.lunghezza_percorso)
        return;
    aggiungi(n, v.colonna, v.colonna_fine, tipo_avviso::oltre_il_percorso,
             std::string(cosa) + " finisce a " + metri(fine) + ", oltre la fine del percorso (" +
                 metri(*esito_.lunghezza_percorso) + ")",
             fine);
}

// Hours, minutes and seconds: the compile counts seconds from them as written.
void controllo::orario(const valore_letto* v, int n, bool stazione) {
    const std::int64_t h = v[0].numero;
    const std::int64_t m = v[1].numero;
    const std::int64_t s = v[2].numero;
    const auto fuori = [&](const valore_letto& x, const char* cosa, std::int64_t massimo) {
        if (x.numero < 0 || x.numero > massimo) {
            aggiungi(n, x.colonna, x.colonna_fine, tipo_avviso::orario_non_valido,
                     std::string(cosa) + " " + std::to_string(x.numero) + " non esiste (da 0 a " +
                         std::to_string(massimo) + "): l'orario " + std::to_string(h) + ":" +
                         std::to_string(m) + ":" + std::to_string(s) + " vale " +
                         std::to_string((h * 3600 + m * 60 + s) / 3600) + ":" +
                         std::to_string((h * 3600 + m * 60 + s) / 60 % 60) + ":" +
                         std::to_string((h * 3600 + m * 60 + s) % 60));
            return true;
        }
        return false;
    };
    if (fuori(v[0], "l'ora", 23) || fuori(v[1], "il minuto", 59) || fuori(v[2], "il secondo", 59))
        return;
    if (!stazione || (h == 0 && m == 0 && s == 0))
        return; // a station without a time (a transit) keeps no order
    const std::int64_t secondi = (h * 60 + m) * 60 + s;
    if (orario_precedente_ && secondi < *orario_precedente_)
        aggiungi(n, v[0].colonna, v[2].colonna_fine, tipo_avviso::orario_decrescente,
                 "l'orario " + std::to_string(h) + ":" + (m < 10 ? "0" : "") + std::to_string(m) +
                     ":" + (s < 10 ? "0" : "") + std::to_string(s) +
                     " precede quello della stazione alla riga " +
                     std::to_string(riga_orario_precedente_));
    orario_precedente_ = secondi;
    riga_orario_precedente_ = n;
}

void controllo::applica(const parola_chiave_formato& p, const std::vector<valore_letto>& v, int n) {
    const std::string_view parola = p.parola;
    if (parola == "lunghezza percorso") {
        if (v[0].numero >= 0 && v[0].numero <= 1000000)
            esito_.lunghezza_percorso = static_cast<std::int32_t>(v[0].numero);
    } else if (parola.starts_with("progressiva chilometrica")) {
        const std::size_t i = parola.ends_with("tre") ? 0 : parola.ends_with("due") ? 1 : 2;
        progressive_[i] = {true, v[0].numero, v[1].numero,  n,
                           0,    0,           v[0].colonna, v[0].colonna_fine};
    } else if (parola == "pendenza") {
        posizione(v[0], n, margine_riga, "la pendenza");
        const std::int64_t memorizzata = v[1].numero + 100;
        if (memorizzata < 0 || memorizzata > 255)
            aggiungi(n, v[1].colonna, v[1].colonna_fine, tipo_avviso::valore_avvolto,
                     std::to_string(v[1].numero) +
                         " per mille non sta nel campo (da -100 a 155): "
                         "diventa " +
                         std::to_string(static_cast<std::uint8_t>(memorizzata) - 100) +
                         " per mille",
                     v[0].numero);
    } else if (parola == "curva") {
        posizione(v[0], n, margine_riga, "la curva");
        fine_oltre(v[0].numero + v[1].numero, v[1], n, "la curva");
    } else if (parola == "montagna") {
        posizione(v[0], n, margine_riga, "il tratto montagna");
        fine_oltre(v[1].numero, v[1], n, "il tratto montagna");
    } else if (parola == "indicatori_vmax") {
        posizione(v[0], n, margine_riga, "l'indicatore di velocita'");
    } else if (parola == "cartello_indicatore") {
        posizione(v[0], n, margine_riga, "il cartello indicatore");
    } else if (parola == "velocita") {
        posizione(v[0], n, margine_riga, "la velocita'");
    } else if (parola == "aderenza") {
        posizione(v[0], n, margine_riga, "l'aderenza");
        if (v[1].numero < 0 || v[1].numero > 255)
            aggiungi(n, v[1].colonna, v[1].colonna_fine, tipo_avviso::valore_avvolto,
                     "l'aderenza " + std::to_string(v[1].numero) +
                         " non sta nel campo (da 0 a 255): diventa " +
                         std::to_string(static_cast<std::uint8_t>(v[1].numero)),
                     v[0].numero);
    } else if (parola == "orologio") {
        orario(v.data(), n, false);
    } else if (parola == "segnale") {
        posizione(v[0], n, margine_riga, "il segnale");
    } else if (parola == "rallentamento") {
        posizione(v[0], n, margine_riga, "il rallentamento");
        fine_oltre(v[0].numero + v[2].numero, v[2], n, "il rallentamento");
    } else if (parola == "abbattimento") {
        posizione(v[0], n, margine_riga, "l'abbattimento");
    } else if (parola == "stazione") {
        ++stazioni_;
        posizione(v[0], n, margine_stazione, "la stazione");
        if (v.size() >= 16)
            orario(&v[13], n, true);
    }
}

// The kilometric systems are put in decreasing order of start; when the order is not settled,
// all three are cleared. The same rule as the compile's, to say where and why.
void controllo::progressive() {
    const auto& [tre, due, uno] = progressive_;
    if (!tre.data && !due.data && !uno.data)
        return;
    const progressiva_vista* colpevole = nullptr;
    std::string motivo;
    if (tre.inizio + due.inizio + uno.inizio != 0) {
        std::array<const progressiva_vista*, 3> ordinate{&uno, &due, &tre};
        std::stable_sort(ordinate.begin(), ordinate.end(),
                         [](auto* a, auto* b) { return a->inizio > b->inizio; });
        if (ordinate[0]->inizio != ordinate[1]->inizio)
            return;
        colpevole = ordinate[0]->riga > ordinate[1]->riga ? ordinate[0] : ordinate[1];
        if (!colpevole->data)
            colpevole = ordinate[0]->data ? ordinate[0] : ordinate[1];
        motivo = "due progressive chilometriche iniziano a " + metri(ordinate[0]->inizio);
    } else {
        if (uno.fine > 0 || due.fine > 0 || tre.fine > 0)
            return;
        for (const progressiva_vista* p : {&uno, &due, &tre})
            if (p->data && (!colpevole || p->riga < colpevole->riga))
                colpevole = p;
        motivo = "le progressive chilometriche iniziano tutte a 0 e nessuna ha uno scostamento "
                 "positivo";
    }
    diagnostica x;
    x.livello = gravita::avviso;
    x.file = descrizione::linea;
    x.riga = colpevole->riga;
    x.colonna = colpevole->colonna_inizio;
    x.colonna_fine = colpevole->colonna_fine_inizio;
    x.tipo = tipo_avviso::progressive_annullate;
    x.messaggio = motivo + ": l'ordine non si decide e tutte e tre sono azzerate";
    x.metri = static_cast<std::int32_t>(colpevole->inizio);
    esito_.diagnostiche.push_back(std::move(x));
}

void controllo::chiudi() {
    if (d_ == descrizione::linea) {
        if (in_generale_)
            progressive();
        return;
    }
    if (!generale_visto_ || righe_lette_ == 0) {
        aggiungi(generale_visto_ ? riga_generale_ : 1, 1, 1, tipo_avviso::treno_vuoto,
                 generale_visto_ ? "la descrizione del treno non ha nessuna riga dopo [generale]: "
                                   "lo scenario non avrebbe stazioni ne' segnali"
                                 : "la descrizione del treno non ha la sezione [generale]: nessuna "
                                   "sua riga e' letta, e lo scenario non avrebbe stazioni ne' "
                                   "segnali");
        return;
    }
    if (stazioni_ == 0)
        aggiungi(riga_stazioni_ > 0 ? riga_stazioni_ : std::max(riga_fine_, 1), 1, 1,
                 tipo_avviso::senza_stazioni,
                 "la descrizione del treno non ha nessuna riga 'stazione': lo scenario non "
                 "avrebbe stazioni, e il treno nessun posto da cui partire");
}

} // namespace

std::int64_t ultima_posizione(std::int32_t lunghezza_percorso, int margine) {
    // The last cell, rounded half to even as the compile rounds it.
    const auto ultima_cella = static_cast<std::int64_t>(
        std::nearbyint((static_cast<double>(lunghezza_percorso) + prolungamento) / 50.0));
    return ultima_cella * 50 - margine;
}

esito_controllo_testo controlla_testi(std::string_view linea, std::string_view treno) {
    esito_controllo_testo esito;
    controllo(esito).controlla(descrizione::linea, linea);
    controllo(esito).controlla(descrizione::treno, treno);
    return esito;
}

} // namespace corvenna
