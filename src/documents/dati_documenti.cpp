#include "documents/dati_documenti.hpp"

#include "model/costruzione.hpp"
#include "output/righe_documento.hpp"

namespace corvenna {

void scrivi_documento(costruzione& c, cartella_uscita& cartella, const documento_scenario& d,
                      persistenza durata) {
    c.indice = scrivi_righe(cartella, nome_file(c, d.file), d.righe, durata);
}

void scrivi_documento(costruzione& c, const std::filesystem::path& cartella,
                      const documento_scenario& d) {
    c.indice = scrivi_righe(percorso_file(cartella, c, d.file), d.righe);
}

void dati_linea(costruzione& c, const std::filesystem::path& cartella) {
    scrivi_documento(c, cartella, documento(file_uscita::descrizione_linea));
}

void dati_treno(costruzione& c, const std::filesystem::path& cartella) {
    scrivi_documento(c, cartella, documento(file_uscita::descrizione_treno));
}

void dati_note(costruzione& c, const std::filesystem::path& cartella) {
    scrivi_documento(c, cartella, documento(file_uscita::note));
}

void dati_rallentamenti(costruzione& c, const std::filesystem::path& cartella) {
    scrivi_documento(c, cartella, documento(file_uscita::rallentamenti));
}

void dati_scheda(costruzione& c, const std::filesystem::path& cartella) {
    scrivi_documento(c, cartella, documento(file_uscita::scheda_treno));
}

} // namespace corvenna
