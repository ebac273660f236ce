#include "checking/ripresa_compilazione.hpp"

#include "checking/righe_testo.hpp"
#include "compiler/memorizza_dati.hpp"
#include "compiler/registro_compilazione.hpp"
#include "compiler/sorgente_descrizioni.hpp"
#include "model/costruzione.hpp"

#include <algorithm>
#include <array>
#include <memory>
#include <tuple>
#include <vector>

namespace corvenna {

namespace {

// Enough for every fault of a description an author is working on; a file of junk stops here.
constexpr int massimo_ripetizioni = 40;

using chiave = std::tuple<int, int, int, std::int32_t, int>;

chiave chiave_di(const diagnostica& d) {
    return {d.file ? static_cast<int>(*d.file) : -1, d.riga, d.colonna, d.codice,
            d.tipo ? static_cast<int>(*d.tipo) : -1};
}

struct testo_in_ripresa {
    std::string testo;
    std::set<int> tolte;

    void togli(int riga) {
        if (!tolte.insert(riga).second)
            return;
        testo = senza_riga(testo, righe_di(testo), riga);
    }
};

} // namespace

bool stessa_diagnostica(const diagnostica& a, const diagnostica& b) {
    return chiave_di(a) == chiave_di(b);
}

elenco_diagnostiche riprendi_compilazione(const std::string& linea, const std::string& treno,
                                          std::int32_t genera_planimetria,
                                          const elenco_diagnostiche& prima,
                                          const std::map<descrizione, std::set<int>>& righe_guaste,
                                          std::optional<std::int32_t> lunghezza_percorso) {
    elenco_diagnostiche nuove;
    const auto errore = [](const diagnostica& d) { return d.livello == gravita::errore; };
    if (std::none_of(prima.begin(), prima.end(), errore))
        return nuove;

    std::array<testo_in_ripresa, 2> testi{testo_in_ripresa{linea, {}}, testo_in_ripresa{treno, {}}};
    // A broken row stays as long as the runs read past it as the compile does: the errors it
    // causes further on are the compile's own, and are told. Once a run stops at or after it,
    // it goes with the error's row, so that the next run does not read it again.
    const auto togli_fino_a = [&](descrizione d, int riga) {
        testo_in_ripresa& t = testi[static_cast<std::size_t>(d)];
        t.togli(riga);
        const auto guaste = righe_guaste.find(d);
        if (guaste == righe_guaste.end())
            return;
        for (const int r : guaste->second)
            if (r <= riga)
                t.togli(r);
    };
    std::set<chiave> viste;
    for (const diagnostica& d : prima)
        viste.insert(chiave_di(d));
    bool linea_sostituita = false;

    elenco_diagnostiche ultime = prima;
    for (int giro = 0; giro < massimo_ripetizioni; ++giro) {
        bool tolta = false;
        bool senza_posto = false;
        for (const diagnostica& d : ultime) {
            if (!errore(d))
                continue;
            if (d.file && d.riga > 0 && !(linea_sostituita && *d.file == descrizione::linea) &&
                !testi[static_cast<std::size_t>(*d.file)].tolte.contains(d.riga)) {
                togli_fino_a(*d.file, d.riga);
                tolta = true;
            } else if (!d.file || d.riga == 0 || *d.file == descrizione::linea) {
                senza_posto = true;
            }
        }
        if (!tolta) {
            if (!senza_posto || linea_sostituita)
                break;
            // The line cannot be compiled: the train is checked against a bare line.
            linea_sostituita = true;
            testi[0].testo = "[generale]\r\nlunghezza percorso, " +
                             std::to_string(lunghezza_percorso.value_or(1000000)) +
                             "\r\n[fine]\r\n";
        }

        auto c = std::make_unique<costruzione>();
        c->nome_scenario = "Controllo";
        c->numero_treno = "0000";
        // A bare line has no curves: no plan view to build for it.
        c->genera_planimetria = linea_sostituita ? 0 : genera_planimetria;
        sorgente_memoria sorgente;
        sorgente.testi[descrizione::linea] = testi[0].testo;
        sorgente.testi[descrizione::treno] = testi[1].testo;
        registro_compilazione reg;
        memorizza_dati(*c, sorgente, reg);

        ultime = std::move(reg.diagnostiche);
        for (const diagnostica& d : ultime) {
            // A stop that only follows from an earlier error, which is reported already.
            if (d.tipo == tipo_avviso::compilazione_interrotta)
                continue;
            if (d.file && *d.file == descrizione::linea && linea_sostituita)
                continue;
            if (!d.file && d.livello == gravita::errore)
                continue;
            if (!viste.insert(chiave_di(d)).second)
                continue;
            nuove.push_back(d);
        }
        if (std::none_of(ultime.begin(), ultime.end(), errore))
            break;
    }
    return nuove;
}

} // namespace corvenna
