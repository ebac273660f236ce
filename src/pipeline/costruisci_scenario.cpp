#include "pipeline/costruisci_scenario.hpp"

#include "compiler/memorizza_dati.hpp"
#include "compiler/registro_compilazione.hpp"
#include "finishing/codici_gara.hpp"
#include "finishing/rifinitura.hpp"
#include "finishing/timbro_intestazione.hpp"
#include "model/codici_errore.hpp"

#include <cstddef>
#include <string>
#include <utility>

namespace corvenna {

namespace {

std::string metri_cella(std::int32_t cella) {
    return std::to_string(static_cast<std::int64_t>(cella) * 50) + " m";
}

// Turns what the finishing pass reports into diagnostics at the description lines that placed
// the features concerned.
class rapporto_rifinitura final : public osservatore_rifinitura {
  public:
    explicit rapporto_rifinitura(registro_compilazione& reg) : reg_(reg) {}

    void errore(std::int32_t codice_errore, std::int32_t cella, std::int32_t elemento) override {
        const elemento_descritto* e = reg_.autore(elemento);
        const std::string a = " a " + (e ? std::to_string(e->metri) + " m" : metri_cella(elemento));
        std::string messaggio;
        switch (codice_errore) {
        case codice::abbattimento_segnale:
            messaggio = "nessuna cella libera per l'abbattimento davanti al segnale" + a +
                        ", che precede l'avviso di un rallentamento";
            break;
        case codice::abbattimento_fasce:
            messaggio =
                "nessuna cella libera in una fascia di abbattimento prima del rallentamento" + a;
            break;
        default:
            messaggio = "nessuna cella libera per un abbattimento del rallentamento" + a +
                        ", intorno a " + metri_cella(cella);
            break;
        }
        const auto metri = static_cast<std::int32_t>(static_cast<std::int64_t>(cella) * 50);
        if (e)
            reg_.errore(e->file, e->posto, codice_errore, std::move(messaggio), metri);
        else
            reg_.errore_generale(codice_errore, std::move(messaggio));
    }

    void marcatore_sostituito(std::int32_t cella, std::int32_t elemento) override {
        const elemento_descritto* e = reg_.autore(elemento);
        if (e == nullptr)
            return;
        reg_.avviso(*e, tipo_avviso::marcatore_galleria_sostituito,
                    "l'abbattimento che " + e->cosa + " a " + std::to_string(e->metri) +
                        " m richiede prende, a " + metri_cella(cella) +
                        ", il posto di un marcatore di galleria di " +
                        nomina(reg_.autore(cella), e->file));
    }

    void valore_ridotto(std::int32_t cella, std::int16_t prima, std::int32_t elemento) override {
        const elemento_descritto* a = reg_.autore(cella);
        if (a == nullptr)
            return;
        reg_.avviso(*a, tipo_avviso::abbattimento_ridotto,
                    "il valore " + std::to_string(prima) + " dell'abbattimento a " +
                        std::to_string(a->metri) + " m e' ridotto a 180 per " +
                        nomina(reg_.autore(elemento), a->file));
    }

  private:
    registro_compilazione& reg_;
};

// A failed header check: cell 1 (or item 85) already holds what the stamp or the codes need.
void segnala_intestazione(registro_compilazione& reg, int errore) {
    const std::string campo = errore == codice::timbro_occupato ? "dato1" : "dato2";
    std::string messaggio = "la cella 1 (da 50 a 100 m) ha gia' un valore in " + campo +
                            ": l'intestazione dello scenario non vi si scrive";
    if (const elemento_descritto* e = reg.autore(1))
        reg.errore(e->file, e->posto, errore, std::move(messaggio) + " (" + e->cosa + " vi sta)",
                   e->metri);
    else
        reg.errore_generale(errore, std::move(messaggio));
}

int costruisci(costruzione& c, sorgente_descrizioni& sorgente, registro_compilazione& reg) {
    c.codice_errore = 0;
    for (voce& v : c.voci)
        v = voce{};

    memorizza_dati(c, sorgente, reg);
    if (!c.celle_create())
        return 0;

    rapporto_rifinitura rapporto(reg);
    rifinitura(c, &rapporto);
    if (const int errore = timbra_intestazione(c); errore != 0) {
        segnala_intestazione(reg, errore);
        return errore;
    }
    c.voci[voce_scenario].orario = codice_gara_st(c);
    c.celle[1].dato2 = codice_gara_og(c);
    return 0;
}

riga_descrizione riga_di(const elemento_descritto& e) {
    return {e.file, e.posto.riga};
}

righe_sorgente righe_registrate(const costruzione& c, const registro_compilazione& reg) {
    righe_sorgente r;
    r.celle.resize(c.celle.size());
    for (std::size_t k = 0; k < r.celle.size(); ++k)
        if (const elemento_descritto* e = reg.autore(static_cast<std::int64_t>(k)))
            r.celle[k] = riga_di(*e);
    for (std::int32_t n = 1; const elemento_descritto* e = reg.autore_voce(n); ++n)
        r.stazioni.push_back(riga_di(*e));
    for (std::int32_t n = 1; const elemento_descritto* e = reg.autore_montagna(n); ++n)
        r.montagne.push_back({e->metri, riga_di(*e)});
    for (const registro_compilazione::curva_descritta& k : reg.curve())
        r.curve.push_back({k.inizio, {descrizione::linea, k.posto.riga}});
    return r;
}

} // namespace

int costruisci(costruzione& c, sorgente_descrizioni& sorgente) {
    registro_compilazione reg;
    return costruisci(c, sorgente, reg);
}

int costruisci(costruzione& c, sorgente_descrizioni& sorgente, elenco_diagnostiche& diagnostiche) {
    registro_compilazione reg;
    const int errore = costruisci(c, sorgente, reg);
    diagnostiche = std::move(reg.diagnostiche);
    return errore;
}

scenario_costruito costruisci_scenario(sorgente_descrizioni& sorgente,
                                       const identita_scenario& identita,
                                       std::int32_t genera_planimetria,
                                       punti_della_planimetria punti) {
    scenario_costruito s;
    s.c.nome_scenario = identita.nome_scenario;
    s.c.numero_treno = identita.numero_treno;
    s.c.genera_planimetria = genera_planimetria;
    s.c.punti_planimetria = punti == punti_della_planimetria::calcolati;
    registro_compilazione reg;
    s.errore_intestazione = costruisci(s.c, sorgente, reg);
    s.diagnostiche = std::move(reg.diagnostiche);
    s.righe = righe_registrate(s.c, reg);
    return s;
}

} // namespace corvenna
