#pragma once

// What the line and train phases of the compile share: the model, where the descriptions are,
// how a phase ends, and the reading rules common to both descriptions.

#include "compiler/sorgente_descrizioni.hpp"
#include "description/lettore.hpp"
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

struct compilazione {
    costruzione& c;
    sorgente_descrizioni& sorgente;
    // Item number for the next route-sign text; stations must stay below it.
    std::int32_t slot_cartello = prima_voce_cartelli;
};

// Range check of a line's first value: the position plus the margin must lie on the track.
bool nel_tracciato(const costruzione& c, std::int64_t posizione, int margine);
inline constexpr int margine_riga = 100;
inline constexpr int margine_stazione = 800;

// A sign text or station name must fit the item file's 2-byte length; a longer one is a
// conversion failure.
bool nome_rappresentabile(const std::string& nome);

// Where a phase that ends on the general failure path failed: the description's name, and the
// line of the field when the reader could not read one. Without a reader, the description could
// not be read at all.
void segna_luogo_fallimento(compilazione& k, descrizione d, const lettore_descrizione* r);

// The range check of a line whose first value is `posizione`: when it fails, records code 15
// with the position and sets `fuori`, which ends the reading of the current description.
bool fuori_tracciato(costruzione& c, std::int64_t posizione, int margine, bool& fuori);

// The values of a line whose first value is a position, read as 32-bit numbers. std::nullopt
// when the line is not to be applied: `esito` then holds the general failure, or stays empty
// with `fuori` set when the position failed the range check.
template <std::size_t numero_valori>
std::optional<std::array<std::int32_t, numero_valori>>
leggi_riga(costruzione& c, lettore_descrizione& r, bool& fuori, std::optional<esito_fase>& esito) {
    std::array<std::int32_t, numero_valori> valori;
    for (std::int32_t& valore : valori)
        valore = r.leggi_long();
    if (r.fallito()) {
        esito = esito_fase::fallita;
        return std::nullopt;
    }
    if (fuori_tracciato(c, valori[0], margine_riga, fuori))
        return std::nullopt;
    return valori;
}

// Ends the compile with `codice`: deletes the description being read and records the code
// (and the position, for the codes that carry one).
esito_fase termina(compilazione& k, descrizione d, std::int32_t codice);
esito_fase termina(compilazione& k, descrizione d, std::int32_t codice, std::int32_t posizione);

// After a recorder call: std::nullopt when the compile goes on, else how it ends. A code left
// by an earlier step ends it too.
std::optional<esito_fase> dopo_registratore(compilazione& k, descrizione d, std::int32_t posizione);

// Takes the next keyword field, dropping up to `max_trattini` fields that contain "-", each
// followed by the end-of-file check. std::nullopt at the end of the file: the last field of a
// file is never interpreted.
std::optional<std::string> leggi_parola_chiave(lettore_descrizione& r, int max_trattini);

// Reads the lines of a description after its header, up to the end of the file or a line that
// failed the range check, handing each keyword field to `riga`. `riga` returns std::nullopt to
// go on, or how the phase ends; it sets its `bool&` when a range check failed.
using lettore_riga =
    std::function<std::optional<esito_fase>(const std::string& campo, bool& fuori)>;
std::optional<esito_fase> leggi_righe(costruzione& c, lettore_descrizione& r,
                                      const lettore_riga& riga);

// The fill of the last cells after a description: from `indice` up to `ultima_cella` - 3, at
// least one cell. A fill that would pass the array records code 26 and ends the compile.
esito_fase riempi_coda(costruzione& c, std::int32_t& indice, std::uint8_t cella::*campo,
                       std::uint8_t valore);

// Writes `valore` into `campo` of the cells from `indice` on while `indice` is below `fino_a`,
// always at least one cell, and leaves `indice` after the last cell written. False, with
// nothing more written, when a cell beyond the array would be written.
bool riempi_celle(costruzione& c, std::int32_t& indice, std::int64_t fino_a,
                  std::uint8_t cella::*campo, std::uint8_t valore);

} // namespace corvenna
