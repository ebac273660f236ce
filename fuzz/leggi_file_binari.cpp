// Fuzz target: arbitrary bytes as one of the three binary scenario files, through the reader.
// A file the reader refuses must be refused with errore_lettura; a file it accepts must write
// back to the very same bytes, and a small one must show as JSON and CSV (a large one would take
// most of the run in the reports, not in the reader).
//
// Input layout: byte 0 chooses the file (its value modulo 3: item file, cell file, plan view);
// bytes 1 to 4 (little-endian, signed) are the dimension the file must have, for the cell file
// the last cell, for the plan view the last metre (the item file ignores it); the rest is the
// file. An input shorter than 5 bytes is ignored.

#include "input/errore_lettura.hpp"
#include "input/file_binari_letti.hpp"
#include "inspect/ispezione_csv.hpp"
#include "inspect/ispezione_json.hpp"
#include "model/costruzione.hpp"
#include "output/file_binari.hpp"
#include "support/flusso_contato.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

namespace {

using namespace corvenna;

constexpr std::size_t byte_da_mostrare = 8192;

// The bytes `scrivi` writes for `c` must be the bytes read.
void verifica_riscrittura(void (*scrivi)(std::ostream&, const costruzione&), const costruzione& c,
                          std::string_view letti) {
    std::ostringstream uscita(std::ios::binary);
    scrivi(uscita, c);
    if (uscita.str() != letti) {
        std::fprintf(stderr, "the file read back writes other bytes (%zu, not %zu)\n",
                     uscita.str().size(), letti.size());
        std::abort();
    }
}

void mostra(const costruzione& c) {
    prova::flusso_contato buffer;
    std::ostream uscita(&buffer);
    scrivi_json(uscita, c, "\r\n");
    for (const tabella_ispezione t :
         {tabella_ispezione::voci, tabella_ispezione::celle, tabella_ispezione::planimetria})
        scrivi_csv(uscita, c, t, "\r\n");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    if (dimensione < 5)
        return 0;
    const int file = dati[0] % 3;
    const auto valore = static_cast<std::int32_t>(
        static_cast<std::uint32_t>(dati[1]) | static_cast<std::uint32_t>(dati[2]) << 8 |
        static_cast<std::uint32_t>(dati[3]) << 16 | static_cast<std::uint32_t>(dati[4]) << 24);
    const std::string_view contenuto(reinterpret_cast<const char*>(dati) + 5, dimensione - 5);

    costruzione c;
    try {
        switch (file) {
        case 0:
            leggi_voci({"voci.sim", contenuto}, c);
            verifica_riscrittura(scrivi_voci, c, contenuto);
            break;
        case 1:
            c.ultima_cella = valore;
            c.lunghezza_totale = valore;
            leggi_celle({"celle.dat", contenuto}, c);
            verifica_riscrittura(scrivi_celle, c, contenuto);
            break;
        default:
            c.lunghezza_totale = valore;
            leggi_planimetria({"linea.dat", contenuto}, c);
            verifica_riscrittura(scrivi_planimetria, c, contenuto);
            break;
        }
    } catch (const errore_lettura&) {
        return 0;
    }
    if (contenuto.size() <= byte_da_mostrare)
        mostra(c);
    return 0;
}
