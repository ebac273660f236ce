#include "tool/comando_importa.hpp"

#include "base/codifica_1252.hpp"
#include "base/stato_uscita.hpp"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#ifdef GENERA_IMPORTA
#include "format/nomi_file.hpp"
#include "importer/importa_mappa.hpp"
#include "model/costruzione.hpp"
#include "pipeline/costruisci_scenario.hpp"
#include "platform/cartella_bloccata.hpp"
#include "platform/file_regolare.hpp"
#include "platform/insieme_file.hpp"
#include "tool/identita_da_nomi.hpp"
#include "tool/stampa_diagnostiche.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>
#endif

namespace corvenna {

#ifdef GENERA_IMPORTA

namespace {

// The format from the file name's ending.
std::optional<formato_mappa> formato_di(const std::filesystem::path& mappa) {
    std::string nome = mappa.filename().string();
    std::transform(nome.begin(), nome.end(), nome.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    auto finisce = [&](std::string_view fine) {
        return nome.size() >= fine.size() &&
               nome.compare(nome.size() - fine.size(), fine.size(), fine) == 0;
    };
    if (finisce(".gpx"))
        return formato_mappa::gpx;
    if (finisce(".geojson") || finisce(".json"))
        return formato_mappa::geojson;
    if (finisce(".osm.pbf") || finisce(".pbf"))
        return formato_mappa::osm_pbf;
    if (finisce(".osm") || finisce(".xml"))
        return formato_mappa::osm_xml;
    return std::nullopt;
}

// Map text (UTF-8) made safe for a terminal: control bytes shown as "\x1b".
std::string mostrabile(std::string_view testo) {
    std::string esito;
    for (const char c : testo) {
        const auto b = static_cast<unsigned char>(c);
        if ((b < 0x20 && b != '\t') || b == 0x7F)
            aggiungi_byte_escapato(esito, b);
        else
            esito += c;
    }
    return esito;
}

// The scenario name a map's file name suggests: its first part, up to the first dot, with a
// capital first letter.
std::string nome_da_mappa(const std::filesystem::path& mappa) {
    std::string nome = mappa.filename().string();
    nome = nome.substr(0, nome.find('.'));
    if (!nome.empty())
        nome[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(nome[0])));
    return nome;
}

std::string cifre(double valore, int decimali) {
    char testo[64];
    std::snprintf(testo, sizeof testo, "%.*f", decimali, valore);
    return testo;
}

// Largest map file read: well beyond a 1000 km path, and a bound on what a mistaken argument
// (a disk image) would make the tool hold.
constexpr std::size_t mappa_massima = std::size_t{1} << 31;

} // namespace

int esegui_importa(const richiesta_importa& r, std::ostream& uscita, std::ostream& errori) {
    const std::string mappa_mostrata = mostrabile(r.mappa.string());
    auto uso = [&](const std::string& messaggio) {
        errori << "scenario: " << messaggio << "\nPer l'aiuto: scenario --help\n";
        return stato_uscita::uso_errato;
    };
    const auto formato = formato_di(r.mappa);
    if (!formato)
        return uso(mappa_mostrata + ": formato sconosciuto: la mappa deve finire in .gpx, "
                                    ".geojson, .json, .osm o .osm.pbf");
    if (r.da.empty() != r.a.empty())
        return uso("--da e --a vanno indicate insieme");
    if (!r.da.empty() && (*formato == formato_mappa::gpx || *formato == formato_mappa::geojson))
        return uso("--da e --a valgono solo per le mappe .osm e .osm.pbf");
    const identita_scenario identita{r.nome.empty() ? nome_da_mappa(r.mappa) : r.nome, r.treno};
    if (const auto motivo = identita_non_valida(identita))
        return uso(*motivo);

    if (r.tolleranza && !(*r.tolleranza > 0 && *r.tolleranza <= 100))
        return uso("--tolleranza vuole metri fra 0 e 100");

    const std::string byte = leggi_file_regolare(r.mappa, mappa_massima);
    const std::string quota_mostrata = mostrabile(r.quota.string());
    std::string raster;
    richiesta_importazione richiesta{*formato, byte, std::nullopt, r.da, r.a, {}, {}};
    if (!r.quota.empty()) {
        raster = leggi_file_regolare(r.quota, mappa_massima);
        richiesta.raster = raster;
    }
    richiesta.regole.tolleranza = r.tolleranza;
    richiesta.regole.consenti = r.consenti;
    const esito_importazione esito = importa_mappa(richiesta);
    auto file_mostrato = [&](file_importazione f) {
        return f == file_importazione::raster ? quota_mostrata : mappa_mostrata;
    };
    if (esito.errore) {
        errori << "scenario: " << file_mostrato(esito.errore->file) << ": "
               << mostrabile(esito.errore->dove)
               << ": errore: " << mostrabile(esito.errore->messaggio) << '\n';
        return stato_uscita::file_danneggiato;
    }
    const importazione& importata = *esito.importata;
    const geometria_importata& geometria = importata.geometria;
    const descrizioni_importate& descrizioni = importata.descrizioni;

    // The descriptions must compile: a fault of the import is told here, not by the author's
    // first compile.
    sorgente_memoria sorgente;
    sorgente.testi[descrizione::linea] = descrizioni.linea;
    sorgente.testi[descrizione::treno] = descrizioni.treno;
    scenario_costruito prova = costruisci_scenario(sorgente, identita, 1);
    if (!prova.riuscito() || !prova.diagnostiche.empty()) {
        const bool riuscito = prova.riuscito();
        elenco_diagnostiche d = completa_diagnostiche(prova);
        file_mostrati mostrati{
            {descrizione::linea, {"(linea importata)", da_1252(descrizioni.linea)}},
            {descrizione::treno, {"(treno importato)", da_1252(descrizioni.treno)}}};
        stampa_diagnostiche(d, mostrati, forma_diagnostiche::testo, uscita, errori);
        if (!riuscito) {
            errori << "scenario: " << mappa_mostrata
                   << ": errore: le descrizioni importate non si compilano: nulla e' stato "
                      "scritto\n";
            return stato_uscita::file_danneggiato;
        }
    }

    for (const nota_file& n : importata.note)
        errori << "scenario: " << file_mostrato(n.file) << ": " << mostrabile(n.nota.elemento)
               << ": avviso: " << mostrabile(n.nota.messaggio) << '\n';

    costruzione c;
    c.nome_scenario = identita.nome_scenario;
    c.numero_treno = identita.numero_treno;
    const std::vector<std::string> nomi{nome_file(c, file_uscita::descrizione_linea),
                                        nome_file(c, file_uscita::descrizione_treno)};
    std::filesystem::create_directories(r.cartella);
    cartella_bloccata cartella(r.cartella);
    cartella.rimuovi_temporanei(nomi);
    if (!r.sovrascrivi) {
        std::string esistenti;
        for (const std::string& nome : nomi)
            if (cartella.esiste(nome))
                esistenti += (esistenti.empty() ? "" : ", ") + nome;
        if (!esistenti.empty()) {
            errori << "scenario: " << mostrabile(r.cartella.string())
                   << " contiene gia' le descrizioni (" << esistenti
                   << "): nulla e' stato scritto; per sostituirle: --sovrascrivi\n";
            return stato_uscita::uso_errato;
        }
    }
    insieme_file insieme(cartella);
    insieme.sostituisci(
        nomi[0], [&](std::ostream& o) { o << descrizioni.linea; }, persistenza::durevole);
    insieme.sostituisci(
        nomi[1], [&](std::ostream& o) { o << descrizioni.treno; }, persistenza::durevole);
    insieme.conferma();
    cartella.sincronizza();

    uscita << "importata " << mappa_mostrata << ": percorso di " << geometria.lunghezza << " m, "
           << descrizioni.stazioni << " stazioni, " << geometria.curve.size() << " curve, "
           << geometria.pendenze.size() << " pendenze, " << descrizioni.passaggi_livello
           << " passaggi a livello, " << descrizioni.gallerie << " gallerie, "
           << descrizioni.limiti_velocita << " limiti di velocita'\n";
    uscita << "planimetria: scarto massimo " << cifre(geometria.scarto_planimetria_massimo, 2)
           << " m, medio " << cifre(geometria.scarto_planimetria_medio, 2) << " m\n";
    if (!r.quota.empty())
        uscita << "quote: " << importata.punti_dal_raster << " punti su "
               << importata.mappa.percorso.size() << " dal raster " << quota_mostrata << '\n';
    if (geometria.scarto_quota_massimo)
        uscita << "profilo: scarto massimo " << cifre(*geometria.scarto_quota_massimo, 2)
               << " m, medio " << cifre(geometria.scarto_quota_medio.value_or(0), 2) << " m\n";
    else
        uscita << "profilo: piano (la mappa non da' quote)\n";
    uscita << "rumore stimato: planimetria " << cifre(geometria.rumore_planimetria, 2) << " m";
    if (geometria.rumore_quote)
        uscita << ", quote " << cifre(*geometria.rumore_quote, 2) << " m";
    uscita << "; curve tenute entro " << cifre(geometria.tolleranza, 2) << " m"
           << (r.tolleranza ? " (--tolleranza)" : "") << '\n';
    uscita << "scritte: " << mostrabile(cartella.percorso(nomi[0]).string()) << ", "
           << mostrabile(cartella.percorso(nomi[1]).string()) << '\n';
    return stato_uscita::riuscito;
}

#else

int esegui_importa(const richiesta_importa&, std::ostream&, std::ostream& errori) {
    errori << "scenario: importa non e' disponibile in questa versione del programma (costruita "
              "senza le librerie delle mappe)\nPer l'aiuto: scenario --help\n";
    return stato_uscita::uso_errato;
}

#endif

void aggiungi_importa(CLI::App& app, azione_comando& azione) {
    auto r = std::make_shared<richiesta_importa>();
    CLI::App* sub = app.add_subcommand(
        "importa", "scrive la descrizione della linea e lo schema del treno da una mappa (GPX, "
                   "GeoJSON, .osm, .osm.pbf)");
    sub->add_option("MAPPA", r->mappa, "file della mappa")->required();
    sub->add_option("-o", r->cartella, "cartella in cui scrivere le descrizioni (predefinita: .)");
    sub->add_option("--nome", r->nome, "nome dello scenario (predefinito: dal nome della mappa)");
    sub->add_option("--treno", r->treno, "numero del treno, quattro cifre (predefinito: 0001)");
    sub->add_option("--quota", r->quota,
                    "raster GeoTIFF delle quote, che prendono il posto di quelle della mappa");
    sub->add_option("--da", r->da, "stazione di partenza (mappe .osm e .osm.pbf)");
    sub->add_option("--a", r->a, "stazione di arrivo (mappe .osm e .osm.pbf)");
    sub->add_option(
        "--tolleranza", r->tolleranza,
        "metri entro cui le classi di curva seguono il tracciato adattato (predefinita: "
        "dal rumore della traccia); piu' larga, meno righe");
    sub->add_flag("--consenti", r->consenti,
                  "importa anche un percorso che torna indietro o che l'adattamento non segue, "
                  "con un avviso invece di un errore");
    sub->add_flag("--sovrascrivi", r->sovrascrivi,
                  "sostituisce le descrizioni di quel nome gia' presenti nella cartella");
    sub->callback(
        [r, &azione] { azione = [r] { return esegui_importa(*r, std::cout, std::cerr); }; });
}

} // namespace corvenna
