#include "tool/lettura_scenario.hpp"

#include "base/errore_file.hpp"
#include "diagnostics/testo_mostrabile.hpp"
#include "input/errore_lettura.hpp"
#include "input/file_binari_letti.hpp"
#include "platform/file_regolare.hpp"
#include "platform/registro_sostituzione.hpp"

#include <set>

namespace corvenna {

namespace fs = std::filesystem;

namespace {

fs::path cartella_di(const fs::path& percorso) {
    std::error_code errore;
    if (fs::is_directory(percorso, errore))
        return percorso;
    return percorso.has_parent_path() ? percorso.parent_path() : fs::path(".");
}

} // namespace

lettura_scenario::lettura_scenario(const std::vector<fs::path>& percorsi) {
    std::set<fs::path> viste;
    for (const fs::path& percorso : percorsi) {
        const fs::path cartella = cartella_di(percorso);
        if (!viste.insert(cartella.lexically_normal()).second)
            continue;
        try {
            cartelle_.push_back(std::make_unique<cartella_bloccata>(cartella));
            if (cartelle_.back()->sostituzione_completata())
                note_.push_back(percorso_mostrabile(cartella / nome_registro) +
                                ": completata la sostituzione dei file che un'esecuzione "
                                "interrotta aveva lasciato a meta'");
        } catch (const errore_file& e) {
            // The record itself, not what it leads to: a link to nothing is a record too.
            std::error_code errore;
            if (fs::exists(fs::symlink_status(cartella / nome_registro, errore)))
                avvisi_.push_back(percorso_mostrabile(e.file()) +
                                  ": una sostituzione interrotta non si e' potuta completare (" +
                                  testo_mostrabile(e.motivo(), true) +
                                  "): i file possono venire da due compilazioni diverse");
        }
    }
}

scenario_caricato lettura_scenario::carica(const file_scenario& file) {
    try {
        return carica_scenario(file);
    } catch (const errore_lettura&) {
        if (!file.planimetria)
            throw;
        file_scenario senza_planimetria = file;
        senza_planimetria.planimetria.reset();
        scenario_caricato s = carica_scenario(senza_planimetria);
        std::optional<std::size_t> metri;
        try {
            metri = metri_planimetria(
                leggi_file_regolare(*file.planimetria, byte_massimi_planimetria_qualsiasi() + 1));
        } catch (const errore_file&) {
            // What cannot be read again is reported as the first read found it.
        }
        const auto metri_attesi = static_cast<std::size_t>(s.c.lunghezza_totale) + 1;
        if (!metri || *metri == metri_attesi)
            throw;
        avvisi_.push_back(
            percorso_mostrabile(*file.planimetria) + ": e' la planimetria di un percorso di " +
            std::to_string(*metri - 1 - prolungamento_tracciato) + " m, non di questo (" +
            std::to_string(metri_attesi - 1 - prolungamento_tracciato) +
            " m): viene da un'altra compilazione ed e' ignorata");
        return s;
    }
}

bool lettura_scenario::accetta(bool rigoroso, std::ostream& errori) const {
    for (const std::string& nota : note_)
        errori << "scenario: " << nota << '\n';
    for (const std::string& avviso : avvisi_)
        errori << "scenario: " << (rigoroso ? "errore: " : "avviso: ") << avviso << '\n';
    if (rigoroso && !avvisi_.empty()) {
        errori << "scenario: con --rigoroso uno scenario i cui file non sono della stessa "
                  "compilazione non e' letto\n";
        return false;
    }
    return true;
}

} // namespace corvenna
