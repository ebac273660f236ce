#pragma once

// Warnings that both phases of the compile give about the lines they read: positions rounded to
// a cell, values that keep only their low bits, texts the reader trimmed, fills out of order,
// keyword fields that match more than one keyword, settings given twice.

#include "compiler/compilazione.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace corvenna {

// A keyword field that matched `corrispondenze` keywords: more than one is almost never meant.
void avvisa_piu_parole(compilazione& k, descrizione d, const campo_chiave& campo,
                       int corrispondenze);

// A setting line given again: the later value replaces the earlier one. `vista` holds the place
// of the keyword where it was given before (not known when it was not).
void segna_impostazione(compilazione& k, descrizione d, const campo_chiave& campo, luogo& vista);

// A position that is not a multiple of 50 is moved to a cell boundary.
void avvisa_arrotondamento(compilazione& k, descrizione d, std::int64_t posizione, luogo posto,
                           const char* cosa);
// A value stored into a narrow field keeps only its low bits.
void avvisa_troncamento(compilazione& k, descrizione d, std::int64_t valore, std::int64_t minimo,
                        std::int64_t massimo, luogo posto, const char* cosa,
                        std::optional<std::int32_t> metri);
// A text value lost bytes to the reader (trailing blanks, bytes after a closing quote).
void avvisa_testo_accorciato(compilazione& k, descrizione d, const lettore_descrizione& r,
                             const std::string& testo);

// A text value that goes into the item file (a station name, a board text) holds a control byte
// or a byte without a Windows-1252 character: warned once, at the text's field, naming the first.
void avvisa_byte_non_stampabili(compilazione& k, descrizione d, const lettore_descrizione& r,
                                const std::string& testo);

// A position-ordered fill (gradients, speeds, adhesion): the previous line's position and
// place, so that a line out of order and a first line not at 0 are reported.
struct ordine_posizioni {
    bool prima_riga = true;
    std::int32_t posizione_precedente = 0;
    int riga_precedente = 0;
};
void controlla_ordine(compilazione& k, descrizione d, ordine_posizioni& o, std::int32_t posizione,
                      luogo posto, const char* cosa);

} // namespace corvenna
