#include "editor/diagnostiche_lsp.hpp"

#include "base/codifica_1252.hpp"
#include "editor/posizioni_testo.hpp"

namespace corvenna {

namespace {

nlohmann::json punto_lsp(int riga, int carattere) {
    return {{"line", riga}, {"character", carattere}};
}

// The byte where `indice` characters into `riga` begin (a malformed byte is one character).
std::size_t byte_da_caratteri(std::string_view riga, int indice) {
    return byte_da_utf16(riga, utf16_da_caratteri(riga, indice));
}

} // namespace

nlohmann::json intervallo_lsp(std::string_view testo, int riga, int colonna, int colonna_fine) {
    const int r = riga > 0 ? riga - 1 : 0;
    const std::string_view linea = riga_di(testo, r);
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
    return {{"start", punto_lsp(r, utf16_da_caratteri(linea, inizio))},
            {"end", punto_lsp(r, fine_utf16)}};
}

nlohmann::json diagnostica_lsp(const diagnostica& d, std::string_view testo,
                               const documento_di& documento) {
    nlohmann::json x;
    x["range"] = intervallo_lsp(testo, d.riga, d.colonna, d.colonna_fine);
    x["severity"] = d.livello == gravita::errore ? 1 : 2;
    if (d.tipo)
        x["code"] = std::string(tipo_di(*d.tipo).nome);
    else
        x["code"] = d.codice;
    x["source"] = "scenario";
    x["message"] = da_1252(d.messaggio);
    if (!d.correlati.empty()) {
        nlohmann::json correlati = nlohmann::json::array();
        for (const luogo_correlato& l : d.correlati) {
            const luogo_documento& doc =
                documento(l.file.value_or(d.file.value_or(descrizione::linea)));
            correlati.push_back(
                {{"location",
                  {{"uri", doc.uri}, {"range", intervallo_lsp(doc.testo, l.riga, l.colonna, 0)}}},
                 {"message", da_1252(l.messaggio)}});
        }
        x["relatedInformation"] = std::move(correlati);
    }
    return x;
}

} // namespace corvenna
