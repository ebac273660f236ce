#pragma once

// One table of a compiled scenario as CSV, for a spreadsheet: a header row with the same names
// as the JSON, then one row per item, cell or metre. Fields holding a comma, a quote or a line
// end are quoted, with their quotes doubled; names are converted from Windows-1252 to UTF-8, a
// control byte or a byte without a character written as the text "\x1b".
//
//   voci         indice, the item's fields, then ruolo, ora and cella_fermata (stations only);
//   celle        indice, the cell's fields, then da_metro, nome_tipo, velocita_kmh and
//                pendenza_per_mille;
//   planimetria  metro, x, tipo_x, y, tipo_y: an empty element has an empty value.

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace corvenna {

struct costruzione;

// A field as CSV holds it: quoted, with its quotes doubled, when it holds a separator, a quote
// or a line end.
std::string campo_csv(std::string_view testo);

// A name of the files (Windows-1252) in UTF-8, a control byte (C0, DEL) or a byte without a
// character written as the text "\x1b": safe for a spreadsheet, a terminal or one line of text.
std::string nome_csv(std::string_view byte_1252);

enum class tabella_ispezione { voci, celle, planimetria };

// The table named `nome` ("voci", "celle", "planimetria"); none for another name.
std::optional<tabella_ispezione> tabella_di_nome(std::string_view nome);

// `a_capo` ends every row. A scenario without a plan view gives the planimetria header alone.
void scrivi_csv(std::ostream& uscita, const costruzione& c, tabella_ispezione tabella,
                std::string_view a_capo);

} // namespace corvenna
