// The table of the description format against the compiler: every keyword of the built-in
// descriptions is in it, and each keyword's row reads exactly as many values as the table says.

#include "description/formato_descrizioni.hpp"
#include "diagnostics/tipi_diagnostica.hpp"
#include "scenario/righe_linea.hpp"
#include "scenario/righe_treno.hpp"
#include "support/diagnostiche_prova.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace corvenna {
namespace {

using prova_diagnostiche::costruisci_testi;

std::string righe(std::initializer_list<std::string_view> testo) {
    std::string t;
    for (std::string_view r : testo) {
        t += r;
        t += "\r\n";
    }
    return t;
}

// The two descriptions with `riga` on line 4 of its own description, followed by a lone value:
// a row short of one value takes that value, and says so.
prova_diagnostiche::costruito compila_con(const parola_chiave_formato& p, std::string_view riga) {
    const std::string linea_base = righe({"[generale]", "lunghezza percorso,  88000", "[righe]"});
    const std::string fine = righe({"0", "[fine]"});
    // The plan view only where a row draws it: it costs a value a metre.
    const std::int32_t planimetria = p.parola == "curva" ? 1 : 0;
    if (p.file == descrizione::treno)
        return costruisci_testi(linea_base + righe({"[fine]"}),
                                righe({"[generale]", "[a]", "[b]", riga}) + fine, planimetria);
    if (p.solo_in_sezione)
        return costruisci_testi(
            righe({"[generale]", "lunghezza percorso,  88000", "-- commento", riga}) + fine,
            righe({"[generale]", "[fine]"}), planimetria);
    return costruisci_testi(linea_base + righe({riga}) + fine, righe({"[generale]", "[fine]"}),
                            planimetria);
}

// The names of the diagnostics on line 4 of the description of `p`.
std::set<std::string_view> diagnostiche_riga(const prova_diagnostiche::costruito& r,
                                             const parola_chiave_formato& p) {
    std::set<std::string_view> nomi;
    for (const diagnostica& d : r.s.diagnostiche) {
        if (d.file != p.file || d.riga != 4)
            continue;
        nomi.insert(d.tipo ? tipo_di(*d.tipo).nome : tipo_di_codice(d.codice)->nome);
    }
    return nomi;
}

// The number of values of an example row: the fields after the keyword's comma; the clock's
// numbers stand apart by blanks.
std::size_t valori_esempio(const parola_chiave_formato& p) {
    const std::string_view valori = p.esempio.substr(p.esempio.find(',') + 1);
    if (p.parola != "orologio")
        return static_cast<std::size_t>(std::ranges::count(valori, ',')) + 1;
    std::size_t numeri = 0;
    char precedente = ' ';
    for (char c : valori) {
        if (c != ' ' && precedente == ' ')
            ++numeri;
        precedente = c;
    }
    return numeri;
}

// The example without its last value: a text runs from its comma, a number may follow blanks.
std::string senza_ultimo_valore(const parola_chiave_formato& p) {
    const std::string esempio(p.esempio);
    if (p.campi.back().tipo == tipo_campo::testo)
        return esempio.substr(0, esempio.rfind(','));
    std::string resto = esempio.substr(0, esempio.find_last_not_of("0123456789-") + 1);
    resto.erase(resto.find_last_not_of(' ') + 1);
    if (resto.ends_with(','))
        resto.pop_back();
    return resto;
}

std::string elenco(const std::set<std::string_view>& nomi) {
    std::string t;
    for (std::string_view n : nomi)
        t += std::string(n) + " ";
    return t;
}

TEST(FormatoDescrizioni, EachKeywordReadsAsManyValuesAsTheTableSays) {
    for (const parola_chiave_formato& p : parole_chiave_formato()) {
        SCOPED_TRACE(std::string(p.parola));
        // The example gives one value a field of the table (the clock's are apart by blanks).
        EXPECT_EQ(valori_esempio(p), p.numero_valori()) << p.esempio;
        // The example as it stands: no error, and no value too many or too few.
        const auto esatta = compila_con(p, p.esempio);
        for (const diagnostica& d : esatta.s.diagnostiche)
            EXPECT_NE(d.livello, gravita::errore) << esatta.testo_di(d);
        const auto nomi = diagnostiche_riga(esatta, p);
        EXPECT_FALSE(nomi.contains("valori-in-eccesso")) << elenco(nomi);
        EXPECT_FALSE(nomi.contains("valori-su-piu-righe")) << elenco(nomi);
        EXPECT_FALSE(nomi.contains("parola-chiave-sconosciuta")) << elenco(nomi);

        // One value more is left over.
        const auto in_piu = compila_con(p, std::string(p.esempio) + ",  0");
        EXPECT_TRUE(diagnostiche_riga(in_piu, p).contains("valori-in-eccesso"))
            << elenco(diagnostiche_riga(in_piu, p));

        // One value less takes the next line's.
        const auto in_meno = compila_con(p, senza_ultimo_valore(p));
        EXPECT_TRUE(diagnostiche_riga(in_meno, p).contains("valori-su-piu-righe"))
            << elenco(diagnostiche_riga(in_meno, p));
    }
}

TEST(FormatoDescrizioni, EveryRowOfTheBuiltInDescriptionsMatchesOneKeyword) {
    const auto controlla = [](descrizione file, auto const& tabella) -> std::set<std::string_view> {
        bool in_generale = false;
        std::set<std::string_view> viste;
        for (std::string_view riga : tabella) {
            if (riga == "riferimento fine del file")
                break;
            const std::string_view chiave = riga.substr(0, riga.find(','));
            if (chiave.starts_with('[')) {
                in_generale = chiave == "[generale]";
                EXPECT_NE(sezione_di(file, chiave), nullptr) << chiave;
                continue;
            }
            const auto trovate = parole_corrispondenti(file, chiave, in_generale);
            EXPECT_EQ(trovate.size(), 1u) << riga;
            if (!trovate.empty())
                viste.insert(trovate[0]->parola);
        }
        return viste;
    };
    auto viste = controlla(descrizione::linea, righe_linea);
    viste.merge(controlla(descrizione::treno, righe_treno));
    // The built-in scenario has no slowdown and no "abbattimento" row.
    for (const parola_chiave_formato& p : parole_chiave_formato()) {
        if (p.parola != "rallentamento" && p.parola != "abbattimento") {
            EXPECT_TRUE(viste.contains(p.parola)) << p.parola;
        }
    }
}

TEST(FormatoDescrizioni, TheTableHoldsTogether) {
    std::set<std::string_view> parole;
    for (const parola_chiave_formato& p : parole_chiave_formato()) {
        SCOPED_TRACE(std::string(p.parola));
        EXPECT_TRUE(parole.insert(p.parola).second) << "parola ripetuta";
        EXPECT_NE(sezione_di(p.file, p.sezione), nullptr);
        EXPECT_EQ(parola_chiave_di(p.parola), &p);
        // The keyword as written is recognised as itself, and as nothing else.
        const auto trovate = parole_corrispondenti(p.file, p.parola, p.solo_in_sezione);
        ASSERT_EQ(trovate.size(), 1u);
        EXPECT_EQ(trovate[0], &p);
        EXPECT_FALSE(p.campi.empty());
        std::set<std::string_view> campi;
        for (const campo_formato& c : p.campi) {
            EXPECT_TRUE(campi.insert(c.nome).second) << c.nome;
            EXPECT_LE(minimo_tipo_campo(c.tipo), c.minimo) << c.nome;
            EXPECT_LE(c.minimo, c.massimo) << c.nome;
            EXPECT_LE(c.massimo, massimo_tipo_campo(c.tipo)) << c.nome;
            EXPECT_FALSE(c.significato.empty()) << c.nome;
            EXPECT_EQ(campo_di(p, c.nome), &c);
            for (std::string_view n : c.diagnostiche)
                EXPECT_NE(tipo_di_nome(n), nullptr) << c.nome << ": " << n;
        }
        for (std::string_view n : p.diagnostiche)
            EXPECT_NE(tipo_di_nome(n), nullptr) << n;
    }
    for (std::string_view n : diagnostiche_di_ogni_riga())
        EXPECT_NE(tipo_di_nome(n), nullptr) << n;
}

TEST(FormatoDescrizioni, AnAuthorsWordLeadsOnlyToKeywordsThatExist) {
    std::set<std::string_view> parole;
    for (const rimando_formato& r : rimandi_formato()) {
        SCOPED_TRACE(std::string(r.parola));
        EXPECT_TRUE(parole.insert(r.parola).second) << "parola ripetuta";
        EXPECT_FALSE(r.spiegazione.empty());
        // A keyword or a section of that name would hide the word.
        EXPECT_EQ(parola_chiave_di(r.parola), nullptr);
        EXPECT_EQ(sezione_di(descrizione::linea, r.parola), nullptr);
        EXPECT_EQ(sezione_di(descrizione::treno, r.parola), nullptr);
        EXPECT_EQ(rimando_di(r.parola), &r);
        for (std::string_view p : r.parole_chiave)
            EXPECT_NE(parola_chiave_di(p), nullptr) << p;
    }
    EXPECT_EQ(rimando_di("Tunnel"), rimando_di("tunnel"));
    EXPECT_EQ(rimando_di("segnale"), nullptr);
}

TEST(FormatoDescrizioni, LookupsTakeNamesAsAuthorsWriteThem) {
    EXPECT_EQ(sezione_di(descrizione::linea, "Curve"), sezione_di(descrizione::linea, "[curve]"));
    EXPECT_TRUE(sezione_di(descrizione::linea, "[generale]")->obbligatoria);
    EXPECT_FALSE(sezione_di(descrizione::treno, "generale")->obbligatoria);
    EXPECT_EQ(sezione_di(descrizione::treno, "[curve]"), nullptr);
    EXPECT_EQ(parole_di_sezione(descrizione::treno, "generale").size(), 4u);
    EXPECT_EQ(parola_chiave_di("NUMERO_VETTURE"), parola_chiave_di("numero vetture"));
    EXPECT_EQ(parola_chiave_di("segnale")->numero_valori(), 11u);
    EXPECT_EQ(parola_chiave_di("stazione")->numero_valori(), 17u);
    EXPECT_EQ(parola_chiave_di("semaforo"), nullptr);

    struct caso {
        descrizione file;
        std::string_view campo;
        bool in_generale;
        std::vector<std::string_view> attese;
    };
    const std::vector<caso> casi = {
        {descrizione::linea, "curvad3", false, {"curva"}},
        {descrizione::linea, "Lunghezza Percorso", true, {"lunghezza percorso"}},
        // The general keywords count only in their section, and most only in lower case.
        {descrizione::linea, "lunghezza percorso", false, {}},
        {descrizione::linea, "PROGRESSIVA chilometrica uno", true, {}},
        {descrizione::linea, "pendenza", true, {}},
        // A field with two keywords applies both, in the compiler's order.
        {descrizione::treno, "velocita segnale", false, {"velocita", "segnale"}},
        {descrizione::treno, "pendenza", false, {}},
    };
    for (const caso& c : casi) {
        std::vector<std::string_view> trovate;
        for (const parola_chiave_formato* p : parole_corrispondenti(c.file, c.campo, c.in_generale))
            trovate.push_back(p->parola);
        EXPECT_EQ(trovate, c.attese) << c.campo;
    }
}

} // namespace
} // namespace corvenna
