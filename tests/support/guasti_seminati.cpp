#include "support/guasti_seminati.hpp"

#include "checking/controllo_descrizioni.hpp"
#include "checking/politica_avvisi.hpp"
#include "compiler/sorgente_descrizioni.hpp"
#include "diagnostics/tipi_diagnostica.hpp"
#include "format/righe_documento.hpp"
#include "pipeline/costruisci_scenario.hpp"
#include "scenario/righe_linea.hpp"
#include "scenario/righe_treno.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <string_view>

namespace corvenna::prova {

namespace {

// The rows of a description table, up to its end marker.
template <typename Tabella>
std::vector<std::string> righe_di_tabella(const Tabella& t) {
    std::vector<std::string> righe;
    for (const std::string_view r : t) {
        if (r == fine_tabella)
            break;
        righe.emplace_back(r);
    }
    return righe;
}

std::string unisci(const std::vector<std::string>& righe) {
    std::string testo;
    for (const std::string& r : righe)
        testo += r + "\r\n";
    return testo;
}

// The column (from 1) of value `i` (0 the first after the keyword) of a row written as the
// template writes it, ", " between fields.
int colonna_valore(const std::string& riga, int i) {
    std::size_t p = riga.find(',');
    for (int n = 0; n < i; ++n)
        p = riga.find(',', p + 1);
    ++p;
    while (riga[p] == ' ')
        ++p;
    return static_cast<int>(p) + 1;
}

// The values of a template row.
std::vector<std::string> valori(const std::string& riga) {
    std::vector<std::string> v;
    std::size_t p = riga.find(',');
    while (p != std::string::npos) {
        const std::size_t q = riga.find(',', p + 1);
        std::string x = riga.substr(p + 1, q == std::string::npos ? std::string::npos : q - p - 1);
        x.erase(0, x.find_first_not_of(' '));
        v.push_back(x);
        p = q;
    }
    return v;
}

struct tipo_guasto {
    descrizione file;
    // Which rows it may go on.
    std::function<bool(const std::vector<std::string>&, std::size_t)> adatta;
    // Rewrites the row and says where the fault is; `k` numbers the faults of one file.
    std::function<guasto_seminato(std::string&, int k, std::int32_t lunghezza)> applica;
};

bool inizia(const std::string& r, std::string_view p) {
    return r.starts_with(p);
}

// Whether a station row has a time (a transit station has 0:0:0).
bool con_orario(const std::string& r) {
    const auto v = valori(r);
    return v.size() >= 16 && !(v[13] == "0" && v[14] == "0" && v[15] == "0");
}

const std::vector<tipo_guasto>& tipi() {
    using D = descrizione;
    static const std::vector<tipo_guasto> t{
        {D::linea, [](auto& r, std::size_t i) { return inizia(r[i], "pendenza,"); },
         [](std::string& r, int, std::int32_t) {
             r = "pendenza,  " + valori(r)[0] + ",  200";
             return guasto_seminato{D::linea, 0, colonna_valore(r, 1), "valore-avvolto"};
         }},
        {D::linea, [](auto& r, std::size_t i) { return inizia(r[i], "cartello_indicatore,"); },
         [](std::string& r, int k, std::int32_t lunghezza) {
             r = "cartello_indicatore,  " + std::to_string(lunghezza + 100 + 200 * k) + ",  OLTRE";
             return guasto_seminato{D::linea, 0, 23, "oltre-il-percorso"};
         }},
        {D::linea, [](auto& r, std::size_t i) { return inizia(r[i], "curva"); },
         [](std::string& r, int, std::int32_t) {
             r = "curva destra 1000" + r.substr(r.find(','));
             return guasto_seminato{D::linea, 0, 1, "lettere-fraintese"};
         }},
        {D::treno, [](auto& r, std::size_t i) { return inizia(r[i], "stazione,"); },
         [](std::string& r, int, std::int32_t) {
             r = "stazone" + r.substr(r.find(','));
             return guasto_seminato{D::treno, 0, 1, "elemento-perso"};
         }},
        {D::treno, [](auto& r, std::size_t i) { return inizia(r[i], "segnale,"); },
         [](std::string& r, int, std::int32_t) {
             r = "segnael" + r.substr(r.find(','));
             return guasto_seminato{D::treno, 0, 1, "elemento-perso"};
         }},
        {D::treno,
         [](auto& r, std::size_t i) {
             // A timed station after another timed one, neither next to another fault's row.
             if (!inizia(r[i], "stazione,") || !con_orario(r[i]))
                 return false;
             for (std::size_t j = i; j-- > 0;)
                 if (inizia(r[j], "stazione,") && con_orario(r[j]))
                     return true;
             return false;
         },
         [](std::string& r, int, std::int32_t) {
             const auto v = valori(r);
             const int ora = std::stoi(v[13]) - 1;
             const std::size_t inizio = static_cast<std::size_t>(colonna_valore(r, 13)) - 1;
             r = r.substr(0, inizio) + std::to_string(ora) + r.substr(inizio + v[13].size());
             return guasto_seminato{D::treno, 0, colonna_valore(r, 13), "orario-decrescente"};
         }},
        {D::treno, [](auto& r, std::size_t i) { return inizia(r[i], "aderenza,"); },
         [](std::string& r, int, std::int32_t) {
             r = "aderenza,  " + valori(r)[0] + ",  300";
             return guasto_seminato{D::treno, 0, colonna_valore(r, 1), "valore-avvolto"};
         }},
        {D::treno, [](auto& r, std::size_t i) { return inizia(r[i], "segnale,"); },
         [](std::string& r, int, std::int32_t) {
             r = r.substr(0, r.rfind(','));
             return guasto_seminato{D::treno, 0, static_cast<int>(r.size()) + 1,
                                    "valori-su-piu-righe", 2};
         }},
        {D::treno, [](auto& r, std::size_t i) { return inizia(r[i], "velocita,"); },
         [](std::string& r, int, std::int32_t) {
             std::replace(r.begin(), r.end(), ',', ';');
             return guasto_seminato{D::treno, 0, 9, "separatore-non-valido", 2};
         }},
        {D::treno,
         [](auto& r, std::size_t i) {
             return inizia(r[i], "[") && r[i] != "[generale]" && r[i] != "[fine]" &&
                    i + 1 < r.size() && !inizia(r[i + 1], "[");
         },
         [](std::string& r, int, std::int32_t) {
             r = "--- nota, stazione soppressa";
             return guasto_seminato{D::treno, 0, 11, "commento-con-virgola", 2};
         }},
    };
    return t;
}

// The rows of a description file, CR LF or LF.
std::vector<std::string> righe_di_file(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> righe;
    for (std::string r; std::getline(in, r);) {
        if (!r.empty() && r.back() == '\r')
            r.pop_back();
        righe.push_back(r);
    }
    return righe;
}

} // namespace

const base_semina& base_incorporata() {
    static const base_semina b{
        righe_di_tabella(righe_linea), righe_di_tabella(righe_treno), {"Corvenna", "7381"}, 88000};
    return b;
}

const base_semina& base_di_prova() {
    static const base_semina b{
        righe_di_file(std::filesystem::path(GENERA_DATI_PROVA) / "Prova_linea.txt"),
        righe_di_file(std::filesystem::path(GENERA_DATI_PROVA) / "Prova_0042-.txt"),
        {"Prova", "0042"},
        12000};
    return b;
}

descrizioni_seminate semina_guasti(std::uint32_t seme, int numero, const base_semina& base) {
    std::mt19937 caso(seme);
    std::vector<std::string> linea = base.linea;
    std::vector<std::string> treno = base.treno;
    // Rows already taken, and their neighbours, so that the faults stay independent.
    std::set<std::pair<descrizione, std::size_t>> prese;
    descrizioni_seminate s;
    bool orario_usato = false;
    for (int k = 0; k < numero;) {
        const std::size_t scelta = caso() % tipi().size();
        const tipo_guasto& t = tipi()[scelta];
        if (scelta == 5 && orario_usato)
            continue;
        std::vector<std::string>& righe = t.file == descrizione::linea ? linea : treno;
        std::vector<std::size_t> adatte;
        for (std::size_t i = 0; i < righe.size(); ++i)
            if (t.adatta(righe, i) && !prese.contains({t.file, i}))
                adatte.push_back(i);
        if (adatte.empty())
            continue;
        const std::size_t i = adatte[caso() % adatte.size()];
        guasto_seminato g = t.applica(righe[i], k, base.lunghezza);
        g.riga = static_cast<int>(i) + 1;
        for (std::size_t j = i > 1 ? i - 2 : 0; j <= i + 2; ++j)
            prese.insert({t.file, j});
        orario_usato = orario_usato || scelta == 5;
        s.guasti.push_back(g);
        ++k;
    }
    s.linea = unisci(linea);
    s.treno = unisci(treno);
    return s;
}

misura_controllo misura_guasti(int numero_file, std::uint32_t seme) {
    misura_controllo m;
    politica_avvisi politica;
    politica.consentiti.insert("marcatori-sovrascritti");
    std::mt19937 caso(seme);
    for (int f = 0; f < numero_file; ++f) {
        // Every other file from the fixture pair, the rest from the built-in scenario.
        const base_semina& base = f % 2 == 0 ? base_incorporata() : base_di_prova();
        const std::uint32_t seme_file = caso();
        const descrizioni_seminate s =
            semina_guasti(seme_file, 1 + static_cast<int>(caso() % 5), base);
        sorgente_memoria sorgente;
        sorgente.testi[descrizione::linea] = s.linea;
        sorgente.testi[descrizione::treno] = s.treno;
        auto costruito =
            std::make_unique<scenario_costruito>(costruisci_scenario(sorgente, base.identita, 1));
        const elenco_diagnostiche della_compilazione = costruito->diagnostiche;
        elenco_diagnostiche d =
            controlla_descrizioni(s.linea, s.treno, 1, std::move(costruito->diagnostiche));
        applica_politica(d, politica);

        ++m.file;
        m.guasti += static_cast<int>(s.guasti.size());
        for (const guasto_seminato& g : s.guasti)
            if (std::any_of(d.begin(), d.end(), [&](const diagnostica& x) {
                    const std::string_view nome =
                        x.tipo ? tipo_di(*x.tipo).nome : std::string_view();
                    return x.file == g.file && x.riga == g.riga && x.colonna == g.colonna &&
                           nome == g.nome;
                }))
                ++m.trovati;
        m.diagnostiche += static_cast<int>(d.size());
        for (const diagnostica& x : d)
            if (std::none_of(s.guasti.begin(), s.guasti.end(), [&](const guasto_seminato& g) {
                    return x.file == g.file && x.riga >= g.riga &&
                           x.riga < g.riga + g.righe_toccate;
                }))
                ++m.estranee;
        const auto primo =
            std::find_if(della_compilazione.begin(), della_compilazione.end(),
                         [](const diagnostica& x) { return x.livello == gravita::errore; });
        if (primo != della_compilazione.end()) {
            ++m.con_errore;
            if (std::any_of(d.begin(), d.end(), [&](const diagnostica& x) {
                    return x.codice == primo->codice && x.file == primo->file &&
                           x.riga == primo->riga && x.colonna == primo->colonna &&
                           x.metri == primo->metri;
                }))
                ++m.primo_errore_presente;
        }
    }
    return m;
}

} // namespace corvenna::prova
