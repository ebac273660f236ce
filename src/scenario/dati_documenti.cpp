#include "scenario/dati_documenti.hpp"

#include "format/righe_documento.hpp"
#include "model/costruzione.hpp"

namespace corvenna {

void scrivi_documento(costruzione& c, cartella_uscita& cartella, const documento_scenario& d,
                      persistenza durata) {
    c.indice = scrivi_righe(cartella, nome_file(c, d.file), d.righe, durata);
}

void dati_linea(costruzione& c, cartella_uscita& cartella) {
    scrivi_documento(c, cartella, documento(file_uscita::descrizione_linea), persistenza::durevole);
}

void dati_treno(costruzione& c, cartella_uscita& cartella) {
    scrivi_documento(c, cartella, documento(file_uscita::descrizione_treno), persistenza::durevole);
}

void dati_note(costruzione& c, cartella_uscita& cartella) {
    scrivi_documento(c, cartella, documento(file_uscita::note), persistenza::durevole);
}

void dati_rallentamenti(costruzione& c, cartella_uscita& cartella) {
    scrivi_documento(c, cartella, documento(file_uscita::rallentamenti), persistenza::durevole);
}

void dati_scheda(costruzione& c, cartella_uscita& cartella) {
    scrivi_documento(c, cartella, documento(file_uscita::scheda_treno), persistenza::durevole);
}

} // namespace corvenna
