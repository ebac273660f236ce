#include "documents/dati_note.hpp"

#include "documents/righe_note.hpp"
#include "model/costruzione.hpp"
#include "output/nomi_file.hpp"
#include "output/righe_documento.hpp"

namespace corvenna {

void dati_note(costruzione& c, const std::filesystem::path& cartella) {
    c.indice = scrivi_righe(percorso_file(cartella, c, file_uscita::note), righe_note);
}

} // namespace corvenna
