#include "input/file_binari_letti.hpp"

#include "format/larghezze_campi.hpp"
#include "format/tracciato_record.hpp"
#include "input/lettore_binario.hpp"
#include "model/arrotonda.hpp"

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace corvenna {

namespace {

constexpr std::array<const char*, 2> nomi_assi = {"x", "y"};

std::string della_voce(std::size_t numero) {
    return " della voce " + std::to_string(numero);
}

// Reads a record field by its type, the mirror of the writers' field by field packing. An error
// names the field "il campo NOME della RECORD NUMERO" ("il campo fine della voce 12").
struct leggi_campo {
    lettore_binario& r;
    const char* record;
    std::size_t numero;

    // "campo NOME della RECORD NUMERO".
    std::string nome_campo(std::string_view nome) const {
        return "campo " + std::string(nome) + " della " + record + " " + std::to_string(numero);
    }
    std::string campo(std::string_view nome) const { return "il " + nome_campo(nome); }
    void operator()(std::string_view nome, std::uint8_t& valore) const {
        valore = r.byte([&] { return campo(nome); });
    }
    void operator()(std::string_view nome, std::int16_t& valore) const {
        valore = r.intero([&] { return campo(nome); });
    }
    void operator()(std::string_view nome, std::int32_t& valore) const {
        valore = r.lungo([&] { return campo(nome); });
    }
    // A text: a 2-byte length from 0 to 32767, then that many bytes.
    void operator()(std::string_view nome, std::string& testo) const {
        const std::size_t inizio = r.posizione();
        const std::int16_t lunghezza =
            r.intero([&] { return "la lunghezza del " + nome_campo(nome); });
        if (lunghezza < 0)
            r.fallisci(inizio, "attesa una lunghezza da 0 a " +
                                   std::to_string(lunghezza_testo_massima) + " per " + campo(nome) +
                                   ", trovata " + std::to_string(lunghezza));
        testo = r.testo(static_cast<std::size_t>(lunghezza), [&] { return campo(nome); });
    }
};

// ", l'ultima di un percorso di N m": the route length that fixes the count of a file's records.
std::string del_percorso(const char* ultimo, const costruzione& c) {
    return std::string(", ") + ultimo + " di un percorso di " +
           std::to_string(std::int64_t{c.lunghezza_totale} - prolungamento_tracciato) + " m";
}

// The counts the item file fixes; none for a model whose dimensions are out of range.
std::size_t numero_celle(const costruzione& c) {
    return c.ultima_cella >= 0 ? static_cast<std::size_t>(c.ultima_cella) + 1 : 0;
}
std::size_t numero_metri(const costruzione& c) {
    return c.lunghezza_totale >= 0 ? static_cast<std::size_t>(c.lunghezza_totale) + 1 : 0;
}

// One axis of the plan view. `conserva` false reads without storing, for a file too short to
// hold the axis at all: it fails before its end, and the axis is then never allocated.
void leggi_asse(lettore_binario& r, std::size_t metri, int asse, bool conserva,
                asse_planimetria& valori) {
    const char* nome = nomi_assi[static_cast<std::size_t>(asse)];
    const auto elemento = [&](std::size_t metro) {
        return std::string(nome) + " del metro " + std::to_string(metro);
    };
    valori.clear();
    if (conserva)
        valori.resize(metri);
    for (std::size_t metro = 0; metro < metri; ++metro) {
        const std::size_t inizio = r.posizione();
        const std::int16_t etichetta =
            r.intero([&] { return "l'etichetta di " + elemento(metro); });
        const std::optional<tipo_valore> tipo = tipo_di_etichetta(etichetta);
        if (!tipo)
            r.fallisci(inizio, "attesa l'etichetta " + std::to_string(etichetta_vuoto) + ", " +
                                   std::to_string(etichetta_intero) + " o " +
                                   std::to_string(etichetta_doppio) + " per " + elemento(metro) +
                                   ", trovata " + std::to_string(etichetta));
        if (*tipo == tipo_valore::intero) {
            const std::int16_t numero = r.intero([&] { return "il valore di " + elemento(metro); });
            if (conserva)
                valori.imposta(metro, numero);
        } else if (*tipo == tipo_valore::doppio) {
            const std::size_t dove = r.posizione();
            const double numero = r.doppio([&] { return "il valore di " + elemento(metro); });
            if (!std::isfinite(numero))
                r.fallisci(dove, "atteso un numero finito per " + elemento(metro) + ", trovato " +
                                     (std::isnan(numero) ? "nan"
                                      : numero > 0       ? "inf"
                                                         : "-inf"));
            if (conserva)
                valori.imposta_doppio(metro, numero);
        }
    }
}

} // namespace

void leggi_voci(const contenuto_file& f, costruzione& c) {
    lettore_binario r(f.dati, f.nome);
    std::array<std::size_t, numero_voci> inizi{};
    for (std::size_t i = 0; i < c.voci.size(); ++i) {
        inizi[i] = r.posizione();
        per_campi(c.voci[i], leggi_campo{r, "voce", i});
    }
    r.fine("la voce " + std::to_string(numero_voci - 1));

    const voce& percorso = c.voci[voce_percorso];
    if (percorso.fine < 0 || percorso.fine > lunghezza_percorso_massima)
        r.fallisci(inizi[voce_percorso] + *scostamento_campo(percorso, "fine"),
                   "attesa una lunghezza del percorso da 0 a " +
                       std::to_string(lunghezza_percorso_massima) + " m nel campo fine" +
                       della_voce(voce_percorso) + ", trovata " + std::to_string(percorso.fine));
    const voce& scenario = c.voci[voce_scenario];
    if (scenario.i1 != timbro_voce)
        r.fallisci(inizi[voce_scenario] + *scostamento_campo(scenario, "i1"),
                   "atteso il timbro " + std::to_string(timbro_voce) + " nel campo i1" +
                       della_voce(voce_scenario) + ", trovato " + std::to_string(scenario.i1));

    c.nome_scenario = scenario.nome;
    c.numero_treno = c.voci[voce_treno].nome;
    c.lunghezza_totale = percorso.fine + prolungamento_tracciato;
    c.ultima_cella = static_cast<std::int32_t>(cella_di(c.lunghezza_totale));
}

void leggi_celle(const contenuto_file& f, costruzione& c) {
    lettore_binario r(f.dati, f.nome);
    const std::size_t celle = numero_celle(c);
    // The record size is fixed, so a short file is found before any cell is allocated.
    if (r.restanti() / byte_per_cella < celle) {
        const std::size_t intere = r.restanti() / byte_per_cella;
        r.fallisci(intere * byte_per_cella,
                   testo_mancano(byte_per_cella, r.restanti() - intere * byte_per_cella,
                                 "la cella " + std::to_string(intere)));
    }
    c.celle.assign(celle, cella{});
    for (std::size_t k = 0; k < celle; ++k)
        per_campi(c.celle[k], leggi_campo{r, "cella", k});
    r.fine("la cella " + std::to_string(std::int64_t(celle) - 1) + del_percorso("l'ultima", c));

    if (celle < 2)
        r.fallisci(r.posizione(), testo_mancano(byte_per_cella, 0, "la cella 1"));
    if (c.celle[1].dato1 != timbro_cella)
        r.fallisci(byte_per_cella + *scostamento_campo(c.celle[1], "dato1"),
                   "atteso il timbro " + std::to_string(timbro_cella) +
                       " nel campo dato1 della cella 1, trovato " +
                       std::to_string(c.celle[1].dato1));
}

void leggi_planimetria(const contenuto_file& f, costruzione& c) {
    lettore_binario r(f.dati, f.nome);
    const std::size_t metri = numero_metri(c);
    // Every value takes at least its 2-byte tag: a file shorter than that for both axes fails
    // while it is read, and nothing is allocated for it.
    const bool conserva = r.restanti() / (2 * byte_del_valore(tipo_valore::vuoto)) >= metri;
    for (int asse = asse_x; asse <= asse_y; ++asse)
        leggi_asse(r, metri, asse, conserva, c.planimetria[static_cast<std::size_t>(asse)]);
    r.fine(std::string(nomi_assi[asse_y]) + " del metro " +
           std::to_string(std::int64_t(metri) - 1) + del_percorso("l'ultimo", c));
    c.genera_planimetria = 1;
}

costruzione leggi_scenario(const contenuto_file& voci, const contenuto_file& celle,
                           const std::optional<contenuto_file>& planimetria) {
    costruzione c;
    leggi_voci(voci, c);
    leggi_celle(celle, c);
    if (planimetria)
        leggi_planimetria(*planimetria, c);
    return c;
}

std::size_t byte_massimi_voci() {
    return numero_voci * (byte_voce_senza_nome + lunghezza_testo_massima);
}

std::size_t byte_massimi_celle(const costruzione& c) {
    return numero_celle(c) * byte_per_cella;
}

std::size_t byte_massimi_planimetria(const costruzione& c) {
    return 2 * numero_metri(c) * byte_del_valore(tipo_valore::doppio);
}

std::size_t byte_massimi_planimetria_qualsiasi() {
    costruzione c;
    c.lunghezza_totale = lunghezza_percorso_massima + prolungamento_tracciato;
    return byte_massimi_planimetria(c);
}

std::optional<std::size_t> metri_planimetria(std::string_view dati) {
    // Every value says its own size by its tag: counting them needs no length. The tags of the
    // first value of each axis are kept: a compile always gives metre 0 a position.
    std::vector<std::int16_t> etichette;
    std::size_t posizione = 0;
    while (posizione < dati.size()) {
        if (dati.size() - posizione < 2)
            return std::nullopt;
        const auto basso = static_cast<unsigned char>(dati[posizione]);
        const auto alto = static_cast<unsigned char>(dati[posizione + 1]);
        const auto etichetta = static_cast<std::int16_t>(basso | (alto << 8));
        const std::optional<tipo_valore> tipo = tipo_di_etichetta(etichetta);
        if (!tipo || dati.size() - posizione < byte_del_valore(*tipo))
            return std::nullopt;
        posizione += byte_del_valore(*tipo);
        etichette.push_back(etichetta);
    }
    const std::size_t metri = etichette.size() / 2;
    const auto metri_massimi =
        static_cast<std::size_t>(lunghezza_percorso_massima + prolungamento_tracciato) + 1;
    if (etichette.size() % 2 != 0 || metri == 0 || metri > metri_massimi ||
        etichette[0] == etichetta_vuoto || etichette[metri] == etichetta_vuoto)
        return std::nullopt;
    return metri;
}

} // namespace corvenna
