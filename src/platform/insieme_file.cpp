// A set of files replaced together: the commit by a record of renames, and the completion of a
// record that an interrupted run left. Portable: only the primitives touch the system.

#include "platform/insieme_file.hpp"

#include "base/errore_file.hpp"
#include "platform/cartella_bloccata.hpp"
#include "platform/primitive_file.hpp"

#include <ostream>

namespace corvenna {

namespace {

// A record is a few lines per file; anything longer is not one.
constexpr std::size_t byte_massimi_registro = 1 << 16;

// What a refused record says after its reason.
constexpr std::string_view da_esaminare = ": va esaminato e cancellato a mano";

// The record's content; std::nullopt when there is none. Throws errore_file naming it when it
// exists and cannot be read, or is not a regular file of the running user: a record another
// user could have written would let that user rename or remove files of this one, and a FIFO
// would stop the run, and every run queued behind its lock, for ever.
std::optional<std::string> leggi_registro_di(primitive_file& sistema,
                                             const std::filesystem::path& percorso) {
    maniglia_file file{};
    const apertura_propria apertura =
        sistema.apri_proprio(sistema.nome_di_sistema(nome_registro), file);
    if (apertura.codice != 0) {
        if (sistema.non_trovato(apertura.codice))
            return std::nullopt;
        throw errore_file(percorso, sistema.motivo(apertura.codice));
    }
    if (apertura.tipo != tipo_voce::regolare)
        throw errore_file(percorso, motivo_non_regolare(apertura.tipo) + std::string(da_esaminare));
    if (apertura.altrui)
        throw errore_file(percorso, "appartiene a un altro utente" + std::string(da_esaminare));
    std::string testo;
    char blocco[4096];
    for (;;) {
        std::size_t letti = 0;
        if (const int codice = sistema.leggi(file, blocco, sizeof blocco, letti); codice != 0) {
            sistema.chiudi(file);
            throw errore_file(percorso, sistema.motivo(codice));
        }
        if (letti == 0)
            break;
        testo.append(blocco, letti);
        if (testo.size() > byte_massimi_registro)
            break;
    }
    sistema.chiudi(file);
    return testo;
}

// What a failure says once the record is in place.
constexpr std::string_view in_sospeso =
    " (la sostituzione dello scenario sara' completata dall'esecuzione successiva)";

// The record's steps in order, with the ending signals held back: none of them is undone by a
// handler, and a kill leaves the record, which holds what is left to do. A temporary that no
// longer exists (its rename finds nothing) has taken its name already. Throws errore_file naming
// the file of a step that fails; the record stays.
void applica_registro(primitive_file& sistema, const std::filesystem::path& cartella,
                      const std::vector<voce_registro>& voci) {
    const segnali_trattenuti trattenuti(sistema);
    for (const voce_registro& voce : voci) {
        const std::filesystem::path destinazione = sistema.nome_di_sistema(voce.destinazione);
        int codice = 0;
        if (voce.temporaneo.empty()) {
            codice = sistema.rimuovi(destinazione);
        } else {
            const std::filesystem::path temporaneo = sistema.nome_di_sistema(voce.temporaneo);
            codice = sistema.rinomina(temporaneo, destinazione, persistenza::durevole);
            if (codice == 0)
                sistema.dimentica_temporaneo(temporaneo);
        }
        if (codice != 0 && !sistema.non_trovato(codice))
            throw errore_file(cartella / destinazione,
                              sistema.motivo(codice) + std::string(in_sospeso));
    }
}

std::filesystem::path ultimo_nome(const std::vector<voce_registro>& voci) {
    return voci.empty() ? std::filesystem::path(nome_registro)
                        : std::filesystem::path(voci.back().destinazione);
}

} // namespace

bool completa_sostituzione(primitive_file& sistema, const std::filesystem::path& cartella) {
    const std::filesystem::path registro = sistema.nome_di_sistema(nome_registro);
    const std::optional<std::string> testo = leggi_registro_di(sistema, cartella / registro);
    if (!testo)
        return false;
    const std::optional<std::vector<voce_registro>> voci = leggi_registro(*testo);
    if (!voci)
        throw errore_file(cartella / registro, "non e' un registro di sostituzione leggibile" +
                                                   std::string(da_esaminare));
    applica_registro(sistema, cartella, *voci);
    if (const int codice =
            sistema.sincronizza_cartella(sistema.nome_di_sistema(ultimo_nome(*voci).string()));
        codice != 0)
        throw errore_file(cartella, sistema.motivo(codice));
    if (const int codice = sistema.rimuovi(registro); codice != 0 && !sistema.non_trovato(codice))
        throw errore_file(cartella / registro, sistema.motivo(codice));
    return true;
}

void conferma_insieme(primitive_file& sistema, const std::filesystem::path& cartella,
                      const std::vector<voce_registro>& voci, unsigned& progressivo) {
    const auto abbandona = [&] {
        for (const voce_registro& voce : voci)
            if (!voce.temporaneo.empty())
                abbandona_temporaneo(sistema, sistema.nome_di_sistema(voce.temporaneo));
    };
    // A rename over a directory fails: found now, it stops nothing half-way.
    for (const voce_registro& voce : voci) {
        const std::filesystem::path destinazione = sistema.nome_di_sistema(voce.destinazione);
        if (sistema.e_cartella(destinazione)) {
            abbandona();
            throw errore_file(cartella / destinazione, "al suo posto c'e' una cartella");
        }
    }

    const std::filesystem::path registro = sistema.nome_di_sistema(nome_registro);
    try {
        sostituisci_file(
            sistema, std::string(nome_registro), cartella / registro, progressivo,
            [&voci](std::ostream& uscita) { uscita << testo_registro(voci); },
            persistenza::durevole);
    } catch (...) {
        abbandona();
        throw;
    }

    // Once the record is in place the set only goes forward: a step that fails is tried once
    // more at once (those done are skipped), and then left to the next run.
    try {
        applica_registro(sistema, cartella, voci);
    } catch (const errore_file&) {
        applica_registro(sistema, cartella, voci);
    }
    // The record stays until the renames are on the storage.
    if (const int codice =
            sistema.sincronizza_cartella(sistema.nome_di_sistema(ultimo_nome(voci).string()));
        codice != 0)
        throw errore_file(cartella, sistema.motivo(codice) + std::string(in_sospeso));
    // A record that stays is finished again by the next run, which then finds nothing to do;
    // the removal is tried twice all the same, so that a run that succeeds leaves none.
    int codice = sistema.rimuovi(registro);
    if (codice != 0 && !sistema.non_trovato(codice))
        codice = sistema.rimuovi(registro);
    if (codice != 0 && !sistema.non_trovato(codice))
        throw errore_file(cartella / registro, sistema.motivo(codice) + std::string(in_sospeso));
}

insieme_file::insieme_file(cartella_bloccata& cartella) : cartella_(cartella) {}

insieme_file::~insieme_file() {
    if (confermato_)
        return;
    for (const voce_registro& voce : voci_)
        if (!voce.temporaneo.empty())
            abbandona_temporaneo(*cartella_.sistema_,
                                 cartella_.sistema_->nome_di_sistema(voce.temporaneo));
}

std::filesystem::path insieme_file::percorso(const std::string& nome) const {
    return cartella_.percorso(nome);
}

void insieme_file::sostituisci(const std::string& nome, const scrittura_file& scrivi,
                               persistenza durata) {
    if (!nome_registrabile(nome))
        throw errore_file(percorso(nome), "nome di file non valido");
    primitive_file& sistema = *cartella_.sistema_;
    const std::filesystem::path temporaneo =
        scrivi_temporaneo(sistema, nome, percorso(nome), cartella_.progressivo_, scrivi, durata);
    voci_.push_back({nome, sistema.testo_del_nome(temporaneo)});
}

void insieme_file::cancella(const std::string& nome) {
    if (!nome_rimovibile(nome))
        throw errore_file(percorso(nome), "nome di file non valido");
    voci_.push_back({nome, {}});
}

void insieme_file::conferma() {
    confermato_ = true;
    conferma_insieme(*cartella_.sistema_, cartella_.cartella(), voci_, cartella_.progressivo_);
}

} // namespace corvenna
