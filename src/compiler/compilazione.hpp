#pragma once

// What the line and train phases of the compile share: the model, where the descriptions are,
// what the compile reports, how a line and a phase end, and the reading rules common to both
// descriptions.

#include "compiler/registro_compilazione.hpp"
#include "compiler/sorgente_descrizioni.hpp"
#include "description/lettore.hpp"
#include "description/luogo.hpp"
#include "model/costruzione.hpp"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace corvenna {

// How a phase ended: normally (or with code 15, which ends only the reading of a file), with a
// code that ends the compile, or with a read or conversion failure (the general failure path).
enum class esito_fase { completata, terminata, fallita };

// How one line ended: reading goes on (`prosegui`); the keyword field matched no keyword
// (`ignorata`); it is a line of a known kind that this compile skips, values included
// (`tralasciata`); its position failed the range check, which ends only the reading of the
// description (`fuori_tracciato`); or the phase ends (`terminata`, `fallita`).
enum class esito_riga { prosegui, ignorata, tralasciata, fuori_tracciato, terminata, fallita };

// One kilometric system as its line gave it, before the ordering moves it: kept so that the
// closing check can point to the field it refuses.
struct progressiva_letta {
    const char* nome = "";
    std::int32_t inizio = 0;
    std::int32_t fine = 0;
    luogo posto_inizio;
    luogo posto_fine;
};

struct compilazione {
    costruzione& c;
    sorgente_descrizioni& sorgente;
    registro_compilazione& reg;
    // Item number for the next route-sign text; stations must stay below it.
    std::int32_t slot_cartello = prima_voce_cartelli;
    // The "tre", "due" and "uno" lines, in the items they were read into (81, 82, 83).
    std::array<progressiva_letta, 3> progressive{};
    // True once the general failure has its diagnostic.
    bool fallimento_segnalato = false;
};

// Range check of a line's first value: the position plus the margin must lie on the track.
bool nel_tracciato(const costruzione& c, std::int64_t posizione, int margine);

// The two descriptions, by the short names the phases use.
inline constexpr auto d_linea = descrizione::linea;
inline constexpr auto d_treno = descrizione::treno;

// A sign text or station name must fit the item file's 2-byte length; a longer one is a
// conversion failure.
bool nome_rappresentabile(const std::string& nome);

// The range check of a line of `d` whose first value is `posizione`, read at `posto`: when it
// fails, records code 15 with the position and its diagnostic, and the line ends with
// `fuori_tracciato`.
esito_riga controlla_tracciato(compilazione& k, descrizione d, std::int64_t posizione, luogo posto,
                               int margine);

// The values of a line whose first value is a position, read as 32-bit numbers, with the place
// of each field. `esito` is `prosegui` when the line is to be applied; `fallita` when a value
// did not read; `fuori_tracciato` when the position failed the range check.
template <std::size_t numero_valori>
struct riga_di_valori {
    esito_riga esito = esito_riga::prosegui;
    std::array<std::int32_t, numero_valori> valori{};
    std::array<luogo, numero_valori> luoghi{};
};

template <std::size_t numero_valori>
riga_di_valori<numero_valori> leggi_riga_di_valori(compilazione& k, descrizione d,
                                                   lettore_descrizione& r) {
    riga_di_valori<numero_valori> riga;
    for (std::size_t i = 0; i < numero_valori; ++i) {
        riga.valori[i] = r.leggi_long();
        riga.luoghi[i] = r.luogo_campo();
    }
    if (r.fallito())
        riga.esito = esito_riga::fallita;
    else
        riga.esito = controlla_tracciato(k, d, riga.valori[0], riga.luoghi[0], margine_riga);
    return riga;
}

// What went wrong at one place of a description: the code, where, what, and the position in
// metres when it has one.
struct guasto {
    std::int32_t codice = 0;
    luogo posto;
    std::string messaggio;
    std::optional<std::int32_t> metri;
};

