#include "tool/comando_lsp.hpp"

#include "base/codifica_1252.hpp"
#include "base/errore_file.hpp"
#include "checking/controllo_descrizioni.hpp"
#include "checking/politica_avvisi.hpp"
#include "editor/cornice_messaggi.hpp"
#include "editor/server_lsp.hpp"
#include "input/chilometri_guida.hpp"
#include "inspect/ispezione_tratti.hpp"
#include "pipeline/costruisci_scenario.hpp"
#include "platform/flusso_standard.hpp"
#include "running/diagnostiche_marcia.hpp"
#include "tool/comando_marcia.hpp"
#include "tool/ingresso_descrizione.hpp"
#include "tool/stampa_diagnostiche.hpp"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

namespace corvenna {

struct diagnosi_controlla::compilata {
    // The texts as the editor gave them, to know the pair again.
    std::string linea_data;
    std::string treno_dato;
    identita_scenario identita;
    // As converted, for the checking pass.
    std::string linea;
    std::string treno;
    std::unique_ptr<scenario_costruito> scenario;
    // Made at the first hover.
    std::optional<ispezione> tratti;
};

diagnosi_controlla::diagnosi_controlla() = default;
diagnosi_controlla::~diagnosi_controlla() = default;

elenco_diagnostiche diagnosi_controlla::compila(const testi_scenario& testi) {
    ultima_.reset();
    elenco_diagnostiche conversione;
    sorgente_memoria sorgente;
    for (const descrizione d : {descrizione::linea, descrizione::treno}) {
        testo_convertito t = testo_in_1252(d == descrizione::linea ? testi.linea : testi.treno);
        if (auto errore = diagnostica_conversione(t, d))
            conversione.push_back(std::move(*errore));
        sorgente.testi[d] = std::move(t.testo);
    }
    // A text that could not be converted is not compiled: its bytes would not be the author's.
    if (!conversione.empty())
        return conversione;
    auto c = std::make_unique<compilata>();
    c->linea_data = testi.linea;
    c->treno_dato = testi.treno;
    c->identita = testi.identita;
    // Kept apart: the compile deletes each description from its source once read.
    c->linea = sorgente.testi[descrizione::linea];
    c->treno = sorgente.testi[descrizione::treno];
    // Curves are checked as `controlla` checks them; the plan view's points, which no answer of
    // the server reads, are not computed: on a long line they are most of the build's time.
    c->scenario = std::make_unique<scenario_costruito>(
        costruisci_scenario(sorgente, testi.identita, 1, punti_della_planimetria::tralasciati));
    ultima_ = std::move(c);
    return {};
}

elenco_diagnostiche diagnosi_controlla::esamina(const testi_scenario& testi) {
    elenco_diagnostiche conversione = compila(testi);
    if (!ultima_)
        return conversione;
    // What `controlla` says under its defaults: the checking pass over the compile's own
    // diagnostics, then the tool's judgement of which kinds are errors.
    elenco_diagnostiche diagnostiche = controlla_descrizioni(
        ultima_->linea, ultima_->treno, 1, completa_diagnostiche(*ultima_->scenario));
    // The dry run's checks, as `controlla --modello` adds them; a model the client set that
    // cannot be had leaves the lower bound alone.
    std::string motivo;
    elenco_diagnostiche marcia;
    try {
        marcia = diagnostiche_di_marcia(modello_, *ultima_->scenario, ultima_->linea,
                                        ultima_->treno, motivo);
    } catch (const errore_file&) {
        motivo = modello_;
    }
    if (!motivo.empty())
        marcia =
            diagnostiche_di_marcia({}, *ultima_->scenario, ultima_->linea, ultima_->treno, motivo);
    aggiungi_in_ordine(diagnostiche, std::move(marcia));
    applica_politica(diagnostiche, politica_avvisi{});
    return diagnostiche;
}

const ispezione* diagnosi_controlla::tratti_di(const testi_scenario& testi) {
    const bool stessa = ultima_ && ultima_->linea_data == testi.linea &&
                        ultima_->treno_dato == testi.treno &&
                        ultima_->identita.nome_scenario == testi.identita.nome_scenario &&
                        ultima_->identita.numero_treno == testi.identita.numero_treno;
    if (!stessa)
        compila(testi);
    // A compile that stopped leaves a model no one should read as the scenario.
    if (!ultima_ || !ultima_->scenario->riuscito())
        return nullptr;
    if (!ultima_->tratti)
        ultima_->tratti = ispeziona_tratti(ultima_->scenario->c);
    return &*ultima_->tratti;
}

std::string diagnosi_controlla::descrivi_metro(const testi_scenario& testi, long long metro) {
    const ispezione* i = tratti_di(testi);
    if (!i)
        return {};
    const auto k = tratto_al_metro(*i, static_cast<double>(metro));
    return k ? da_1252(riga_tratto(i->tratti[*k], i->sistemi)) : std::string();
}

std::string diagnosi_controlla::chilometro(const testi_scenario& testi, long long metro) {
    const ispezione* i = tratti_di(testi);
    if (!i || metro < 0 || metro > static_cast<long long>(50 * i->tratti.size()))
        return {};
    return "km " + testo_progressiva(progressiva_al_metro(i->sistemi, static_cast<double>(metro)));
}

std::string diagnosi_controlla::marcia_riga(const testi_scenario& testi, descrizione d, int riga) {
    // The pair compiled as for the other hovers.
    if (!tratti_di(testi))
        return {};
    const costruzione& c = ultima_->scenario->c;
    std::optional<modello_treno> modello;
    if (!modello_.empty()) {
        std::string motivo;
        try {
            modello = modello_da_opzione(modello_, c, motivo);
        } catch (const errore_file&) {
        }
    }
    if (!modello)
        modello = modello_predefinito(c);
    return da_1252(testo_marcia_riga(*ultima_->scenario, *modello, d, riga));
}

std::optional<std::string> accesso_disco::leggi(const std::string& percorso) {
    try {
        return leggi_file_intero(std::filesystem::u8path(percorso));
    } catch (const errore_file&) {
        return std::nullopt;
    }
}

std::vector<std::string> accesso_disco::elenca(const std::string& cartella) {
    std::vector<std::string> nomi;
    std::error_code e;
    for (std::filesystem::directory_iterator i(std::filesystem::u8path(cartella), e), fine;
         !e && i != fine; i.increment(e)) {
        const std::u8string nome = i->path().filename().u8string();
        nomi.emplace_back(nome.begin(), nome.end());
    }
    return nomi;
}

int esegui_lsp() {
    piattaforma::flussi_standard_binari();
    diagnosi_controlla diagnosi;
    accesso_disco disco;
    server_lsp server(diagnosi, disco);
    lettore_cornici cornici;
    std::string blocco(1 << 16, '\0');
    const auto invia = [](const std::vector<nlohmann::json>& messaggi) {
        for (const nlohmann::json& m : messaggi)
            if (!piattaforma::scrivi_uscita_standard(
                    incornicia(m.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace))))
                return false;
        return true;
    };
    while (!server.finito()) {
        while (auto c = cornici.prossima()) {
            if (!c->errore.empty())
                std::cerr << "scenario lsp: messaggio scartato: " << c->errore << std::endl;
            if (!invia(c->errore.empty() ? server.ricevi_testo(c->corpo)
                                         : server.errore_cornice(c->errore)))
                return 1;
            if (server.finito())
                break;
        }
        if (server.finito())
            break;
        const std::size_t letti =
            piattaforma::leggi_ingresso_standard(blocco.data(), blocco.size());
        if (letti == 0)
            break;
        cornici.aggiungi(std::string_view(blocco.data(), letti));
    }
    // The input ended without "exit": the editor is gone.
    return server.finito() ? server.stato_uscita() : 1;
}

void aggiungi_lsp(CLI::App& app, azione_comando& azione) {
    CLI::App* sub = app.add_subcommand(
        "lsp", "server del protocollo dei linguaggi (LSP) per gli editor, su stdin e stdout");
    sub->callback([&azione] { azione = [] { return esegui_lsp(); }; });
}

} // namespace corvenna
