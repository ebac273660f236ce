#include "editor/catalogo_righe.hpp"

#include <algorithm>
#include <array>
#include <cctype>

namespace corvenna {

namespace {

constexpr campo_riga metri(std::string_view nome, std::string_view significato) {
    return {nome, "m", significato, false, true};
}
constexpr campo_riga numero(std::string_view nome, std::string_view unita,
                            std::string_view significato) {
    return {nome, unita, significato, false, false};
}
constexpr campo_riga testo(std::string_view nome, std::string_view significato) {
    return {nome, "", significato, true, false};
}

const std::vector<voce_riga>& tabella() {
    using d = descrizione;
    static const std::vector<voce_riga> righe{
        {d::linea,
         {"percorso", "lunghezza"},
         false,
         "lunghezza percorso",
         "la lunghezza del percorso, che dimensiona la linea",
         {numero("lunghezza", "m", "al massimo 1000000 m")}},
        {d::linea,
         {"tre", "progressiva"},
         true,
         "progressiva chilometrica tre",
         "il sistema chilometrico \"tre\"",
         {metri("inizio", "da dove vale; multiplo di 50"),
          numero("scostamento", "m", "la progressiva in quel punto; multiplo di 50"),
          numero("verso", "", "0 crescente, 1 decrescente")}},
        {d::linea,
         {"due", "progressiva"},
         true,
         "progressiva chilometrica due",
         "il sistema chilometrico \"due\"",
         {metri("inizio", "da dove vale; multiplo di 50"),
          numero("scostamento", "m", "la progressiva in quel punto; multiplo di 50"),
          numero("verso", "", "0 crescente, 1 decrescente")}},
        {d::linea,
         {"uno", "progressiva"},
         true,
         "progressiva chilometrica uno",
         "il sistema chilometrico \"uno\"",
         {metri("inizio", "da dove vale; multiplo di 50"),
          numero("scostamento", "m", "la progressiva in quel punto; multiplo di 50"),
          numero("verso", "", "0 crescente, 1 decrescente")}},
        {d::linea,
         {"sfondo", "uno"},
         true,
         "sfondo uno",
         "la scelta del paesaggio 1",
         {numero("valore", "", "")}},
        {d::linea,
         {"sfondo", "due"},
         true,
         "sfondo due",
         "la scelta del paesaggio 2",
         {numero("valore", "", "")}},
        {d::linea,
         {"sfondo", "tre"},
         true,
         "sfondo tre",
         "la scelta del paesaggio 3",
         {numero("valore", "", "")}},
        {d::linea,
         {"segnali", "ripetizione"},
         true,
         "ripetizione segnali 4 codici",
         "la ripetizione dei segnali in macchina (4 o 9 codici, scritti nella parola chiave)",
         {metri("inizio", "multiplo di 50"), metri("fine", "multiplo di 50; 0 senza ripetizione")}},
        {d::linea,
         {"pendenza"},
         false,
         "pendenza",
         "la pendenza che vale dalla posizione in poi; righe in ordine, la prima a 0 m",
         {metri("posizione", "da dove vale"), numero("pendenza", "per mille", "")}},
        {d::linea,
         {"curva"},
         false,
         "curvas4",
         "una curva: la cifra piu' bassa da 1 a 6 nella parola chiave ne e' la classe, una "
         "\"s\" il verso; righe in ordine di inizio",
         {metri("inizio", ""), numero("lunghezza", "m", "")}},
        {d::linea,
         {"montagna"},
         false,
         "montagna",
         "un tratto di rilievo; un tipo oltre 10 e' la galleria del tipo meno 10",
         {metri("inizio", ""), metri("fine", ""), numero("tipo", "", "oltre 10: galleria")}},
        {d::linea,
         {"indicatori_v"},
         false,
         "indicatori_vmax",
         "un cartello delle velocita' massime",
         {metri("posizione", ""), numero("vas", "km/h", "rango A, sinistra"),
          numero("vbs", "km/h", "rango B, sinistra"), numero("vcs", "km/h", "rango C, sinistra"),
          numero("strisces", "", "strisce, sinistra"), numero("vad", "km/h", "rango A, destra"),
          numero("vbd", "km/h", "rango B, destra"), numero("vcd", "km/h", "rango C, destra"),
          numero("strisced", "", "strisce, destra")}},
        {d::linea,
         {"indicat", "cartello"},
         false,
         "cartello_indicatore",
         "un cartello indicatore con il suo testo",
         {metri("posizione", ""), testo("testo", "senza virgole, se non tra virgolette")}},
        {d::treno,
         {"frenata", "massa"},
         false,
         "percentuale massa frenata",
         "la percentuale di massa frenata",
         {numero("percentuale", "%", "")}},
        {d::treno,
         {"vetture"},
         false,
         "numero vetture",
         "il numero delle vetture",
         {numero("vetture", "", "")}},
        {d::treno,
         {"velocit"},
         false,
         "velocita",
         "la velocita' massima della linea dalla posizione in poi; righe in ordine, la prima a "
         "0 m",
         {metri("posizione", "da dove vale"),
          numero("velocita", "km/h", "arrotondata a un multiplo di 5, al massimo 1277")}},
        {d::treno,
         {"aderenza"},
         false,
         "aderenza",
         "l'aderenza dalla posizione in poi; righe in ordine, la prima a 0 m",
         {metri("posizione", "da dove vale"), numero("valore", "", "ne restano gli 8 bit bassi")}},
        {d::treno,
         {"orologio"},
         false,
         "orologio",
         "l'ora di partenza; i tre numeri separati da spazi",
         {numero("ore", "h", ""), numero("minuti", "min", ""), numero("secondi", "s", "")}},
        {d::treno,
         {"sabbia"},
         false,
         "sabbia",
         "la sabbia a bordo",
         {numero("quantita", "", "da -32768 a 32767")}},
        {d::treno,
         {"segnale"},
         false,
         "segnale",
         "un segnale",
         {metri("posizione", ""), numero("sx", "", "lato sinistro"),
          numero("s1", "", "sinistra, primo aspetto"),
          numero("s2", "", "sinistra, secondo aspetto"),
          numero("s3", "", "sinistra, terzo aspetto"), numero("rapp", "", "rappel"),
          numero("dx", "", "lato destro"), numero("d1", "", "destra, primo aspetto"),
          numero("d2", "", "destra, secondo aspetto"), numero("d3", "", "destra, terzo aspetto"),
          numero("tempo", "s", "")}},
        {d::treno,
         {"rallentamento"},
         false,
         "rallentamento",
         "un rallentamento temporaneo",
         {metri("x", "inizio"), numero("v", "km/h", "velocita'"), numero("l", "m", "lunghezza"),
          numero("f_tt", "", ""), numero("f_ta", "", ""), numero("d_v", "", "")}},
        {d::treno,
         {"abbattimento"},
         false,
         "abbattimento",
         "un punto di abbattimento; un valore di 1 o piu' lo accompagna",
         {metri("posizione", ""), numero("valore", "", "")}},
        {d::treno,
         {"stazione"},
         false,
         "stazione",
         "una stazione; righe in ordine di marcia",
         {metri("posizione", "multiplo di 50"),
          numero("tipo", "", "da 0 a 255; 25 e oltre: senza fermata"),
          numero("marciapiede", "m", "multiplo di 100"), numero("b1", "", "da 0 a 255"),
          numero("b2", "", "da 0 a 255"),
          numero("b3", "", "diverso da 0: marciapiede piu' lungo di 50 m"), numero("i1", "", ""),
          numero("i2", "", ""), numero("b4", "", "da 0 a 255"), numero("i3", "", ""),
          numero("i4", "", ""), numero("i5", "", ""), numero("b5", "", "da 0 a 255"),
          numero("ore", "h", "orario"), numero("minuti", "min", "orario"),
          numero("secondi", "s", "orario"), testo("nome", "il nome della stazione")}},
    };
    return righe;
}

constexpr std::array<std::string_view, 6> sezioni_linea{
    "[generale]", "[curve]", "[pendenze]", "[montagne]", "[cartelli]", "[indicazioni]"};
constexpr std::array<std::string_view, 7> sezioni_treno{
    "[generale]",      "[aderenze]", "[vel_limite]", "[stazioni]",
    "[rallentamenti]", "[segnali]",  "[codici]"};

bool contiene_parte(std::string_view campo, std::string_view parte, bool esatta) {
    const auto uguali = [esatta](char a, char b) {
        return esatta ? a == b
                      : std::tolower(static_cast<unsigned char>(a)) ==
                            std::tolower(static_cast<unsigned char>(b));
    };
    return std::search(campo.begin(), campo.end(), parte.begin(), parte.end(), uguali) !=
           campo.end();
}

} // namespace

std::span<const voce_riga> catalogo_righe() {
    return tabella();
}

std::span<const std::string_view> intestazioni_sezioni(descrizione d) {
    if (d == descrizione::linea)
        return sezioni_linea;
    return sezioni_treno;
}

const voce_riga* voce_per_parola(descrizione d, std::string_view parola) {
    // A header or a dropped field is no row.
    if (parola.find('[') != std::string_view::npos || parola.find('-') != std::string_view::npos)
        return nullptr;
    for (const voce_riga& v : tabella()) {
        if (v.file != d)
            continue;
        if (std::all_of(v.sottostringhe.begin(), v.sottostringhe.end(),
                        [&](std::string_view s) { return contiene_parte(parola, s, v.esatta); }))
            return &v;
    }
    return nullptr;
}

} // namespace corvenna