// Ends the compile with `g`: deletes the description being read, records the code and its
// diagnostic. The second form also records `posizione` as the position of the code.
esito_riga termina(compilazione& k, descrizione d, const guasto& g);
esito_riga termina(compilazione& k, descrizione d, const guasto& g, std::int32_t posizione);

// A conversion failure at `posto` (the general failure path): records its diagnostic; the
// phase then ends with `fallita`.
esito_riga fallisce(compilazione& k, descrizione d, luogo posto, std::string messaggio);

// After a recorder call for the feature line of `d` (`cosa`, with its article: "il segnale")
// whose position `posizione` was read at `posto`: `prosegui` when the compile goes on, else how
// it ends. A code left by an earlier step ends it too.
esito_riga dopo_registratore(compilazione& k, descrizione d, std::int32_t posizione, luogo posto,
                             const char* cosa);

// A keyword field as taken: its text, where it begins, whether it opens its line, and whether
// it was the last field of the file (which is never interpreted).
struct campo_chiave {
    std::string testo;
    luogo posto;
    bool a_inizio_riga = false;
    bool ultimo = false;
};

// Takes the next keyword field, dropping up to `max_trattini` fields that contain "-", each
// followed by the end-of-file check. `ultimo` is set at the end of the file, and then for a
// last field that stood there the reader also stops: the last field of a file is never
// interpreted.
campo_chiave leggi_parola_chiave(lettore_descrizione& r, int max_trattini);

// What the reading of a description remembers between lines for its warnings: the line of the
// last keyword that matched, and the last line that got a warning for a dropped field (one per
// line is enough).
struct stato_lettura {
    int riga_chiave = 0;
    int riga_avvisata = 0;
};

// Warns about a keyword field that is dropped although it may hold something the author meant:
// the last field of the file, a field matching no keyword, values beyond those its keyword
// takes.
void avvisa_campo_ignorato(compilazione& k, descrizione d, const campo_chiave& campo,
                           stato_lettura& s);

// After a line that did not end the reading: the warnings about its fields (ignored ones,
// values taken from later lines).
void dopo_riga(compilazione& k, descrizione d, const lettore_descrizione& r,
               const campo_chiave& campo, esito_riga esito, stato_lettura& s);

// Reads the lines of a description after its header, up to the end of the file or a line that
// failed the range check, handing each keyword field to `riga`. std::nullopt when the reading
// ended so; otherwise how the phase ends.
using lettore_riga = std::function<esito_riga(const campo_chiave& campo)>;
std::optional<esito_fase> leggi_righe(compilazione& k, descrizione d, lettore_descrizione& r,
                                      const lettore_riga& riga);

// The phase's end for a line that ended it.
esito_fase esito_di(esito_riga esito);

// The general failure of a phase that read `d` with `r` (nullptr when it could not be read at
// all): the place for the program's message and, unless the failure already has one, the
// diagnostic of the field the reader failed on.
void segna_luogo_fallimento(compilazione& k, descrizione d, const lettore_descrizione* r);

// Reads the description `d` whole and compiles its text with `compila_testo`. A description
// that cannot be read, or a text that fails on the general failure path, gets its place for the
// program's message and its diagnostic.
esito_fase compila_descrizione(compilazione& k, descrizione d,
                               esito_fase (*compila_testo)(compilazione&, lettore_descrizione&));

// "1500 m", for messages.
std::string metri(std::int64_t m);

// The fill of the last cells after a description: from `indice` up to `ultima_cella` - 3, at
// least one cell. A fill that would pass the array records code 26 and ends the compile, with
// its diagnostic at `posto` (the field of the last value filled).
esito_fase riempi_coda(compilazione& k, descrizione d, std::int32_t& indice,
                       std::uint8_t cella::*campo, std::uint8_t valore, luogo posto);

// Writes `valore` into `campo` of the cells from `indice` on while `indice` is below `fino_a`,
// always at least one cell, and leaves `indice` after the last cell written. False, with
// nothing more written, when a cell beyond the array would be written.
bool riempi_celle(costruzione& c, std::int32_t& indice, std::int64_t fino_a,
                  std::uint8_t cella::*campo, std::uint8_t valore);

} // namespace corvenna
