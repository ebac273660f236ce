#pragma once

// What the server shows of the rows of the two descriptions, for hover and completion: each
// keyword as the reader matches it, the keyword as written, what the row means and its fields in
// the order the reader takes them (name, unit, meaning). A view of the format's one table
// (description/formato_descrizioni.hpp), in the shape hover and completion use.

#include "base/descrizione.hpp"

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace corvenna {

struct campo_riga {
    std::string_view nome;
    // Empty for a plain number.
    std::string_view unita;
    std::string_view significato;
    // A text field (to the comma or the line end) rather than a number.
    bool testo = false;
    // A position on the route in metres.
    bool posizione = false;
};

struct voce_riga {
    descrizione file = descrizione::linea;
    // Every substring must occur in the keyword field.
    std::vector<std::string_view> sottostringhe;
    // Case-sensitive matching (the line's general keywords).
    bool esatta = false;
    // The keyword as the template writes it, offered in completion.
    std::string_view parola;
    // The header the row stands under as the descriptions are written ("[segnali]").
    std::string_view sezione;
    std::string_view significato;
    std::vector<campo_riga> campi;
};

std::span<const voce_riga> catalogo_righe();

// The section headers the template writes in each description, in its order.
std::span<const std::string_view> intestazioni_sezioni(descrizione d);

// The index among a row's fields (the keyword field 0, its first value 1) of its value `nome`
// as the format's table names it; std::nullopt when the row has no such value.
std::optional<std::size_t> indice_campo(const voce_riga& v, std::string_view nome);

// The first row of `d` whose substrings the keyword field `parola` holds; nullptr for none.
const voce_riga* voce_per_parola(descrizione d, std::string_view parola);

} // namespace corvenna
