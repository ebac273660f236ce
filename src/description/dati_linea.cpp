#include "description/dati_linea.hpp"

#include "description/righe_linea.hpp"
#include "model/costruzione.hpp"
#include "output/nomi_file.hpp"
#include "output/righe_documento.hpp"

namespace corvenna {

void dati_linea(costruzione& c, const std::filesystem::path& cartella) {
    c.indice =
        scrivi_righe(percorso_file(cartella, c, file_uscita::descrizione_linea), righe_linea);
}

} // namespace corvenna
