#include "checking/controllo_testo.hpp"

#include "checking/righe_testo.hpp"
#include "checking/suggerimento.hpp"
#include "description/formato_descrizioni.hpp"
#include "description/lettore.hpp"
#include "description/parola_curva.hpp"
#include "description/taglio_campi.hpp"
#include "diagnostics/raccolta_diagnostiche.hpp"
#include "model/costruzione.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace corvenna {

namespace {

char minuscola(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string in_minuscolo(std::string_view t) {
    std::string s(t);
    std::transform(s.begin(), s.end(), s.begin(), minuscola);
    return s;
}

// A field of a row: its bytes (a quoted text without its quotes) and its columns (from 1, the
// end just past it, quotes included).
struct campo_di_riga {
    std::string_view testo;
    int colonna = 0;
    int colonna_fine = 0;
};

campo_di_riga campo_di(std::string_view riga, const taglio_campo& c) {
    return {testo_tagliato(riga, c), static_cast<int>(c.inizio) + 1, static_cast<int>(c.fine) + 1};
}

// The keyword field of a row (the first), and where its separator stands.
struct chiave_di_riga {
    campo_di_riga campo;
    std::size_t separatore = 0;
};

chiave_di_riga chiave_della_riga(std::string_view riga) {
    const taglio_campo c = taglia_testo(riga, 0);
    return {campo_di(riga, c), c.separatore};
}

// The fields after the keyword field, each read as a keyword field is (a comment ends at its
// first comma, and what follows is read as the next keyword field).
std::vector<campo_di_riga> campi_chiave_dopo(std::string_view riga) {
    std::vector<campo_di_riga> campi;
    const auto tagliati = taglia_riga(riga, {}, tipo_campo::testo);
    for (std::size_t i = 1; i < tagliati.size(); ++i) {
        const taglio_campo c = taglia_testo(riga, tagliati[i].inizio);
        campi.push_back(campo_di(riga, c));
    }
    return campi;
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
    // For an unreadable row: the value that does not read (from 0) and its text.
    std::size_t illeggibile = 0;
    std::string_view testo_illeggibile;
};

// Reads the values of `tipi` from the row, as the reader does, by the description's row cutter.
// A row that ends before every value is read is short: the reader would go on into the next
// row. A number field that is not a number makes the compile fail there.
valori_riga valori_di(std::string_view riga, const std::vector<tipo_campo>& tipi) {
    valori_riga v;
    const auto campi = taglia_riga(riga, tipi);
    for (std::size_t i = 0; i < tipi.size(); ++i) {
        if (i + 1 >= campi.size()) {
            v.esito = esito_valori::corti;
            return v;
        }
        const campo_tagliato& c = campi[i + 1];
        valore_letto letto;
        letto.colonna = static_cast<int>(c.inizio) + 1;
        letto.colonna_fine = static_cast<int>(c.fine) + 1;
        letto.testo = c.testo;
        if (tipi[i] == tipo_campo::testo) {
            if (c.testo.size() >= 2 && c.testo.front() == '"')
                letto.testo = c.testo.substr(1, c.testo.size() - 2);
        } else {
            const auto numero = numero_campo(c.testo);
            if (!numero) {
                v.esito = esito_valori::illeggibili;
                v.illeggibile = i;
                v.testo_illeggibile = c.testo;
                return v;
            }
            letto.numero = *numero;
        }
        v.valori.push_back(letto);
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
    void corta(const campo_di_riga& chiave, const std::vector<const parola_chiave_formato*>& parole,
               const valori_riga& v, int n, int colonna_fine);
    void illeggibile(const campo_di_riga& chiave, const parola_chiave_formato& p,
                     std::string_view r, const valori_riga& v, int n);
    void commento(std::string_view r, int n, std::size_t fine_chiave);
    void intestazione(const campo_di_riga& chiave, int n);
    void sconosciuta(const campo_di_riga& chiave, std::string_view r, int n);
    bool commento_sbagliato(const campo_di_riga& chiave, int n,
                            const parola_chiave_formato* parola);
    // What a row of keyword `p` puts in the scenario, with its article ("la stazione CORVENNA",
    // "il segnale a 2800 m"); std::nullopt for a row that places no item of its own.
    std::optional<std::string> elemento(const parola_chiave_formato& p, std::string_view r) const;
    void lettere_curva(const campo_di_riga& chiave, int n);
    void applica(const parola_chiave_formato& p, const std::vector<valore_letto>& v, int n);
    void posizione(const valore_letto& v, int n, int margine, const char* cosa);
    void fine_oltre(std::int64_t fine, const valore_letto& v, int n, const char* cosa);
    void orario(const valore_letto* v, int n, bool stazione);
    void chiudi();
    void progressive();
    void mai_applicata(const progressiva_vista* vale, const progressiva_vista* nascosta);

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
    // The rows of the description being checked, for a row that reads on into the next ones.
    std::vector<std::string_view> righe_;
};

void controllo::controlla(descrizione d, std::string_view testo) {
    d_ = d;
    generale_visto_ = false;
    in_generale_ = false;
    const std::vector<riga_testo> righe = righe_di(testo);
    riga_fine_ = static_cast<int>(righe.size());
    righe_.clear();
    for (const riga_testo& r : righe)
        righe_.push_back(testo.substr(r.inizio, r.lunghezza));
    for (std::size_t i = 0; i < righe_.size(); ++i)
        riga(righe_[i], static_cast<int>(i) + 1);
    chiudi();
}

void controllo::riga(std::string_view r, int n) {
    const chiave_di_riga letta = chiave_della_riga(r);
    const std::size_t fine_chiave = letta.separatore;
    const campo_di_riga& chiave = letta.campo;
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
        sconosciuta(chiave, r, n);
        return;
    }
    commento_sbagliato(chiave, n, parole.front());
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
    const valori_riga v = valori_di(r, tipi);
    if (v.esito == esito_valori::corti) {
        corta(chiave, parole, v, n, static_cast<int>(r.size()) + 1);
        guasta(n);
        return;
    }
    if (v.esito == esito_valori::illeggibili && parole.size() == 1)
        illeggibile(chiave, *parole[0], r, v, n);
    if (v.esito == esito_valori::completi && parole.size() == 1)
        applica(*parole[0], v.valori, n);
}

namespace {

// "il nome (campo 17)", "la posizione e il tipo (campi 10 e 11)": the values of `parole` from
// the one at `da` (from 0) on.
std::string campi_mancanti(const std::vector<const parola_chiave_formato*>& parole,
                           std::size_t da) {
    std::vector<std::string_view> nomi;
    for (const parola_chiave_formato* p : parole)
        for (const campo_formato& c : p->campi)
            nomi.push_back(c.nome);
    const std::size_t mancanti = nomi.size() - da;
    std::string t = mancanti == 1 ? "manca " : "mancano ";
    for (std::size_t i = da; i < nomi.size(); ++i) {
        if (i > da)
            t += i + 1 == nomi.size() ? " e " : ", ";
        t += "'" + std::string(nomi[i]) + "'";
    }
    t += mancanti == 1
             ? " (campo " + std::to_string(da + 1) + ")"
             : " (campi da " + std::to_string(da + 1) + " a " + std::to_string(nomi.size()) + ")";
    return t;
}

} // namespace

// A row short of values: the reader takes the missing ones from the next rows. When one of
// those rows begins with a keyword, that row is lost, and its keyword becomes a value.
void controllo::corta(const campo_di_riga& chiave,
                      const std::vector<const parola_chiave_formato*>& parole, const valori_riga& v,
                      int n, int colonna_fine) {
    std::vector<tipo_campo> tipi;
    for (const parola_chiave_formato* p : parole)
        for (const campo_formato& c : p->campi)
            tipi.push_back(c.tipo);
    const std::size_t attesi = tipi.size();
    const std::size_t mancanti = attesi - v.valori.size();
    std::string messaggio = "attesi " + std::to_string(attesi) + " valori, trovati " +
                            std::to_string(v.valori.size()) + ": " +
                            campi_mancanti(parole, v.valori.size());
    // The rows whose fields the missing values take, in order: a blank line gives one empty
    // field.
    std::size_t presi = 0;
    for (std::size_t j = static_cast<std::size_t>(n); j < righe_.size() && presi < mancanti; ++j) {
        const std::string_view seguente = righe_[j];
        const chiave_di_riga sua = chiave_della_riga(seguente);
        const auto sue = sua.campo.testo.empty() || e_intestazione(sua.campo.testo) ||
                                 e_campo_trattino(sua.campo.testo)
                             ? std::vector<const parola_chiave_formato*>{}
                             : parole_corrispondenti(d_, sua.campo.testo, in_generale_);
        const std::size_t presa = v.valori.size() + presi;
        if (sue.size() == 1 && presa < tipi.size() && tipi[presa] != tipo_campo::testo) {
            // A number where the keyword stands: the compile stops there (code 25).
            messaggio += ", e la compilazione si ferma alla riga " + std::to_string(j + 1) +
                         ", dove la parola chiave '" + std::string(sua.campo.testo) +
                         "' e' letta come un numero";
            break;
        }
        if (sue.size() == 1) {
            const int r = static_cast<int>(j) + 1;
            messaggio += ", che '" + std::string(chiave.testo) + "' prende dalla riga " +
                         std::to_string(r) + ": la parola chiave '" + std::string(sua.campo.testo) +
                         "' diventa un suo valore";
            const auto perso = elemento(*sue[0], seguente);
            messaggio += perso ? ", e " + *perso + " della riga " + std::to_string(r) +
                                     " non entra nello scenario"
                               : ", e la riga " + std::to_string(r) + " non vale";
            aggiungi(n, colonna_fine, colonna_fine, tipo_avviso::riga_inghiottita, messaggio);
            return;
        }
        presi += std::max<std::size_t>(taglia_riga(seguente, {}, tipo_campo::testo).size(), 1);
    }
    aggiungi(n, colonna_fine, colonna_fine, tipo_avviso::valori_su_piu_righe,
             messaggio + " ('" + std::string(chiave.testo) +
                 "' prende i mancanti dalla riga seguente)");
}

// A value that does not read: the compile fails there (code 25) and says which field. What the
// author most often means is told with it: a time written in one field, a row short of a
// value, which puts a text where a number goes.
void controllo::illeggibile(const campo_di_riga& chiave, const parola_chiave_formato& p,
                            std::string_view r, const valori_riga& v, int n) {
    const std::string_view t = v.testo_illeggibile;
    std::string spiegazione;
    const std::size_t due_punti = t.find(':');
    if (due_punti != std::string_view::npos && !t.empty() &&
        std::all_of(t.begin(), t.end(),
                    [](char c) { return c == ':' || (c >= '0' && c <= '9'); })) {
        std::string campi;
        std::size_t da = 0;
        for (;;) {
            const std::size_t a = std::min(t.find(':', da), t.size());
            const auto numero = numero_campo(t.substr(da, a - da));
            campi += (da == 0 ? "" : ",  ") + std::to_string(numero.value_or(0));
            if (a == t.size())
                break;
            da = a + 1;
        }
        spiegazione = "un orario si scrive in tre campi, ore, minuti e secondi, separati da "
                      "virgole: '" +
                      std::string(t) + "' e' " + campi;
    } else {
        // Cut by commas alone, the row's values and the count the keyword takes.
        const std::size_t scritti = taglia_riga(r, {}, tipo_campo::testo).size() - 1;
        if (scritti < p.campi.size()) {
            const std::size_t mancano = p.campi.size() - scritti;
            spiegazione =
                "la riga ha " + std::to_string(scritti) + " valori e '" +
                std::string(chiave.testo) + "' ne prende " + std::to_string(p.campi.size()) + ": " +
                (mancano == 1 ? "ne manca uno" : "ne mancano " + std::to_string(mancano)) +
                ", e '" + std::string(t) + "' sta dove la riga vuole il campo " +
                std::to_string(v.illeggibile + 1) + " ('" +
                std::string(p.campi[v.illeggibile].nome) + "'), un numero";
        }
    }
    if (!spiegazione.empty())
        esito_.letture_fallite[{d_, n}] = spiegazione;
}

std::optional<std::string> controllo::elemento(const parola_chiave_formato& p,
                                               std::string_view r) const {
    std::vector<tipo_campo> tipi;
    for (const campo_formato& c : p.campi)
        tipi.push_back(c.tipo);
    const valori_riga v = valori_di(r, tipi);
    const bool letti = v.esito == esito_valori::completi;
    const std::string a = letti && !v.valori.empty() ? " a " + metri(v.valori[0].numero) : "";
    const std::string_view parola = p.parola;
    if (parola == "stazione") {
        if (letti && !v.valori.back().testo.empty())
            return "la stazione " + std::string(v.valori.back().testo);
        return "la stazione" + a;
    }
    if (parola == "segnale")
        return "il segnale" + a;
    if (parola == "rallentamento")
        return "il rallentamento" + a;
    if (parola == "cartello_indicatore") {
        if (letti && v.valori.size() >= 2 && !v.valori[1].testo.empty())
            return "il cartello " + std::string(v.valori[1].testo) + a;
        return "il cartello" + a;
    }
    if (parola == "curva")
        return "la curva" + a;
    if (parola == "montagna")
        return "il tratto montagna" + (letti ? " da " + metri(v.valori[0].numero) : "");
    if (parola == "indicatori_vmax")
        return "l'indicatore di velocita'" + a;
    if (parola == "abbattimento")
        return "l'abbattimento" + a;
    if (parola.starts_with("progressiva chilometrica"))
        return "la " + std::string(parola);
    return std::nullopt;
}

// A field with "-" where a keyword is expected is dropped, and so is a comment row: up to its
// first comma. What follows a comma is taken as the next keyword field.
void controllo::commento(std::string_view r, int n, std::size_t fine_chiave) {
    const campo_di_riga chiave = chiave_della_riga(r).campo;
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
    for (const campo_di_riga& c : campi_chiave_dopo(r)) {
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
        } else if (!e_intestazione(c.testo)) {
            aggiungi(n, c.colonna, c.colonna_fine, tipo_avviso::commento_con_virgola,
                     "il commento finisce alla virgola: '" + std::string(c.testo) +
                         "' e' letto come un campo chiave, che non e' una parola chiave ed e' "
                         "ignorato; scrivi il commento senza virgole");
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

// A row that begins with "#" or "//", as comments are written elsewhere: the field is a keyword
// field to the compile, ignored up to its first comma unless it holds a keyword (`parola`), whose
// row it then is.
bool controllo::commento_sbagliato(const campo_di_riga& chiave, int n,
                                   const parola_chiave_formato* parola) {
    const std::string_view t = chiave.testo;
    const std::size_t segno = t.starts_with("//") ? 2 : t.starts_with('#') ? 1 : 0;
    if (segno == 0)
        return false;
    diagnostica& x =
        aggiungi(n, chiave.colonna, chiave.colonna_fine, tipo_avviso::commento_non_valido,
                 "'" + std::string(t.substr(0, segno)) +
                     "' non apre un commento: i commenti si scrivono con '--', e la riga e' " +
                     (parola ? "letta come una riga '" + std::string(parola->parola) +
                                   "', la parola chiave che contiene"
                             : std::string("letta come un campo chiave che non e' una parola "
                                           "chiave")));
    correggi(x, "scrivi il commento con --", chiave.colonna,
             chiave.colonna + static_cast<int>(segno), "--");
    return true;
}

void controllo::sconosciuta(const campo_di_riga& chiave, std::string_view r, int n) {
    const std::string campo(chiave.testo);
    if (commento_sbagliato(chiave, n, nullptr))
        return;
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
    std::vector<const parola_chiave_formato*> candidate;
    std::vector<std::string_view> nomi;
    std::optional<std::string> vicina;
    for (const parola_chiave_formato& p : parole_chiave_formato()) {
        if (p.file != d_ || (d_ == descrizione::linea && p.solo_in_sezione != in_generale_))
            continue;
        candidate.push_back(&p);
        nomi.push_back(p.parola);
        // The general keywords match only in lower case.
        if (p.maiuscole_esatte && !vicina &&
            !parole_corrispondenti(d_, in_minuscolo(campo), in_generale_).empty())
            vicina = std::string(p.parola);
    }
    // What the row would have put in the scenario, read as a row of keyword `parola`.
    const auto perso = [&](std::string_view parola) -> std::optional<std::string> {
        for (const parola_chiave_formato* p : candidate)
            if (p->parola == parola)
                return elemento(*p, r);
        return std::nullopt;
    };
    if (vicina) {
        const auto giusta = parole_corrispondenti(d_, in_minuscolo(campo), in_generale_);
        const std::string parola(giusta[0]->parola);
        const auto cosa = giusta.size() == 1 ? elemento(*giusta[0], r) : std::nullopt;
        diagnostica& x = aggiungi(
            n, chiave.colonna, chiave.colonna_fine,
            cosa ? tipo_avviso::elemento_perso : tipo_avviso::parola_chiave_simile,
            "'" + campo + "' non e' una parola chiave: qui le maiuscole contano e la riga e' " +
                (cosa ? "ignorata, e " + *cosa + " non entra nello scenario" : "ignorata") +
                "; forse intendevi `" + parola + "`?");
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
    // A misspelt keyword of an item loses the item; only the whole field is certain to be it.
    const auto cosa =
        da == chiave.colonna && a == chiave.colonna_fine ? perso(*scelta) : std::nullopt;
    diagnostica& x =
        aggiungi(n, chiave.colonna, chiave.colonna_fine,
                 cosa ? tipo_avviso::elemento_perso : tipo_avviso::parola_chiave_simile,
                 "'" + campo + "' non e' una parola chiave: la riga e' " +
                     (cosa ? "ignorata, e " + *cosa + " non entra nello scenario" : "ignorata") +
                     "; forse intendevi `" + *scelta + "`?");
    correggi(x, "scrivi " + *scelta, da, a, *scelta);
}

namespace {

// The class of a curve radius the field names in metres (one of the six, 333 for the sixth);
// 0 when it names none.
int classe_del_raggio(std::string_view campo) {
    for (std::size_t p = 0; p < campo.size();) {
        if (campo[p] < '0' || campo[p] > '9') {
            ++p;
            continue;
        }
        std::size_t fine = p;
        while (fine < campo.size() && campo[fine] >= '0' && campo[fine] <= '9')
            ++fine;
        const auto numero = numero_campo(campo.substr(p, fine - p));
        for (int classe = 1; numero && classe <= 6; ++classe)
            if (std::llround(1 / curvatura_classe(classe)) == *numero)
                return classe;
        p = fine;
    }
    return 0;
}

} // namespace

// A curve takes its class from the lowest digit 1 to 6 anywhere in the keyword field, and turns
// left when the field holds an "s" anywhere: "curvas4" and "curvad3" say what they mean, "curva
// destra 1000" is a left curve of class 1. The fix keeps what the author wrote plainly: the
// hand in words ("destra", "sinistra"), and a radius that is one of the six.
void controllo::lettere_curva(const campo_di_riga& chiave, int n) {
    const std::string minuscolo = in_minuscolo(chiave.testo);
    std::string resto = minuscolo;
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
    const bool destra_scritta = contiene(minuscolo, "destra");
    const bool sinistra_scritta = contiene(minuscolo, "sinistra");
    const bool voluta_sinistra = sinistra_scritta || (!destra_scritta && sinistra);
    const int classe_raggio = classe_del_raggio(chiave.testo);
    const int voluta = classe_raggio != 0 ? classe_raggio : classe;
    const std::string giusta =
        std::string("curva") + (voluta_sinistra ? "s" : "d") + static_cast<char>('0' + voluta);
    std::string messaggio = "'";
    messaggio += chiave.testo;
    messaggio += "' e' letta come una curva di classe " + std::to_string(classe);
    messaggio += sinistra ? " a sinistra" : " a destra";
    messaggio += ": la classe e' la cifra piu' bassa da 1 a 6 del campo e una 's' qualsiasi la "
                 "volge a sinistra; ";
    if (classe_raggio != 0)
        messaggio += "il raggio " + std::to_string(std::llround(1 / curvatura_classe(voluta))) +
                     " m e' la classe " + std::to_string(voluta) + ", e ";
    messaggio += "una curva " + std::string(voluta_sinistra ? "a sinistra" : "a destra") +
                 " di classe " + std::to_string(voluta) + " si scrive '" + giusta + "'";
    diagnostica& x =
        aggiungi(n, chiave.colonna, chiave.colonna_fine, tipo_avviso::lettere_fraintese, messaggio);
    // Certain when the hand is written in words and the class is a radius of the six or the
    // field's one digit.
    const bool una_cifra =
        letta.cifre == 1 && std::count_if(minuscolo.begin(), minuscolo.end(),
                                          [](char c) { return c >= '0' && c <= '9'; }) == 1;
    if (destra_scritta != sinistra_scritta && (classe_raggio != 0 || una_cifra))
        correggi(x, "scrivi " + giusta, chiave.colonna, chiave.colonna_fine, giusta);
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

namespace {

const char* nome_progressiva(const std::array<progressiva_vista, 3>& tutte,
                             const progressiva_vista* p) {
    return p == &tutte[0] ? "tre" : p == &tutte[1] ? "due" : "uno";
}

} // namespace

// Of two systems that start at the same metre after the one that starts last, the first in the
// order (the higher-numbered) gives every kilometre from there: the other never applies.
void controllo::mai_applicata(const progressiva_vista* vale, const progressiva_vista* nascosta) {
    if (!vale->data || !nascosta->data || vale->inizio != nascosta->inizio)
        return;
    diagnostica x;
    x.livello = gravita::avviso;
    x.file = descrizione::linea;
    x.riga = nascosta->riga;
    x.colonna = nascosta->colonna_inizio;
    x.colonna_fine = nascosta->colonna_fine_inizio;
    x.tipo = tipo_avviso::progressiva_mai_applicata;
    x.messaggio =
        std::string("la progressiva chilometrica ") + nome_progressiva(progressive_, nascosta) +
        " inizia a " + metri(nascosta->inizio) + " come la " +
        nome_progressiva(progressive_, vale) + " (riga " + std::to_string(vale->riga) +
        "): vale la " + nome_progressiva(progressive_, vale) + ", e la " +
        nome_progressiva(progressive_, nascosta) + " non si applica mai e non entra nello scenario";
    x.metri = static_cast<std::int32_t>(nascosta->inizio);
    esito_.diagnostiche.push_back(std::move(x));
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
        if (ordinate[0]->inizio != ordinate[1]->inizio) {
            mai_applicata(ordinate[1], ordinate[2]);
            return;
        }
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
        std::nearbyint((static_cast<double>(lunghezza_percorso) + prolungamento_tracciato) / 50.0));
    return ultima_cella * 50 - margine;
}

esito_controllo_testo controlla_testi(std::string_view linea, std::string_view treno) {
    esito_controllo_testo esito;
    controllo(esito).controlla(descrizione::linea, linea);
    controllo(esito).controlla(descrizione::treno, treno);
    return esito;
}

} // namespace corvenna
