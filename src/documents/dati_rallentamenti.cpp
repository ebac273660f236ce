#include "documents/dati_rallentamenti.hpp"

#include "documents/righe_rallentamenti.hpp"
#include "model/costruzione.hpp"
#include "output/nomi_file.hpp"
#include "output/righe_documento.hpp"

namespace corvenna {

void dati_rallentamenti(costruzione& c, const std::filesystem::path& cartella) {
    c.indice =
        scrivi_righe(percorso_file(cartella, c, file_uscita::rallentamenti), righe_rallentamenti);
}

} // namespace corvenna
