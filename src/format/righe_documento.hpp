#pragma once

// The writing sequence shared by the five text documents: a table of constant lines, written
// in order up to the end marker, each as Windows-1252 bytes followed by CR LF.

#include "base/cartella_uscita.hpp"

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace corvenna {

// The slot text that ends a line table; it is never written.
inline constexpr std::string_view fine_tabella = "riferimento fine del file";

// The lines of `tabella` (UTF-8 source text) up to the end marker, as the file holds them:
// Windows-1252 bytes with CR LF after every line. Throws errore_codifica, naming the line, for a
// character without a byte.
std::string testo_righe(std::span<const std::string_view> tabella);

// Writes the lines of `tabella` (UTF-8 source text) as the file `nome` of `cartella`, replaced
// whole, stopping at the first slot equal to the end marker, or after the last slot when the
// table holds none. Returns the index at which writing stopped. A character that has no place
// in Windows-1252 fails the write (errore_file) before the file is touched.
int scrivi_righe(cartella_uscita& cartella, const std::string& nome,
                 std::span<const std::string_view> tabella, persistenza durata);

} // namespace corvenna
