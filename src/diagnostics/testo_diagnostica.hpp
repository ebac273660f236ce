#pragma once

// The text form of a diagnostic, as compilers print it: the place, the severity, the message
// and the code or the warning's name, then the description's line and a caret under the field.
//
//   Corvenna_linea.txt:57:9: errore: posizione 99500 oltre il percorso (88000 m) [codice 15]
//   pendenza,  99500,  3
//           ^
//
// A diagnostic without a line has only its first line ("Corvenna_7381-.txt: errore: ...");
// one without a file starts with its severity. The texts are bytes as the descriptions hold
// them (single-byte Windows-1252), but for the bytes testo_mostrabile escapes ("\x1b"), so that
// nothing quoted from a description reaches a terminal as a command; every line ends with "\n".

#include "diagnostics/diagnostica.hpp"

#include <cstddef>
#include <string>
#include <string_view>

namespace corvenna {

// `nome_file` is the name to show for the diagnostic's description and `testo` that
// description's text (for the source line); both are ignored for a diagnostic without a file.
// With `utf8`, `testo` is UTF-8 (the description shown on a terminal) and the caret counts its
// characters, not its bytes.
std::string testo_diagnostica(const diagnostica& d, std::string_view nome_file,
                              std::string_view testo, bool utf8 = false);

// The same, given the diagnostic's source line itself (without its line end), as an index of
// the description's lines finds it: the printers show many diagnostics of one text this way.
std::string testo_diagnostica_su_riga(const diagnostica& d, std::string_view nome_file,
                                      std::string_view sorgente, bool utf8 = false);

// A source line longer than `riga_intera_massima` characters is shown as a window of
// `larghezza_finestra` characters that starts `prima_del_segno` characters before the caret
// (or at the line's start), each cut end marked "...", and the caret under its field in it:
//
//   ...,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  velocita,  1500,  x,  0,  0,  0, ...
//                                                                       ^
inline constexpr std::size_t riga_intera_massima = 200;
inline constexpr std::size_t larghezza_finestra = 160;
inline constexpr std::size_t prima_del_segno = 60;
inline constexpr std::string_view ellissi = "...";

// The lines that follow a diagnostic for the places that explain it and its certain fixes, one
// each, as compilers print notes; empty when it has none:
//
//   Rivalta_2024-.txt:26:11: nota: la fermata di MERIDOLA
//   Rivalta_2024-.txt:10:19: correzione: scrivere 125
//
// `nome_linea` and `nome_treno` are the names to show for the two descriptions; the texts are
// shown as testo_diagnostica shows the message.
std::string testo_correlati(const diagnostica& d, std::string_view nome_linea,
                            std::string_view nome_treno, bool utf8 = false);

// Line `riga` (from 1) of `testo`, without its line end; empty when there is no such line.
// Lines end at CR LF, a lone CR or a lone LF, as the reader counts them.
std::string_view riga_del_testo(std::string_view testo, int riga);

} // namespace corvenna
