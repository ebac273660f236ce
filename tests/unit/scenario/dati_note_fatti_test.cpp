// Every fact the notes state about the line and the train is derived here from the line and
// train descriptions and then looked for in the notes: moving a crossing board from one section
// to the other, renaming a junction board, changing the tunnel's gradient or a speed limit
// without the notes makes a test fail. The notes are searched in lower case with single blanks,
// so that a phrase broken across two lines is found as one.

#include "scenario/righe_note.hpp"
#include "support/descrizioni_prova.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <regex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace corvenna {
namespace {

using namespace prova_descrizioni;

// Lines `da` to `a` of the notes, counted from 1, as one lower-case text with single blanks.
std::string testo_note(std::size_t da = 1, std::size_t a = numero_righe_note) {
    std::string unito;
    for (std::size_t n = da; n <= a; ++n) {
        unito += ' ';
        unito += righe_note[n - 1];
    }
    std::string testo;
    for (const char c : unito)
        if (c != ' ' || (!testo.empty() && testo.back() != ' '))
            testo += c;
    return minuscolo(senza_blank(testo));
}

void trova(const std::string& testo, const std::string& frase) {
    EXPECT_NE(testo.find(frase), std::string::npos) << "the notes do not say: " << frase;
}

// Lines 30 to 59 describe the second section as a list.
constexpr std::size_t prima_riga_tratto = 30;
constexpr std::size_t ultima_riga_tratto = 59;

// The sub-items of the item of the second section's list that begins with `voce`, in lower
// case, each with its continuation lines.
std::vector<std::string> sottovoci(std::string_view voce) {
    std::vector<std::string> risultato;
    bool dentro = false;
    for (std::size_t n = prima_riga_tratto; n <= ultima_riga_tratto; ++n) {
        const std::string_view riga = righe_note[n - 1];
        if (riga.starts_with("- ")) {
            dentro = riga.starts_with(voce);
        } else if (dentro && riga.starts_with("  - ")) {
            risultato.push_back(minuscolo(senza_blank(riga.substr(4))));
        } else if (dentro && riga.starts_with("    ") && !risultato.empty()) {
            risultato.back() += " " + minuscolo(senza_blank(riga));
        }
    }
    EXPECT_FALSE(risultato.empty()) << "no list item " << voce;
    return risultato;
}

// The numbers written in a text, in order.
std::vector<long> numeri_in(const std::string& testo) {
    static const std::regex cifre(R"(\d+)");
    std::vector<long> risultato;
    for (auto it = std::sregex_iterator(testo.begin(), testo.end(), cifre);
         it != std::sregex_iterator(); ++it)
        risultato.push_back(std::stol(it->str()));
    return risultato;
}

// "km 23+000" for 23000 m.
std::string come_chilometro(long metri) {
    const std::string resto = std::to_string(metri % 1000);
    return "km " + std::to_string(metri / 1000) + "+" + std::string(3 - resto.size(), '0') + resto;
}

// The station at or before p, and the one at or after it.
const stazione& stazione_prima(const treno_descritto& t, long p) {
    const stazione* s = &t.stazioni.front();
    for (const stazione& x : t.stazioni)
        if (x.posizione <= p)
            s = &x;
    return *s;
}

const stazione& stazione_dopo(const treno_descritto& t, long p) {
    for (const stazione& x : t.stazioni)
        if (x.posizione >= p)
            return x;
    return t.stazioni.back();
}

// The junction and joining boards, in line order.
std::vector<cartello> diramazioni(const linea_descritta& l) {
    std::vector<cartello> risultato;
    for (const cartello& c : l.cartelli)
        if (c.tipo == "diramazione" || c.tipo == "confluenza")
            risultato.push_back(c);
    return risultato;
}

TEST(NoteFatti, LevelCrossingsOfTheSecondSectionAreCountedFromTheBoards) {
    const linea_descritta linea = leggi_linea();
    const treno_descritto treno = leggi_treno();
    const long inizio = stazione_di_diramazione(linea, treno).posizione;
    int comandati = 0;
    int automatici = 0;
    for (const cartello& c : linea.cartelli) {
        if (c.posizione <= inizio)
            continue;
        comandati += c.tipo == "passaggio a livello";
        automatici += c.tipo == "passaggio a livello automatico";
    }
    const std::string tratto = testo_note(prima_riga_tratto, ultima_riga_tratto);
    trova(tratto,
          "nel tratto ci sono " + std::to_string(comandati + automatici) + " passaggi a livello");
    trova(tratto, std::to_string(comandati) + " sono comandati a distanza");
    trova(tratto, std::to_string(automatici) + " sono automatici");
}

TEST(NoteFatti, JunctionsAndBranchesAreNamedAsTheirBoards) {
    const linea_descritta linea = leggi_linea();
    const treno_descritto treno = leggi_treno();
    const std::vector<cartello> linee = diramazioni(linea);
    ASSERT_FALSE(linee.empty());
    const std::string note = testo_note();

    const std::string quante = in_parole(linee.size());
    trova(note, "ben " + quante + " linee si staccano dalla nostra o vi confluiscono");
    trova(note, "da quella per " + minuscolo(linee.front().luogo) + ", subito fuori " +
                    minuscolo(treno.stazioni.front().nome));
    trova(note, "fino a quella per " + minuscolo(linee.back().luogo) + ", alle porte di " +
                    minuscolo(treno.stazioni.back().nome));

    // The compartment limit stands just after a junction.
    const std::vector<cartello> limiti = linea.cartelli_di_tipo("limite");
    ASSERT_EQ(limiti.size(), 1u);
    const cartello* prima_del_limite = nullptr;
    for (const cartello& c : linee)
        if (c.tipo == "diramazione" && c.posizione < limiti[0].posizione)
            prima_del_limite = &c;
    ASSERT_NE(prima_del_limite, nullptr);
    EXPECT_LE(limiti[0].posizione - prima_del_limite->posizione, 2000);
    trova(note, "poco dopo il bivio per " + minuscolo(prima_del_limite->luogo));

    // A station of the second section that the list calls a junction names the junction board
    // nearest to it; the station that opens the section is one.
    const stazione& diramazione = stazione_di_diramazione(linea, treno);
    bool diramazione_nominata = false;
    for (const std::string& voce : sottovoci("- Stazioni e localit")) {
        if (voce.find("bivio per ") == std::string::npos)
            continue;
        const auto s =
            std::find_if(treno.stazioni.begin(), treno.stazioni.end(), [&](const stazione& x) {
                return voce.starts_with(minuscolo(x.nome) + ",");
            });
        ASSERT_NE(s, treno.stazioni.end()) << voce;
        const cartello& vicino = *std::min_element(
            linee.begin(), linee.end(), [&](const cartello& a, const cartello& b) {
                return std::labs(a.posizione - s->posizione) <
                       std::labs(b.posizione - s->posizione);
            });
        EXPECT_EQ(vicino.tipo, "diramazione") << voce;
        trova(voce, "bivio per " + minuscolo(vicino.luogo));
        diramazione_nominata = diramazione_nominata || s->nome == diramazione.nome;
    }
    EXPECT_TRUE(diramazione_nominata) << diramazione.nome << " is named without its junction";

    // Wherever the notes name a branch, it is a board's.
    for (const std::string apertura : {"bivio per ", "quella per "}) {
        for (std::size_t i = note.find(apertura); i != std::string::npos;
             i = note.find(apertura, i + 1)) {
            const std::string_view dopo = std::string_view(note).substr(i + apertura.size());
            const bool nota = std::any_of(linee.begin(), linee.end(), [&](const cartello& c) {
                const std::string luogo = minuscolo(c.luogo);
                return dopo.starts_with(luogo) &&
                       (dopo.size() == luogo.size() ||
                        !std::isalpha(static_cast<unsigned char>(dopo[luogo.size()])));
            });
            EXPECT_TRUE(nota) << "no board for the branch in: " << note.substr(i, 40);
        }
    }
}

// The capitalised words of the notes that do not open a sentence, a list item or a block: the
// proper names.
std::set<std::string> nomi_propri() {
    const auto lettera = [](char c) {
        return std::isalpha(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) >= 0x80;
    };
    std::set<std::string> nomi;
    bool apertura = true;
    for (std::size_t i = 0; i < numero_righe_note; ++i) {
        std::string_view riga = senza_blank_iniziali(righe_note[i]);
        if (riga.empty()) {
            apertura = true;
            continue;
        }
        if (riga.starts_with("- ")) {
            apertura = true;
            riga.remove_prefix(2);
        }
        bool iniziale = false; // the last word was a lone capital
        for (std::size_t k = 0; k < riga.size();) {
            if (lettera(riga[k])) {
                std::size_t fine = k;
                while (fine < riga.size() && lettera(riga[fine]))
                    ++fine;
                const bool maiuscola = std::isupper(static_cast<unsigned char>(riga[k])) != 0;
                // An elided article or preposition ("L'unica", "dell'Ottocento") is no name.
                const bool elisa = fine < riga.size() && riga[fine] == '\'';
                if (!apertura && maiuscola && !elisa)
                    nomi.insert(std::string(riga.substr(k, fine - k)));
                apertura = false;
                iniziale = maiuscola && fine - k == 1;
                k = fine;
                continue;
            }
            // A full stop after a lone capital abbreviates a name ("S. Lucerio").
            const char c = riga[k];
            if ((c == '.' && !iniziale) || c == ':' || c == '?' || c == '!')
                apertura = true;
            ++k;
        }
    }
    return nomi;
}

// The notes name no place that the line does not show: every proper name is a word of a
// station's name or of a place on a board, or one of the few names that are no place.
TEST(NoteFatti, EveryPlaceTheNotesNameLiesOnTheLine) {
    std::set<std::string> luoghi;
    const auto aggiungi_parole = [&](std::string_view nome) {
        const std::string testo = minuscolo(nome);
        std::size_t k = 0;
        while (k < testo.size()) {
            const std::size_t inizio = testo.find_first_not_of(" .'", k);
            if (inizio == std::string::npos)
                break;
            const std::size_t fine = std::min(testo.find_first_of(" .'", inizio), testo.size());
            luoghi.insert(testo.substr(inizio, fine - inizio));
            k = fine;
        }
    };
    const linea_descritta linea = leggi_linea();
    const treno_descritto treno = leggi_treno();
    for (const stazione& s : treno.stazioni)
        aggiungi_parole(s.nome);
    for (const cartello& c : linea.cartelli)
        aggiungi_parole(c.luogo);
    // Ranks and volts, the operating controller's title, decades and centuries, the e-mail
    // label and the author's name.
    for (const char* nome : {"a", "b", "v", "dirigente", "centrale", "operativo", "ottocento",
                             "sessanta", "settanta", "ottanta", "novanta", "mail", "ceresetti"})
        luoghi.insert(nome);
    const std::set<std::string> nomi = nomi_propri();
    EXPECT_GT(nomi.size(), 20u) << "the names were not found";
    for (const std::string& nome : nomi)
        EXPECT_TRUE(luoghi.contains(minuscolo(nome))) << nome << " is no place on the line";
}

TEST(NoteFatti, StationsOfTheSecondSectionFollowTheTrainDescription) {
    const linea_descritta linea = leggi_linea();
    const treno_descritto treno = leggi_treno();
    const stazione& diramazione = stazione_di_diramazione(linea, treno);
    const std::string note = testo_note();
    trova(note, in_parole(treno.stazioni.size()) + " località di servizio");

    std::vector<stazione> tratto;
    for (const stazione& s : treno.stazioni)
        if (s.posizione >= diramazione.posizione)
            tratto.push_back(s);
    const std::vector<std::string> voci = sottovoci("- Stazioni e localit");
    ASSERT_EQ(voci.size(), tratto.size());
    for (std::size_t i = 0; i < tratto.size(); ++i) {
        const stazione& s = tratto[i];
        const std::string& voce = voci[i];
        SCOPED_TRACE(voce);
        EXPECT_EQ(voce.substr(0, voce.find(',')), minuscolo(s.nome));
        // Between the section's ends every station gives its kilometre on the count in force;
        // the ends, where the counts change or stop, give none.
        const std::string km = come_chilometro(linea.chilometro_a(s.posizione));
        if (i == 0 || i + 1 == tratto.size())
            EXPECT_EQ(voce.find("km "), std::string::npos);
        else
            EXPECT_NE(voce.find(", " + km), std::string::npos) << "expected " << km;
        // A station the train passes without a time has no passenger service or no stop.
        const bool senza_servizio =
            voce.find("senza servizio viaggiatori") != std::string::npos ||
            (note.find(minuscolo(s.nome) + " è una fermata intermedia") != std::string::npos &&
             note.find("vi transita senza fermarsi") != std::string::npos);
        EXPECT_EQ(senza_servizio, !s.ha_orario());
    }
    // The terminus has the line's longest platform.
    const stazione& capolinea = treno.stazioni.back();
    for (std::size_t i = 0; i + 1 < treno.stazioni.size(); ++i)
        EXPECT_LT(treno.stazioni[i].marciapiede, capolinea.marciapiede) << treno.stazioni[i].nome;
    EXPECT_TRUE(voci.back().starts_with(minuscolo(capolinea.nome) + ", capolinea, con il "
                                                                    "marciapiede più lungo"))
        << voci.back();
}

TEST(NoteFatti, TunnelPositionLengthAndGradientComeFromTheLine) {
    const linea_descritta linea = leggi_linea();
    const treno_descritto treno = leggi_treno();
    ASSERT_EQ(linea.montagne.size(), 1u);
    const montagna& galleria = linea.montagne[0];
    const std::vector<cartello> cartelli = linea.cartelli_di_tipo("galleria");
    ASSERT_EQ(cartelli.size(), 1u);
    const std::string note = testo_note();

    const std::string nome = "galleria del " + minuscolo(cartelli[0].luogo) + ", lunga circa ";
    const std::size_t i = note.find(nome);
    ASSERT_NE(i, std::string::npos) << nome;
    const long lunghezza = std::stol(note.substr(i + nome.size()));
    EXPECT_LE(std::labs(lunghezza - (galleria.fine - galleria.inizio)), 50) << lunghezza;

    EXPECT_LT(galleria.fine, stazione_di_diramazione(linea, treno).posizione);
    trova(note, "si trova sul primo tratto fra " +
                    minuscolo(stazione_prima(treno, galleria.inizio).nome) + " e " +
                    minuscolo(stazione_dopo(treno, galleria.fine).nome));

    // One gradient holds through the whole tunnel, and the notes give it.
    std::set<long> nella_galleria{linea.pendenza_a(galleria.inizio)};
    for (const pendenza& g : linea.pendenze)
        if (g.posizione > galleria.inizio && g.posizione < galleria.fine)
            nella_galleria.insert(g.valore);
    ASSERT_EQ(nella_galleria.size(), 1u);
    const long g = *nella_galleria.begin();
    trova(note, std::string("percorre in ") + (g >= 0 ? "salita" : "discesa") + " al " +
                    std::to_string(std::labs(g)) + " per mille");

    // The steepest gradients of the line: from the steepest climb to the steepest of all.
    long salita = 0;
    long ripida = 0;
    for (const pendenza& p : linea.pendenze) {
        salita = std::max(salita, p.valore);
        ripida = std::max(ripida, std::labs(p.valore));
    }
    trova(note,
          "arrivano al " + std::to_string(salita) + "-" + std::to_string(ripida) + " per mille");
}

// Where a speed section begins, as the notes name it: a station there, else a board naming a
// place there, else the station the section leaves or approaches.
std::string luogo_di(const linea_descritta& l, const treno_descritto& t, long p) {
    for (const stazione& s : t.stazioni)
        if (s.posizione == p)
            return minuscolo(s.nome);
    for (const cartello& c : l.cartelli)
        if (!c.luogo.empty() && c.posizione == p)
            return minuscolo(c.luogo);
    return minuscolo(t.piu_vicina(p).nome);
}

TEST(NoteFatti, SpeedsOfTheSecondSectionComeFromTheLimitsAndBoards) {
    const linea_descritta linea = leggi_linea();
    const treno_descritto treno = leggi_treno();
    const long diramazione = stazione_di_diramazione(linea, treno).posizione;

    // The speed sections from the one in force at the junction station on; a row that restates
    // the speed opens no section.
    std::vector<limite> sezioni;
    for (const limite& l : treno.limiti) {
        if (!sezioni.empty() && sezioni.back().velocita == l.velocita)
            continue;
        if (l.posizione <= diramazione)
            sezioni.clear();
        sezioni.push_back(l);
    }
    std::vector<std::string> tratti;
    for (const std::string& voce : sottovoci("- Velocit")) {
        std::size_t inizio = 0;
        for (std::size_t fine = voce.find("; "); inizio != std::string::npos;
             fine = voce.find("; ", inizio)) {
            tratti.push_back(voce.substr(inizio, fine - inizio));
            inizio = fine == std::string::npos ? fine : fine + 2;
        }
    }
    ASSERT_EQ(tratti.size(), sezioni.size());
    long massima = 0;
    for (std::size_t i = 0; i < sezioni.size(); ++i) {
        const limite& s = sezioni[i];
        SCOPED_TRACE(tratti[i]);
        // The board of rank A that the limit goes with: the nearest one with its speed.
        const indicatore* cartello = nullptr;
        for (const indicatore& k : linea.indicatori)
            if (k.vas == s.velocita &&
                (cartello == nullptr || std::labs(k.posizione - s.posizione) <
                                            std::labs(cartello->posizione - s.posizione)))
                cartello = &k;
        ASSERT_NE(cartello, nullptr) << "no board for " << s.velocita << " km/h";
        const std::vector<long> attese = cartello->vas == cartello->vbs
                                             ? std::vector<long>{cartello->vas}
                                             : std::vector<long>{cartello->vas, cartello->vbs};
        EXPECT_EQ(numeri_in(tratti[i]), attese);
        trova(tratti[i], luogo_di(linea, treno, s.posizione));
        massima = std::max(massima, cartello->vas);
    }
    trova(testo_note(), "a " + std::to_string(massima) + " km/h in rango a");
}

// The tightest curves: the two highest curvature classes of the line, with the places they lie
// at and the speeds the train has on them.
TEST(NoteFatti, TightestCurvesAndTheirSpeedsComeFromTheLine) {
    const linea_descritta linea = leggi_linea();
    const treno_descritto treno = leggi_treno();
    std::set<int> classi;
    for (const curva& c : linea.curve)
        classi.insert(c.classe);
    ASSERT_GE(classi.size(), 2u);
    const int soglia = *std::next(classi.rbegin());
    std::vector<std::string> luoghi;
    std::vector<long> velocita;
    for (const curva& c : linea.curve) {
        if (c.classe < soglia)
            continue;
        const std::string luogo = minuscolo(treno.piu_vicina(c.inizio).nome);
        if (luoghi.empty() || luoghi.back() != luogo)
            luoghi.push_back(luogo);
        const long v = treno.velocita_a(c.inizio);
        if (velocita.empty() || velocita.back() != v)
            velocita.push_back(v);
    }
    ASSERT_EQ(luoghi.size(), 2u);
    ASSERT_EQ(velocita.size(), 2u);
    trova(testo_note(), "all'uscita di " + luoghi[0] + " e all'arrivo a " + luoghi[1] +
                            ", dove la velocità scende a " + std::to_string(velocita[0]) + " e a " +
                            std::to_string(velocita[1]) + " km/h");
}

TEST(NoteFatti, LengthsAndKilometresComeFromTheLine) {
    const linea_descritta linea = leggi_linea();
    const treno_descritto treno = leggi_treno();
    const long diramazione = stazione_di_diramazione(linea, treno).posizione;
    const long capolinea = treno.stazioni.back().posizione;
    const std::string note = testo_note();

    trova(note, "è lunga " + std::to_string(linea.lunghezza / 1000) + " km");
    EXPECT_NE(diramazione % 1000, 0) << "the first section is a little over whole kilometres";
    trova(note, "è lungo poco più di " + std::to_string(diramazione / 1000) + " km");
    trova(note, "misura circa " + std::to_string(std::lround((capolinea - diramazione) / 1000.0)) +
                    " km");

    // The line's counts in order; the notes add the real count of the first stretch, which has
    // no system of its own: the first system starts before its kilometre 0.
    std::vector<progressiva> sistemi = linea.progressive;
    std::sort(sistemi.begin(), sistemi.end(),
              [](const progressiva& a, const progressiva& b) { return a.inizio < b.inizio; });
    trova(note, "usa " + in_parole(sistemi.size() + 1) + " progressive chilometriche");
    trova(note, "ne gestisce soltanto " + in_parole(sistemi.size()));
    const long zero = -sistemi.front().scostamento;
    ASSERT_EQ(sistemi.front().direzione, 0);
    EXPECT_EQ(linea.chilometro_a(zero), 0);
    trova(note, "nei primi " + std::to_string(zero) + " metri, fino al cippo del km 0");
    trova(note, "la progressiva della linea da " + minuscolo(diramazioni(linea).front().luogo));

    // Lines 70 to 74: the dropped count, then one item per count of the line, from where it
    // starts and growing or falling as its direction says.
    std::vector<std::string> voci;
    for (std::size_t n = 70; n <= 74; ++n) {
        const std::string_view riga = righe_note[n - 1];
        if (riga.starts_with("- "))
            voci.push_back(minuscolo(senza_blank(riga.substr(2))));
        else if (!voci.empty())
            voci.back() += " " + minuscolo(senza_blank(riga));
    }
    ASSERT_EQ(voci.size(), sistemi.size() + 1);
    for (std::size_t i = 0; i < sistemi.size(); ++i) {
        const progressiva& s = sistemi[i];
        const std::string& voce = voci[i + 1];
        SCOPED_TRACE(voce);
        const stazione& vicina = stazione_prima(treno, s.inizio);
        const std::string da = linea.chilometro_a(s.inizio) < 0 ? "dal cippo del km 0"
                               : vicina.posizione == s.inizio
                                   ? "da " + minuscolo(vicina.nome)
                                   : "da poco oltre " + minuscolo(vicina.nome);
        EXPECT_TRUE(voce.starts_with(da + " ")) << "expected " << da;
        trova(voce, s.direzione == 0 ? "la progressiva crescente" : "la progressiva decrescente");
    }

    // The line keeper's house: its board's kilometre is that of the count in force there.
    const std::vector<cartello> caselli = linea.cartelli_di_tipo("casello");
    ASSERT_EQ(caselli.size(), 1u);
    const cartello& casello = caselli[0];
    std::string scritta = std::string(casello.gruppi.at(1));
    std::erase(scritta, ' ');
    const std::string km = come_chilometro(linea.chilometro_a(casello.posizione));
    EXPECT_EQ("km " + scritta, km);
    trova(note, "il casello del " + km + ", fra " +
                    minuscolo(stazione_prima(treno, casello.posizione).nome) + " e " +
                    minuscolo(stazione_dopo(treno, casello.posizione).nome));
}

TEST(NoteFatti, SignallingAndBoardsTheNotesDescribeAreOnTheLine) {
    const linea_descritta linea = leggi_linea();
    const treno_descritto treno = leggi_treno();
    const std::string note = testo_note();

    EXPECT_EQ(linea.fine_ripetizione, 0);
    trova(note, "non esiste la ripetizione dei segnali");

    // The stop-warning boards before a stop: how many, their bars, and the stop they announce.
    const std::vector<cartello> avvisi = linea.cartelli_di_tipo("avviso fermata");
    ASSERT_EQ(avvisi.size(), 2u);
    const stazione& fermata = stazione_dopo(treno, avvisi.back().posizione);
    std::vector<std::string> barre;
    for (const cartello& c : avvisi) {
        EXPECT_EQ(minuscolo(c.luogo), minuscolo(fermata.nome));
        const auto n =
            static_cast<std::size_t>(std::count(c.scritta.begin(), c.scritta.end(), '/'));
        barre.push_back(n == 1 ? "una" : in_parole(n) + " barre");
    }
    trova(note, "prima della fermata di " + minuscolo(fermata.nome) + " si incontrano " +
                    in_parole(avvisi.size()) + " cartelli di avviso fermata, con " + barre[0] +
                    " e con " + barre[1]);

    // The boards the notes say were added for the driver.
    EXPECT_GE(linea.cartelli_di_tipo("diramazione").size(), 2u);
    EXPECT_GE(linea.cartelli_di_tipo("confluenza").size(), 2u);
    EXPECT_GE(linea.cartelli_di_tipo("fiume").size(), 2u);
    EXPECT_EQ(linea.cartelli_di_tipo("galleria").size(), 1u);
    EXPECT_EQ(linea.cartelli_di_tipo("casello").size(), 1u);
    const std::vector<cartello> canali = linea.cartelli_di_tipo("canale");
    ASSERT_EQ(canali.size(), 1u);
    trova(note, "le diramazioni, le confluenze, i fiumi, il " + minuscolo(canali[0].luogo) +
                    ", la galleria e il vecchio casello");

    // The long bridge just after the station that follows the tunnel: the river board with its
    // length.
    const std::vector<cartello> fiumi = linea.cartelli_di_tipo("fiume");
    const cartello* ponte = nullptr;
    for (const cartello& c : fiumi)
        if (c.gruppi.size() == 3)
            ponte = &c;
    ASSERT_NE(ponte, nullptr);
    trova(note, "poco dopo " + minuscolo(stazione_prima(treno, ponte->posizione).nome) +
                    " il lungo ponte sul fiume " + minuscolo(ponte->luogo));

    // The former sidings lie by the stations whose works they served.
    const std::vector<cartello> raccordi = linea.cartelli_di_tipo("raccordo");
    ASSERT_EQ(raccordi.size(), 2u);
    trova(note, "gli stabilimenti industriali di " +
                    minuscolo(treno.piu_vicina(raccordi[0].posizione).nome) + " e di " +
                    minuscolo(treno.piu_vicina(raccordi[1].posizione).nome));
}

TEST(NoteFatti, TrainFactsComeFromTheTrainDescription) {
    const treno_descritto treno = leggi_treno();
    const std::string note = testo_note();
    const stazione& origine = treno.stazioni.front();
    trova(note, "partenza da " + minuscolo(origine.nome) + " alle " + std::to_string(origine.ore) +
                    "." + (origine.minuti < 10 ? "0" : "") + std::to_string(origine.minuti));
    trova(note, "composto da una locomotiva e da " + std::to_string(treno.vetture) + " carrozze");
    trova(note, "con una massa frenata del " + std::to_string(treno.massa_frenata) + " per cento");
}

} // namespace
} // namespace corvenna
