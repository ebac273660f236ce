#include "scenario/documenti_compilati.hpp"

#include "base/codifica_1252.hpp"
#include "base/errore_file.hpp"
#include "format/nomi_file.hpp"
#include "model/costruzione.hpp"

#include <ostream>

namespace corvenna {

namespace {

// Every line is written, an author's line that reads as the built-in tables' end marker too;
// the bytes are encoded before the file is touched.
void scrivi_tabella(cartella_uscita& cartella, const std::string& nome,
                    const std::vector<std::string>& righe) {
    std::string testo;
    for (std::size_t i = 0; i < righe.size(); ++i) {
        try {
            testo += in_1252(righe[i]);
        } catch (const errore_codifica& e) {
            throw errore_file(cartella.percorso(nome),
                              "riga " + std::to_string(i + 1) + ": " + e.what());
        }
        testo += "\r\n";
    }
    cartella.sostituisci(
        nome, [&](std::ostream& uscita) { uscita.write(testo.data(), testo.size()); },
        persistenza::durevole);
}

} // namespace

void scrivi_documenti_compilati(cartella_uscita& cartella, const costruzione& c,
                                const fatti_linea& f, const opzioni_documenti& o) {
    scrivi_tabella(cartella, nome_file(c, file_uscita::scheda_treno),
                   righe_scheda_compilata(f, c.numero_treno, o.margini_min));
    scrivi_tabella(cartella, nome_file(c, file_uscita::rallentamenti),
                   righe_ordine_compilato(f, c.numero_treno));
    scrivi_tabella(cartella, nome_file(c, file_uscita::note),
                   righe_note_compilate(f, o.note_autore));
}

} // namespace corvenna
