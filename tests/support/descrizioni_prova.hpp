#pragma once

// The built-in line and train descriptions taken apart into plain values, for the tests that
// check what the documents say about the line against the data the line is compiled from. The
// rows are cut with the splitter of documento_prova.hpp, independently of the description
// reader; a row that does not have the shape its keyword calls for fails the test.

#include "scenario/righe_linea.hpp"
#include "scenario/righe_treno.hpp"
#include "support/documento_prova.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstddef>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvenna::prova_descrizioni {

using prova_documenti::campi;
using prova_documenti::campi_controllati;
using prova_documenti::numero;
using prova_documenti::senza_blank_iniziali;

inline std::string senza_blank(std::string_view s) {
    s = senza_blank_iniziali(s);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return std::string(s);
}

// ASCII letters in lower case; the bytes of UTF-8 accented letters stay as they are.
inline std::string minuscolo(std::string_view s) {
    std::string risultato(s);
    for (char& c : risultato)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return risultato;
}

// A count as the notes write it in words.
inline std::string in_parole(std::size_t n) {
    static const std::array<const char*, 21> parole{
        "zero",        "uno",      "due",    "tre",         "quattro",  "cinque",     "sei",
        "sette",       "otto",     "nove",   "dieci",       "undici",   "dodici",     "tredici",
        "quattordici", "quindici", "sedici", "diciassette", "diciotto", "diciannove", "venti"};
    EXPECT_LT(n, parole.size()) << "no word for " << n;
    return n < parole.size() ? parole[n] : std::to_string(n);
}

// The lettering groups of a text board: "(a)(b)" gives "a" and "b"; an empty result means a
// malformed text.
inline std::vector<std::string_view> gruppi(std::string_view scritta) {
    std::vector<std::string_view> risultato;
    while (!scritta.empty()) {
        const std::size_t chiusa = scritta.find(')');
        if (scritta.front() != '(' || chiusa == std::string_view::npos)
            return {};
        const std::string_view dentro = scritta.substr(1, chiusa - 1);
        if (dentro.find('(') != std::string_view::npos)
            return {};
        risultato.push_back(dentro);
        scritta.remove_prefix(chiusa + 1);
    }
    return risultato;
}

// The kind of a text board, told by its first lettering group.
inline std::string tipo_cartello(std::string_view scritta) {
    static const std::vector<std::pair<std::string_view, std::string>> primi{
        {"(   P.L.  )", "passaggio a livello"},
        {"(  P.L.A. )", "passaggio a livello automatico"},
        {"(Diramazione per)", "diramazione"},
        {"(Confluenza da)", "confluenza"},
        {"(Fiume )", "fiume"},
        {"( Fiume )", "fiume"},
        {"(Galleria)", "galleria"},
        {"(    Limite    )", "limite"},
        {"( Ex raccordo  )", "raccordo"},
        {"( Avviso fermata )", "avviso fermata"},
        {"( Casello)", "casello"}};
    for (const auto& [gruppo, tipo] : primi)
        if (scritta.starts_with(gruppo))
            return tipo;
    return "canale"; // the canal's board begins with the canal's own name
}

inline bool passaggio_a_livello(std::string_view tipo) {
    return tipo == "passaggio a livello" || tipo == "passaggio a livello automatico";
}

// The kilometre a level-crossing board gives, in metres: "km 31+180" is 31180.
inline long chilometro(std::string_view gruppo) {
    EXPECT_TRUE(gruppo.starts_with("km ")) << gruppo;
    const std::size_t piu = gruppo.find('+');
    EXPECT_NE(piu, std::string_view::npos) << gruppo;
    if (!gruppo.starts_with("km ") || piu == std::string_view::npos)
        return 0;
    EXPECT_EQ(gruppo.size() - piu - 1, 3u) << "three-digit metres: " << gruppo;
    return numero(gruppo.substr(3, piu - 3)) * 1000 + numero(gruppo.substr(piu + 1));
}

