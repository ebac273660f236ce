#include "documents/dati_scheda.hpp"

#include "documents/righe_scheda.hpp"
#include "model/costruzione.hpp"
#include "output/nomi_file.hpp"
#include "output/righe_documento.hpp"

namespace corvenna {

void dati_scheda(costruzione& c, const std::filesystem::path& cartella) {
    c.indice = scrivi_righe(percorso_file(cartella, c, file_uscita::scheda_treno), righe_scheda);
}

} // namespace corvenna
