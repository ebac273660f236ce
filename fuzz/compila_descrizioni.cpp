// Fuzz target: arbitrary bytes as the two description texts, through the compile, the finishing
// pass, the header stamp, the scenario codes and the item and cell writers, all in memory. The
// plan-view file is not written: its size follows from the kinds of its elements, which are
// checked one by one (the plan-view writer has its own unit tests). Writing some 190000 values
// of a long route on every input took most of the fuzzer's time.
//
// Input layout: the first byte holds the switches, the rest is the line description up to the
// first NUL byte and the train description after it.
//   bit 0 of the first byte: build the plan view (genera_planimetria 1, else 0);
//   bit 1: the train description does not exist (the rest after the NUL is ignored).
// Without a NUL byte the train description is empty. An empty input has no line description.

#include "compiler/sorgente_descrizioni.hpp"
#include "model/codici_errore.hpp"
#include "model/costruzione.hpp"
#include "output/file_binari.hpp"
#include "output/scrittore_binario.hpp"
#include "pipeline/costruisci_scenario.hpp"
#include "support/flusso_contato.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

// A size that the layout of the files fixes; a mismatch means a writer or the model is wrong.
void verifica(bool condizione, const char* messaggio) {
    if (!condizione) {
        std::fprintf(stderr, "invariante violata: %s\n", messaggio);
        std::abort();
    }
}

// The size of the plan-view file from its elements: a 2-byte tag, then 2 bytes for an integer,
// 8 for a double, nothing for an empty element. A kind outside the three stops the fuzzer.
// Left out of the coverage instrumentation: its loop runs once per metre and steers nothing.
__attribute__((no_sanitize("coverage"))) std::size_t
byte_planimetria(const corvenna::costruzione& c) {
    std::size_t byte = 0;
    for (const corvenna::asse_planimetria& asse : c.planimetria)
        for (std::size_t metro = 0; metro < asse.size(); ++metro)
            switch (asse.tipo(metro)) {
            case corvenna::tipo_valore::vuoto:
                byte += 2;
                break;
            case corvenna::tipo_valore::intero:
                byte += 4;
                break;
            case corvenna::tipo_valore::doppio:
                byte += 10;
                break;
            default:
                verifica(false, "un elemento della planimetria di tipo sconosciuto");
            }
    return byte;
}

std::size_t scrivi_e_conta(void (*scrivi)(std::ostream&, const corvenna::costruzione&),
                           const corvenna::costruzione& c) {
    corvenna::prova::flusso_contato contatore;
    std::ostream uscita(&contatore);
    scrivi(uscita, c);
    verifica(static_cast<bool>(uscita), "scrittura fallita su un flusso che non fallisce");
    return contatore.scritti;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    using namespace corvenna;

    costruzione c;
    c.nome_scenario = "Corvenna";
    c.numero_treno = "7381";
    sorgente_memoria sorgente;
    if (dimensione > 0) {
        const std::uint8_t opzioni = dati[0];
        c.genera_planimetria = (opzioni & 1) != 0 ? 1 : 0;
        const std::string_view resto(reinterpret_cast<const char*>(dati) + 1, dimensione - 1);
        const std::size_t separatore = resto.find('\0');
        sorgente.testi[descrizione::linea] = std::string(resto.substr(0, separatore));
        if ((opzioni & 2) == 0)
            sorgente.testi[descrizione::treno] = separatore == std::string_view::npos
                                                     ? std::string()
                                                     : std::string(resto.substr(separatore + 1));
    }

    const int errore_intestazione = costruisci(c, sorgente);
    // The line description is always gone; the train description stays only when the compile
    // ended in the line phase, before the train description was opened.
    verifica(!sorgente.testi.contains(descrizione::linea), "la descrizione della linea resta");
    if (sorgente.testi.contains(descrizione::treno))
        verifica(c.codice_errore != 0 && c.codice_errore != codice::progressiva_non_multipla &&
                     c.codice_errore != codice::fuori_tracciato &&
                     c.codice_errore != codice::lettura_fallita,
                 "la descrizione del treno resta dopo la sua compilazione");
    if (!c.celle_create())
        return 0;
    verifica(c.celle.size() == static_cast<std::size_t>(c.ultima_cella) + 1,
             "il numero delle celle non segue l'ultima cella");

    if (errore_intestazione != 0)
        return 0;

    if (c.genera_planimetria != 0) {
        const std::size_t punti = static_cast<std::size_t>(c.lunghezza_totale) + 1;
        verifica(c.planimetria[asse_x].size() == punti && c.planimetria[asse_y].size() == punti,
                 "la planimetria non copre il tracciato");
        const std::size_t byte = byte_planimetria(c);
        verifica(byte >= 4 * punti && byte <= 20 * punti, "dimensione della planimetria");
    }
    std::size_t attesi_voci = 34 * numero_voci;
    bool nome_troppo_lungo = false;
    for (const voce& v : c.voci) {
        attesi_voci += v.nome.size();
        nome_troppo_lungo = nome_troppo_lungo || v.nome.size() > lunghezza_testo_massima;
    }
    // A name longer than a text field can say stops the item writer with std::length_error,
    // which the program reports as a failure to write the item file.
    try {
        verifica(scrivi_e_conta(scrivi_voci, c) == attesi_voci, "dimensione del file delle voci");
        verifica(!nome_troppo_lungo, "un nome troppo lungo scritto nel file delle voci");
    } catch (const std::length_error&) {
        verifica(nome_troppo_lungo, "std::length_error senza un nome troppo lungo");
    }
    verifica(scrivi_e_conta(scrivi_celle, c) == 15 * c.celle.size(),
             "dimensione del file delle celle");
    return 0;
}