struct cartello {
    long posizione = 0;
    std::string_view scritta;
    std::vector<std::string_view> gruppi;
    std::string tipo;
    // The place the board names, without its blanks ("VALFRENZA", "CANALE MARTESIO"); empty
    // on the boards that name none.
    std::string luogo;
};

struct progressiva {
    std::string_view parola; // "uno", "due" or "tre"
    long inizio = 0;
    long scostamento = 0;
    long direzione = 0; // 0: the kilometres grow along the line, 1: they fall
};

struct pendenza {
    long posizione = 0;
    long valore = 0; // per mille, from `posizione` on
};

struct curva {
    int classe = 0;
    long inizio = 0;
    long lunghezza = 0;
};

struct montagna {
    long inizio = 0;
    long fine = 0;
    long tipo = 0;
};

struct indicatore {
    long posizione = 0;
    long vas = 0, vbs = 0, vcs = 0; // speeds of ranks A, B and C
    long strisce = 0;
};

struct linea_descritta {
    long lunghezza = 0;
    std::vector<progressiva> progressive; // in file order
    long fine_ripetizione = 0;            // 0: no signal repetition
    std::vector<curva> curve;
    std::vector<pendenza> pendenze;
    std::vector<montagna> montagne;
    std::vector<indicatore> indicatori;
    std::vector<cartello> cartelli;

    // The kilometric system in force at position p: the one with the latest start at or before
    // it.
    const progressiva* progressiva_a(long p) const {
        const progressiva* scelta = nullptr;
        for (const progressiva& s : progressive)
            if (s.inizio <= p && (scelta == nullptr || s.inizio > scelta->inizio))
                scelta = &s;
        return scelta;
    }

    // The kilometre, in metres, that the system in force at p gives it.
    long chilometro_a(long p) const {
        const progressiva* s = progressiva_a(p);
        EXPECT_NE(s, nullptr) << "no kilometric system at " << p;
        if (s == nullptr)
            return 0;
        return s->direzione == 0 ? p + s->scostamento : s->scostamento - p;
    }

    // The gradient that holds at p.
    long pendenza_a(long p) const {
        long valore = 0;
        for (const pendenza& g : pendenze)
            if (g.posizione <= p)
                valore = g.valore;
        return valore;
    }

    std::vector<cartello> cartelli_di_tipo(std::string_view tipo) const {
        std::vector<cartello> risultato;
        for (const cartello& c : cartelli)
            if (c.tipo == tipo)
                risultato.push_back(c);
        return risultato;
    }
};

inline cartello cartello_da(long posizione, std::string_view scritta) {
    cartello c{posizione, scritta, gruppi(scritta), tipo_cartello(scritta), {}};
    EXPECT_GE(c.gruppi.size(), 2u) << scritta;
    if (c.gruppi.size() < 2)
        return c;
    if (c.tipo == "canale")
        c.luogo = senza_blank(c.gruppi[0]) + " " + senza_blank(c.gruppi[1]);
    else if (c.tipo == "diramazione" || c.tipo == "confluenza" || c.tipo == "fiume" ||
             c.tipo == "galleria" || c.tipo == "avviso fermata")
        c.luogo = senza_blank(c.gruppi[1]);
    return c;
}

