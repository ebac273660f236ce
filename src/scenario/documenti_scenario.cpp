#include "scenario/documenti_scenario.hpp"

#include "scenario/righe_linea.hpp"
#include "scenario/righe_note.hpp"
#include "scenario/righe_rallentamenti.hpp"
#include "scenario/righe_scheda.hpp"
#include "scenario/righe_treno.hpp"

#include <stdexcept>

namespace corvenna {

const std::array<documento_scenario, 5> documenti_scenario{{
    {file_uscita::descrizione_linea, righe_linea},
    {file_uscita::descrizione_treno, righe_treno},
    {file_uscita::note, righe_note},
    {file_uscita::rallentamenti, righe_rallentamenti},
    {file_uscita::scheda_treno, righe_scheda},
}};

const documento_scenario& documento(file_uscita file) {
    for (const documento_scenario& d : documenti_scenario)
        if (d.file == file)
            return d;
    throw std::logic_error("nessun documento dello scenario per questo file");
}

} // namespace corvenna
