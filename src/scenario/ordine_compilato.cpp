#include "scenario/colonne_modulo.hpp"
#include "scenario/documenti_compilati.hpp"
#include "scenario/righe_rallentamenti.hpp"

namespace corvenna {

namespace {

// The lines of the built-in order that the compiled one fills: the line's name, the train's
// number and the 26 rows of the table.
constexpr std::size_t riga_linea = 4;
constexpr std::size_t riga_treno = 6;
constexpr std::size_t prima_riga_tabella = 12;
constexpr std::size_t righe_tabella = 26;

// The station whose platform holds the whole slowdown; otherwise the last station at or before
// its start and the first at or after its end, "A - B" (one name when they are the same).
std::string stazioni_del_rallentamento(const fatti_linea& f, const rallentamento_linea& r) {
    for (const stazione_linea& s : f.stazioni)
        if (s.marciapiede_da_metro <= r.da_metro && r.a_metro <= s.marciapiede_a_metro)
            return s.nome;
    const stazione_linea* prima = nullptr;
    const stazione_linea* dopo = nullptr;
    for (const stazione_linea& s : f.stazioni) {
        if (s.metro <= r.da_metro || !prima)
            prima = &s;
        if (!dopo && s.metro >= r.a_metro)
            dopo = &s;
    }
    if (!dopo && !f.stazioni.empty())
        dopo = &f.stazioni.back();
    if (!prima)
        return {};
    return prima == dopo ? prima->nome : prima->nome + " - " + dopo->nome;
}

// The second begins where the first ends: on the cell after the first's end cell at most, since
// two slowdowns cannot share a cell.
bool contigui(const rallentamento_linea& a, const rallentamento_linea& b) {
    return b.da_metro >= a.a_metro && b.da_metro - a.a_metro <= 50;
}

std::string testo_riga(const fatti_linea& f, std::size_t n) {
    const rallentamento_linea& r = f.rallentamenti[n];
    const bool d = (n > 0 && contigui(f.rallentamenti[n - 1], r)) ||
                   (n + 1 < f.rallentamenti.size() && contigui(r, f.rallentamenti[n + 1]));
    return " |" + a_destra(std::to_string(n + 1), 2) + " | " +
           a_sinistra(stazioni_del_rallentamento(f, r), 27) + "|" +
           a_destra(
               chilometro_modulo(progressiva_al_metro(f.sistemi, static_cast<double>(r.da_metro))),
               11) +
           " |" + a_destra(std::to_string(r.velocita_kmh), 8) + "  |" +
           a_destra(std::to_string(r.a_metro - r.da_metro), 8) + " | " +
           a_sinistra(d ? "D" : "", 11) + "|";
}

} // namespace

std::vector<std::string> righe_ordine_compilato(const fatti_linea& f,
                                                const std::string& numero_treno) {
    const std::string prima = f.stazioni.empty() ? std::string() : f.stazioni.front().nome;
    const std::string ultima = f.stazioni.empty() ? std::string() : f.stazioni.back().nome;
    std::vector<std::string> testo;
    const std::size_t n = f.rallentamenti.size();
    for (std::size_t pagina = 0; pagina == 0 || pagina * righe_tabella < n; ++pagina)
        for (std::size_t i = 0; i < numero_righe_rallentamenti; ++i) {
            std::string riga(righe_rallentamenti[i]);
            if (i == riga_linea)
                riga = "  Linea  " + prima + "-" + ultima;
            else if (i == riga_treno)
                riga = "  Si ordina al macchinista del treno " + numero_treno +
                       " di effettuare i seguenti rallentamenti";
            else if (i >= prima_riga_tabella && i < prima_riga_tabella + righe_tabella) {
                const std::size_t k = pagina * righe_tabella + (i - prima_riga_tabella);
                if (k < n)
                    riga = testo_riga(f, k);
            }
            testo.push_back(std::move(riga));
        }
    return testo;
}

} // namespace corvenna
