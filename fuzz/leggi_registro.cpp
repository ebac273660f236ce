// The record of a set of files being replaced (`sostituzione_in_corso`) on arbitrary bytes: a
// text is refused whole or read into steps each of which the tools make (a file of the set
// replaced by a temporary of its exact form, a file made from the descriptions removed), and
// those steps write back to a text that reads to the same steps. The record is then followed on
// a directory in memory that holds, beside a scenario, an author's descriptions, a file of the
// author's and temporaries planted for each: whatever the record says, only files of the set
// change, no description goes and nothing planted for another file takes its name.

#include "base/errore_file.hpp"
#include "platform/insieme_file.hpp"
#include "platform/nomi_temporanei.hpp"
#include "platform/registro_sostituzione.hpp"
#include "unit/platform/primitive_finte.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>

namespace {

using namespace corvenna;

// The files that must come out as they went in, whatever the record says.
const std::map<std::string, std::string> intoccabili{
    {"A_linea.txt", "linea"},
    {"A_1000-.txt", "treno"},
    {"appunti.txt", "appunti"},
    {"appunti.txt.tmp1-0", "piantato"},
};

void verifica(bool condizione) {
    if (!condizione)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    const std::string_view testo(reinterpret_cast<const char*>(dati), dimensione);
    if (const auto voci = leggi_registro(testo)) {
        for (const voce_registro& v : *voci) {
            verifica(nome_registrabile(v.destinazione));
            verifica(v.temporaneo.empty() ? nome_rimovibile(v.destinazione)
                                          : temporaneo_creato_di(v.temporaneo, v.destinazione));
        }
        verifica(leggi_registro(testo_registro(*voci)) == voci);
    }

    prova::primitive_finte sistema;
    sistema.voci = intoccabili;
    sistema.voci["A_1000.sim"] = "voci";
    sistema.voci["A_1000.sim.tmp1-0"] = "voci nuove";
    sistema.voci["A_linea.dat"] = "planimetria";
    sistema.voci[std::string(nome_registro)] = std::string(testo);
    try {
        completa_sostituzione(sistema, "cartella");
    } catch (const errore_file&) {
        // A refused record, reported with the file it names.
    }
    for (const auto& [nome, contenuto] : intoccabili) {
        const auto trovato = sistema.voci.find(nome);
        verifica(trovato != sistema.voci.end() && trovato->second == contenuto);
    }
    for (const auto& [nome, contenuto] : sistema.voci)
        verifica(intoccabili.contains(nome) || nome_registrabile(nome) || nome == nome_registro ||
                 temporaneo_creato_di(nome, "A_1000.sim"));
    return 0;
}
