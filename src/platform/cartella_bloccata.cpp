// The locked directory of a run, the same on every system: the replacement by a temporary, the
// removal of what interrupted runs left, reading and deleting. The system's calls themselves are
// the primitives of cartella_bloccata_posix.cpp or cartella_bloccata_windows.cpp.

#include "platform/cartella_bloccata.hpp"

#include "base/errore_file.hpp"
#include "platform/flusso_file.hpp"
#include "platform/insieme_file.hpp"
#include "platform/nomi_temporanei.hpp"
#include "platform/primitive_file.hpp"

#include <exception>
#include <ostream>
#include <vector>

namespace corvenna {

namespace {

void verifica_nome(const std::string& nome, const std::filesystem::path& percorso) {
    if (!nome_semplice(nome))
        throw errore_file(percorso, "nome di file non valido");
}

} // namespace

std::filesystem::path scrivi_temporaneo(primitive_file& sistema, const std::string& nome,
                                        const std::filesystem::path& destinazione,
                                        unsigned& progressivo, const scrittura_file& scrivi,
                                        persistenza durata) {
    // Created exclusively and never through a link: a name already taken, by anything, is
    // skipped for the next one.
    std::filesystem::path temporaneo;
    maniglia_file file{};
    {
        const segnali_trattenuti trattenuti(sistema);
        constexpr int tentativi = 100;
        for (int tentativo = 1;; ++tentativo) {
            temporaneo =
                sistema.nome_di_sistema(nome_temporaneo(nome, sistema.processo(), progressivo++));
            const int codice = sistema.crea_esclusivo(temporaneo, file);
            if (codice == 0)
                break;
            if (!sistema.da_ritentare(codice) || tentativo == tentativi)
                throw errore_file(destinazione, sistema.motivo(codice));
        }
        sistema.segna_temporaneo(temporaneo);
    }
    auto abbandona = [&] { abbandona_temporaneo(sistema, temporaneo); };

    std::string motivo;
    {
        flusso_file buffer([&sistema, file](const char* dati, std::size_t quanti) {
            return sistema.scrivi(file, dati, quanti);
        });
        std::ostream uscita(&buffer);
        try {
            scrivi(uscita);
            uscita.flush();
        } catch (const errore_file&) {
            sistema.chiudi(file);
            abbandona();
            throw;
        } catch (const std::exception& e) {
            motivo = e.what();
        }
        if (motivo.empty() && !uscita)
            motivo = buffer.errore() != 0 ? sistema.motivo(buffer.errore()) : "scrittura fallita";
    }
    if (motivo.empty() && durata == persistenza::durevole) {
        if (const int codice = sistema.svuota(file); codice != 0)
            motivo = sistema.motivo(codice);
    }
    // Some file systems report a failed write only when the file closes.
    if (const int codice = sistema.chiudi(file); codice != 0 && motivo.empty())
        motivo = sistema.motivo(codice);
    if (!motivo.empty()) {
        abbandona();
        throw errore_file(destinazione, motivo);
    }
    return temporaneo;
}

void abbandona_temporaneo(primitive_file& sistema, const std::filesystem::path& temporaneo) {
    const segnali_trattenuti trattenuti(sistema);
    sistema.rimuovi(temporaneo);
    sistema.dimentica_temporaneo(temporaneo);
}

void sostituisci_file(primitive_file& sistema, const std::string& nome,
                      const std::filesystem::path& destinazione, unsigned& progressivo,
                      const scrittura_file& scrivi, persistenza durata) {
    const std::filesystem::path temporaneo =
        scrivi_temporaneo(sistema, nome, destinazione, progressivo, scrivi, durata);
    int codice = 0;
    {
        const segnali_trattenuti trattenuti(sistema);
        codice = sistema.rinomina(temporaneo, sistema.nome_di_sistema(nome), durata);
        if (codice != 0)
            sistema.rimuovi(temporaneo);
        sistema.dimentica_temporaneo(temporaneo);
    }
    if (codice != 0)
        throw errore_file(destinazione, sistema.motivo(codice));
}

cartella_bloccata::cartella_bloccata(const std::filesystem::path& cartella)
    : cartella_(cartella), sistema_(apri_primitive_file(cartella)) {
    // Should the lock fail, sistema_ closes the directory as the exception leaves.
    blocco_ = std::make_unique<blocco_cartella>(cartella, sistema_->maniglia());
    sistema_->prepara_segnali();
    sostituzione_completata_ = completa_sostituzione(*sistema_, cartella_);
}

cartella_bloccata::~cartella_bloccata() {
    try {
        sincronizza();
    } catch (const errore_file&) {
        // Reported only where the run asks for it; here the run is already failing.
    }
    blocco_.reset();
    sistema_.reset();
}

std::filesystem::path cartella_bloccata::percorso(const std::string& nome) const {
    return cartella_ / sistema_->nome_di_sistema(nome);
}

void cartella_bloccata::sostituisci(const std::string& nome, const scrittura_file& scrivi,
                                    persistenza durata) {
    const std::filesystem::path destinazione = percorso(nome);
    verifica_nome(nome, destinazione);
    sostituisci_file(*sistema_, nome, destinazione, progressivo_, scrivi, durata);
    if (durata == persistenza::durevole) {
        da_sincronizzare_ = true;
        ultimo_durevole_ = nome;
    }
}

void cartella_bloccata::sincronizza() {
    if (!da_sincronizzare_)
        return;
    da_sincronizzare_ = false;
    const int codice = sistema_->sincronizza_cartella(sistema_->nome_di_sistema(ultimo_durevole_));
    if (codice != 0)
        throw errore_file(cartella_, sistema_->motivo(codice));
}

void cartella_bloccata::rimuovi_temporanei(std::span<const std::string> nomi) {
    std::vector<std::filesystem::path> residui;
    for (const std::filesystem::path& voce : sistema_->elenca()) {
        const std::string testo = sistema_->testo_del_nome(voce);
        bool residuo = temporaneo_di(testo, nome_registro);
        for (const std::string& nome : nomi)
            residuo = residuo || temporaneo_di(testo, nome);
        if (residuo)
            residui.push_back(voce);
    }
    // A directory of such a name is not ours and stays (its removal fails).
    for (const std::filesystem::path& residuo : residui)
        sistema_->rimuovi(residuo);
}

bool cartella_bloccata::esiste(const std::string& nome) const {
    verifica_nome(nome, percorso(nome));
    const int codice = sistema_->cerca(sistema_->nome_di_sistema(nome));
    if (codice == 0)
        return true;
    if (sistema_->non_trovato(codice))
        return false;
    throw errore_file(percorso(nome), sistema_->motivo(codice));
}

std::optional<std::string> cartella_bloccata::leggi(const std::string& nome) const {
    verifica_nome(nome, percorso(nome));
    maniglia_file file{};
    if (const int codice = sistema_->apri_in_lettura(sistema_->nome_di_sistema(nome), file);
        codice != 0) {
        if (sistema_->non_trovato(codice))
            return std::nullopt;
        throw errore_file(percorso(nome), sistema_->motivo(codice));
    }
    std::string testo;
    std::vector<char> blocco(std::size_t{1} << 16);
    for (;;) {
        std::size_t letti = 0;
        if (const int codice = sistema_->leggi(file, blocco.data(), blocco.size(), letti);
            codice != 0) {
            sistema_->chiudi(file);
            throw errore_file(percorso(nome), sistema_->motivo(codice));
        }
        if (letti == 0)
            break;
        testo.append(blocco.data(), letti);
    }
    sistema_->chiudi(file);
    return testo;
}

void cartella_bloccata::cancella(const std::string& nome) {
    verifica_nome(nome, percorso(nome));
    const int codice = sistema_->rimuovi(sistema_->nome_di_sistema(nome));
    if (codice != 0 && !sistema_->non_trovato(codice))
        throw errore_file(percorso(nome), sistema_->motivo(codice));
}

} // namespace corvenna