inline linea_descritta leggi_linea() {
    linea_descritta l;
    for (auto it = righe_linea.begin(); it != righe_linea.end() - 1; ++it) {
        const std::string_view riga = *it;
        const std::vector<std::string_view> c = campi(riga);
        const std::string_view parola = c[0];
        const auto valore = [&](std::size_t i) { return i < c.size() ? numero(c[i]) : 0L; };
        if (parola == "lunghezza percorso") {
            l.lunghezza = valore(1);
        } else if (parola.starts_with("progressiva chilometrica ")) {
            EXPECT_EQ(c.size(), 4u) << riga;
            l.progressive.push_back(
                {parola.substr(parola.rfind(' ') + 1), valore(1), valore(2), valore(3)});
        } else if (parola.starts_with("ripetizione segnali")) {
            l.fine_ripetizione = valore(2);
        } else if (parola.starts_with("curva")) {
            EXPECT_EQ(c.size(), 3u) << riga;
            l.curve.push_back({parola.back() - '0', valore(1), valore(2)});
        } else if (parola == "pendenza") {
            EXPECT_EQ(c.size(), 3u) << riga;
            l.pendenze.push_back({valore(1), valore(2)});
        } else if (parola == "montagna") {
            EXPECT_EQ(c.size(), 4u) << riga;
            l.montagne.push_back({valore(1), valore(2), valore(3)});
        } else if (parola == "indicatori_vmax") {
            EXPECT_EQ(c.size(), 10u) << riga;
            l.indicatori.push_back({valore(1), valore(2), valore(3), valore(4), valore(5)});
        } else if (parola == "cartello_indicatore") {
            const auto k = campi_controllati(riga, "cartello_indicatore", 3);
            if (!k.empty())
                l.cartelli.push_back(cartello_da(numero(k[1]), k[2]));
        }
    }
    return l;
}

struct stazione {
    long posizione = 0;
    long tipo = 0;
    long marciapiede = 0;
    long ore = 0, minuti = 0, secondi = 0;
    std::string_view nome;

    bool ha_orario() const { return ore != 0 || minuti != 0 || secondi != 0; }
};

struct limite {
    long posizione = 0;
    long velocita = 0; // km/h, from `posizione` on
};

struct treno_descritto {
    long vetture = 0;
    long massa_frenata = 0; // per cent
    std::vector<limite> limiti;
    std::vector<stazione> stazioni; // in running order
    std::size_t rallentamenti = 0;

    // The limit that holds at p.
    long velocita_a(long p) const {
        long v = 0;
        for (const limite& l : limiti)
            if (l.posizione <= p)
                v = l.velocita;
        return v;
    }

    // The station nearest to p.
    const stazione& piu_vicina(long p) const {
        return *std::min_element(stazioni.begin(), stazioni.end(),
                                 [p](const stazione& a, const stazione& b) {
                                     return std::labs(a.posizione - p) < std::labs(b.posizione - p);
                                 });
    }
};

inline treno_descritto leggi_treno() {
    treno_descritto t;
    for (auto it = righe_treno.begin(); it != righe_treno.end() - 1; ++it) {
        const std::string_view riga = *it;
        const std::vector<std::string_view> c = campi(riga);
        const std::string_view parola = c[0];
        if (parola == "numero vetture") {
            t.vetture = numero(c.at(1));
        } else if (parola == "percentuale massa frenata") {
            t.massa_frenata = numero(c.at(1));
        } else if (parola == "velocita") {
            const auto k = campi_controllati(riga, "velocita", 3);
            if (!k.empty())
                t.limiti.push_back({numero(k[1]), numero(k[2])});
        } else if (parola == "stazione") {
            const auto k = campi_controllati(riga, "stazione", 18);
            if (!k.empty())
                t.stazioni.push_back({numero(k[1]), numero(k[2]), numero(k[3]), numero(k[14]),
                                      numero(k[15]), numero(k[16]), k[17]});
        } else if (parola == "rallentamento") {
            ++t.rallentamenti;
        }
    }
    return t;
}

// The station where the line's second section begins: the one at which a kilometric count
// other than the first starts.
inline const stazione& stazione_di_diramazione(const linea_descritta& l, const treno_descritto& t) {
    std::vector<const stazione*> trovate;
    for (const stazione& s : t.stazioni)
        for (const progressiva& p : l.progressive)
            if (p.inizio > 0 && p.inizio == s.posizione)
                trovate.push_back(&s);
    EXPECT_EQ(trovate.size(), 1u) << "one station must start a kilometric count";
    return trovate.empty() ? t.stazioni.front() : *trovate.front();
}

} // namespace corvenna::prova_descrizioni
