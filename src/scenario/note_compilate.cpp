#include "scenario/colonne_modulo.hpp"
#include "scenario/documenti_compilati.hpp"

#include <cstdlib>

namespace corvenna {

namespace {

std::string km(const fatti_linea& f, std::int64_t metro) {
    return "km " + testo_progressiva(progressiva_al_metro(f.sistemi, static_cast<double>(metro)));
}

std::string al_metro(const fatti_linea& f, std::int64_t metro) {
    return "al metro " + std::to_string(metro) + " (" + km(f, metro) + ")";
}

std::string da_a(const fatti_linea& f, std::int64_t da, std::int64_t a) {
    return "dal metro " + std::to_string(da) + " al " + std::to_string(a) + " (" + km(f, da) +
           " - " + km(f, a) + ")";
}

void stazioni(const fatti_linea& f, std::vector<std::string>& t) {
    int con_orario = 0;
    for (const stazione_linea& s : f.stazioni)
        con_orario += s.orario_s ? 1 : 0;
    t.push_back("- Località di servizio: " + std::to_string(f.stazioni.size()) + ", " +
                std::to_string(con_orario) + " con l'orario del treno:");
    for (const stazione_linea& s : f.stazioni) {
        std::string riga = "  - " + s.nome + ", " + al_metro(f, s.metro) + ": ";
        if (s.orario_s && s.sosta_s > 0 && (*s.orario_s + s.sosta_s) / 60 != *s.orario_s / 60)
            riga += "arrivo alle " + ora_modulo(*s.orario_s) + ", partenza alle " +
                    ora_modulo(*s.orario_s + s.sosta_s);
        else if (s.orario_s)
            riga += "alle " + ora_modulo(*s.orario_s);
        else
            riga += s.fermata ? "fermata senza orario" : "transito senza fermata";
        t.push_back(riga);
    }
}

void progressive(const fatti_linea& f, std::vector<std::string>& t) {
    const std::vector<tratto_progressiva> tratti =
        tratti_progressiva(f.sistemi, static_cast<double>(f.lunghezza_percorso));
    t.push_back("- Progressive chilometriche: " + std::to_string(tratti.size()) + ":");
    for (const tratto_progressiva& p : tratti) {
        const auto da = static_cast<std::int64_t>(p.inizio);
        const auto a = static_cast<std::int64_t>(p.fine);
        std::string riga =
            "  - dal metro " + std::to_string(da) + " al " + std::to_string(a) + ": ";
        if (!p.sistema)
            riga += "nessuna progressiva, i cartelli leggono il metro del percorso";
        else
            riga += std::string(p.sistema->decrescente ? "decrescente" : "crescente") + ", da " +
                    km(f, da) + " a km " +
                    testo_progressiva(p.sistema->decrescente
                                          ? static_cast<double>(p.sistema->offset - a)
                                          : static_cast<double>(p.sistema->offset + a));
        t.push_back(riga);
    }
}

void gallerie_e_pendenze(const fatti_linea& f, std::vector<std::string>& t) {
    if (f.gallerie.empty())
        t.push_back("- Gallerie: nessuna.");
    else
        t.push_back("- Gallerie: " + std::to_string(f.gallerie.size()) + ":");
    for (const galleria_linea& g : f.gallerie)
        t.push_back("  - " + da_a(f, g.da_metro, g.a_metro) + ", lunga " +
                    std::to_string(g.a_metro - g.da_metro) + " m");
    if (f.pendenza_massima_per_mille == 0)
        t.push_back("- Pendenze: nessuna, la linea è in piano.");
    else
        t.push_back(
            "- Pendenza più forte: " + std::to_string(std::abs(f.pendenza_massima_per_mille)) +
            " per mille in " + (f.pendenza_massima_per_mille > 0 ? "salita" : "discesa") + ", " +
            al_metro(f, f.metro_pendenza_massima) + ".");
}

void curve(const fatti_linea& f, std::vector<std::string>& t) {
    if (!f.ha_planimetria) {
        t.push_back("- Curve: non note, lo scenario non ha la planimetria.");
        return;
    }
    if (f.curve.empty()) {
        t.push_back("- Curve: nessuna, la linea è tutta in rettilineo.");
        return;
    }
    const curva_ispezione* stretta = &f.curve.front();
    for (const curva_ispezione& c : f.curve)
        if (c.raggio_m < stretta->raggio_m)
            stretta = &c;
    t.push_back("- Curve: " + std::to_string(f.curve.size()) + "; la più stretta ha raggio " +
                std::to_string(static_cast<long long>(stretta->raggio_m)) + " m, a " +
                (stretta->destra ? "destra" : "sinistra") + ",");
    t.push_back("  " + da_a(f, stretta->da_metro, stretta->a_metro) + ".");
}

void velocita_e_segnali(const fatti_linea& f, std::vector<std::string>& t) {
    t.push_back("- Velocità massime della linea:");
    std::optional<int> ultima;
    for (const cambio_velocita& v : f.velocita) {
        if (ultima == v.linea_kmh)
            continue;
        ultima = v.linea_kmh;
        t.push_back("  - " + al_metro(f, v.metro) + ": " + std::to_string(v.linea_kmh) + " km/h");
    }
    t.push_back("- Rallentamenti: " +
                (f.rallentamenti.empty()
                     ? std::string("nessuno.")
                     : std::to_string(f.rallentamenti.size()) + ", nell'ordine di rallentamento."));
    const int segnali = f.segnali_avviso + f.segnali_principali + f.segnali_altri;
    std::string riga = "- Segnali: " + std::to_string(segnali);
    if (segnali > 0) {
        riga += ", " + std::to_string(f.segnali_avviso) + " di avviso e " +
                std::to_string(f.segnali_principali) + " principali";
        if (f.segnali_altri > 0)
            riga += ", " + std::to_string(f.segnali_altri) + " di altro tipo";
    }
    t.push_back(riga + ".");
}

} // namespace

std::vector<std::string> righe_note_compilate(const fatti_linea& f,
                                              const std::vector<std::string>& note_autore) {
    std::vector<std::string> t;
    const std::string prima = f.stazioni.empty() ? std::string() : f.stazioni.front().nome;
    const std::string ultima = f.stazioni.empty() ? std::string() : f.stazioni.back().nome;
    t.push_back("Caratteristiche della linea " + prima + "-" + ultima);
    t.push_back("");
    t.push_back("- Lunghezza del percorso: " + std::to_string(f.lunghezza_percorso) + " m.");
    stazioni(f, t);
    progressive(f, t);
    gallerie_e_pendenze(f, t);
    curve(f, t);
    velocita_e_segnali(f, t);
    if (!note_autore.empty()) {
        t.push_back("");
        t.push_back("");
        t.insert(t.end(), note_autore.begin(), note_autore.end());
    }
    return t;
}

} // namespace corvenna
