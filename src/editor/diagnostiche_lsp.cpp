#include "editor/diagnostiche_lsp.hpp"

#include "base/codifica_1252.hpp"
#include "editor/posizioni_testo.hpp"

#include <algorithm>

namespace corvenna {

namespace {

// The byte where `indice` characters into `riga` begin (a malformed byte is one character).
std::size_t byte_da_caratteri(std::string_view riga, int indice) {
    return byte_da_utf16(riga, utf16_da_caratteri(riga, indice));
}

} // namespace

intervallo_testo intervallo_colonne(const luogo_documento& doc, int riga, int colonna,
                                    int colonna_fine) {
    const int r = riga > 0 ? riga - 1 : 0;
    const std::string_view linea = doc.riga(r + 1);
    const int inizio = colonna > 0 ? colonna - 1 : 0;
    int fine_utf16 = 0;
    if (colonna_fine > colonna && colonna > 0) {
        fine_utf16 = utf16_da_caratteri(linea, colonna_fine - 1);
    } else {
        // The field from the column: to the comma or the line's end, trailing blanks dropped;
        // at least one character, so the editor shows a mark.
        const std::size_t b = byte_da_caratteri(linea, inizio);
        std::size_t e = b < linea.size() ? linea.find(',', b) : b;
        if (e == std::string_view::npos)
            e = linea.size();
        while (e > b && (linea[e - 1] == ' ' || linea[e - 1] == '\t'))
            --e;
        fine_utf16 = e > b ? utf16_da_byte(linea, e) : utf16_da_caratteri(linea, inizio) + 1;
    }
    return {{r, utf16_da_caratteri(linea, inizio)}, {r, fine_utf16}};
}

diagnostica_lsp in_diagnostica_lsp(const diagnostica& d, const luogo_documento& doc,
                                   const documento_di& documento) {
    diagnostica_lsp x;
    x.intervallo = intervallo_colonne(doc, d.riga, d.colonna, d.colonna_fine);
    x.gravita = d.livello == gravita::errore ? gravita_lsp::errore : gravita_lsp::avviso;
    if (d.tipo)
        x.codice = std::string(tipo_di(*d.tipo).nome);
    else
        x.codice = d.codice;
    x.messaggio = da_1252(d.messaggio);
    for (const luogo_correlato& l : d.correlati) {
        const luogo_documento& altro =
            documento(l.file.value_or(d.file.value_or(descrizione::linea)));
        x.correlate.push_back(
            {{altro.uri, intervallo_colonne(altro, l.riga, l.colonna, 0)}, da_1252(l.messaggio)});
    }
    return x;
}

modifica_testo modifica_correzione(const luogo_documento& doc, const correzione& c) {
    const int r = c.riga > 0 ? c.riga - 1 : 0;
    const std::string_view linea = doc.riga(r + 1);
    const int colonna = std::max(c.colonna, 1);
    const int inizio = utf16_da_caratteri(linea, colonna - 1);
    const int fine = utf16_da_caratteri(linea, std::max(c.colonna_fine, colonna) - 1);
    return {{{r, inizio}, {r, std::max(inizio, fine)}}, da_1252(c.testo)};
}

} // namespace corvenna
