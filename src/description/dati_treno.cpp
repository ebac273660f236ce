#include "description/dati_treno.hpp"

#include "description/righe_treno.hpp"
#include "model/costruzione.hpp"
#include "output/nomi_file.hpp"
#include "output/righe_documento.hpp"

namespace corvenna {

void dati_treno(costruzione& c, const std::filesystem::path& cartella) {
    c.indice =
        scrivi_righe(percorso_file(cartella, c, file_uscita::descrizione_treno), righe_treno);
}

} // namespace corvenna
