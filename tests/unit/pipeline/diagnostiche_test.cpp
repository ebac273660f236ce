#include "scenario/righe_linea.hpp"
#include "scenario/righe_treno.hpp"
#include "support/compila_prova.hpp"
#include "support/diagnostiche_prova.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace corvenna {
namespace {

using prova::linea;
using prova::testo;
using prova::treno;
using prova_diagnostiche::costruisci_testi;
using prova_diagnostiche::testo_tabella;

// A line description of 10000 m whose rows follow "[generale]" and the route length directly.
std::string generale(std::initializer_list<std::string_view> righe) {
    return testo({"[generale]", "lunghezza percorso,  10000"}) + testo(righe) + testo({"[fine]"});
}

std::string cartelli(int numero) {
    std::string righe = testo({"[generale]", "lunghezza percorso,  20000", "[cartelli]"});
    for (int i = 0; i < numero; ++i)
        righe += "cartello_indicatore,  " + std::to_string(1000 + 100 * i) + ",  C\r\n";
    return righe + "[fine]\r\n";
}

std::string montagne(int numero) {
    std::string righe = testo({"[generale]", "lunghezza percorso,  20000", "[montagne]"});
    for (int i = 0; i < numero; ++i)
        righe += "montagna,  " + std::to_string(300 * i) + ",  " + std::to_string(300 * i + 50) +
                 ",  1\r\n";
    return righe + "[fine]\r\n";
}

struct caso {
    const char* nome;
    std::optional<std::string> linea;
    std::optional<std::string> treno;
    std::string errori;
};

TEST(Diagnostiche, EveryCodeNamesTheFileLineAndColumnOfItsField) {
    const std::string segnale_8450 = "segnale,  8450,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0";
    const std::string rallentamento_10000 = "rallentamento,  10000,  60,  500,  1,  0,  0";
    const std::vector<caso> casi = {
        {"1", linea({}, "1000001"), treno({}),
         "L.txt:2:22: errore: lunghezza del percorso 1000001 m: deve stare fra 0 e 1000000 m "
         "[codice 1]\n"},
        {"2", generale({"progressiva chilometrica uno,  0,  1525,  0"}), treno({}),
         "L.txt:3:36: errore: lo scostamento 1525 della progressiva chilometrica uno non e' "
         "multiplo di 50 [codice 2]\n"},
        {"3", generale({"ripetizione segnali 4 codici,  1010,  2000"}), treno({}),
         "L.txt:3:32: errore: l'inizio della ripetizione segnali 1010 non e' multiplo di 50 "
         "[codice 3]\n"},
        {"4", generale({"ripetizione segnali 4 codici,  1000,  2025"}), treno({}),
         "L.txt:3:39: errore: la fine della ripetizione segnali 2025 non e' multipla di 50 [codice "
         "4]\n"},
        {"5", generale({"ripetizione segnali codici,  1000,  2000"}), treno({}),
         "L.txt:3:1: errore: 'ripetizione segnali codici' non dice 4 o 9 codici [codice 5]\n"},
        {"6",
         linea({"indicatori_vmax,  1550,  125,  135,  135,  0,    ,    ,    ,  0",
                "cartello_indicatore,  1550,  TESTO"}),
         treno({}),
         "L.txt:5:23: errore: la cella del cartello indicatore a 1550 m e' gia' occupata da un "
         "indicatore di velocita' (riga 4) [codice 6]\n"},
        {"7", linea({}),
         treno({"segnale,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0",
                "abbattimento,  2850,  100"}),
         "T.txt:3:16: errore: la cella dell'abbattimento a 2850 m e' gia' occupata da un segnale "
         "(riga 2) [codice 7]\n"},
        {"8", linea({}),
         treno({"stazione,  5210,  12,  300,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  "
                "A"}),
         "T.txt:2:12: errore: la posizione della stazione 5210 non e' multipla di 50 [codice 8]\n"},
        {"9", linea({}),
         treno({"stazione,  5200,  12,  350,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  "
                "A"}),
         "T.txt:2:24: errore: il marciapiede della stazione a 5200 m e' lungo 350 m: non e' "
         "multiplo di 100 [codice 9]\n"},
        {"10", cartelli(78),
         treno({"stazione,  5200,  12,  300,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  "
                "A"}),
         "T.txt:2:12: errore: stazioni e cartelli indicatori superano le voci disponibili (78 in "
         "tutto) [codice 10]\n"},
        {"11",
         linea({"indicatori_vmax,  8400,  1,  1,  1,  0,  0,  0,  0,  0",
                "indicatori_vmax,  8350,  1,  1,  1,  0,  0,  0,  0,  0"},
               "20000"),
         treno({segnale_8450, rallentamento_10000}),
         "T.txt:2:11: errore: nessuna cella libera per l'abbattimento davanti al segnale a 8450 m, "
         "che precede l'avviso di un rallentamento [codice 11]\n"},
        {"12",
         linea({"indicatori_vmax,  9750,  1,  1,  1,  0,  0,  0,  0,  0",
                "indicatori_vmax,  9700,  1,  1,  1,  0,  0,  0,  0,  0",
                "indicatori_vmax,  9650,  1,  1,  1,  0,  0,  0,  0,  0"},
               "20000"),
         treno({rallentamento_10000}),
         "T.txt:2:17: errore: nessuna cella libera in una fascia di abbattimento prima del "
         "rallentamento a 10000 m [codice 12]\n"},
        {"13",
         linea({"indicatori_vmax,  10350,  1,  1,  1,  0,  0,  0,  0,  0",
                "indicatori_vmax,  10400,  1,  1,  1,  0,  0,  0,  0,  0",
                "indicatori_vmax,  10450,  1,  1,  1,  0,  0,  0,  0,  0"},
               "20000"),
         treno({rallentamento_10000}),
         "T.txt:2:17: errore: nessuna cella libera per un abbattimento del rallentamento a 10000 "
         "m, intorno a 10450 m [codice 13]\n"},
        {"15", linea({"pendenza,  99500,  3"}, "88000"), treno({}),
         "L.txt:4:12: errore: posizione 99500 oltre il percorso (88000 m) [codice 15]\n"},
        {"15 stazione", linea({}),
         treno({"stazione,  16500,  12,  300,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  "
                "A"}),
         "T.txt:2:12: errore: posizione 16500 oltre il percorso (10000 m) [codice 15]\n"},
        {"16", linea({"indicatori_vmax,  2750,  1,  1,  1,  0,  0,  0,  0,  0"}),
         treno({"segnale,  2750,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0"}),
         "T.txt:2:11: errore: la cella del segnale a 2750 m e' gia' occupata da un indicatore di "
         "velocita' (riga 4 della descrizione della linea) [codice 16]\n"},
        {"17", linea({"indicatori_vmax,  8800,  1,  1,  1,  0,  0,  0,  0,  0"}),
         treno({rallentamento_10000}),
         "T.txt:2:17: errore: la cella dell'avviso, 1200 m prima del rallentamento a 10000 m, e' "
         "gia' occupata da un indicatore di velocita' (riga 4 della descrizione della linea) "
         "[codice 17]\n"},
        {"18", linea({"indicatori_vmax,  10000,  1,  1,  1,  0,  0,  0,  0,  0"}),
         treno({rallentamento_10000}),
         "T.txt:2:17: errore: la cella d'inizio del rallentamento a 10000 m e' gia' occupata da un "
         "indicatore di velocita' (riga 4 della descrizione della linea) [codice 18]\n"},
        {"19", linea({"indicatori_vmax,  10500,  1,  1,  1,  0,  0,  0,  0,  0"}),
         treno({rallentamento_10000}),
         "T.txt:2:17: errore: la cella di fine del rallentamento a 10000 m e' gia' occupata da un "
         "indicatore di velocita' (riga 4 della descrizione della linea) [codice 19]\n"},
        {"20", linea({"indicatori_vmax,  8700,  1,  1,  1,  0,  0,  0,  0,  0"}),
         treno({"rallentamento,  10000,  60,  500,  1,  1,  0"}),
         "T.txt:2:17: errore: una delle quattro celle prima dell'avviso del rallentamento a 10000 "
         "m (a 8750 m) e' gia' occupata da un indicatore di velocita' (riga 4 della descrizione "
         "della linea) [codice 20]\n"},
        {"21",
         linea({"cartello_indicatore,  1550,  TESTO",
                "indicatori_vmax,  1550,  125,  135,  135,  0,    ,    ,    ,  0"}),
         treno({}),
         "L.txt:5:19: errore: la cella dell'indicatore di velocita' a 1550 m e' gia' occupata da "
         "un cartello indicatore (riga 4) [codice 21]\n"},
        {"22", linea({}),
         treno(
             {"stazione,  5200,  12,  300,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  A",
              "stazione,  5700,  12,  300,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  "
              "B"}),
         "T.txt:3:12: errore: il marciapiede della stazione B inizia a 5550 m, a meno di 350 m "
         "dalla fine di quello della stazione precedente (5350 m) [codice 22]\n"},
        {"24", linea({}),
         treno({"stazione,  0,  12,  100,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  A"}),
         "T.txt:2:12: errore: il marciapiede della stazione A finisce a 50 m: la cella di fermata "
         "cadrebbe prima della cella 2 [codice 24]\n"},
        {"25 lettera", linea({"pendenza,  0,  0", "pendenza,  1x00,  0"}), treno({}),
         "L.txt:5:12: errore: '1x00' non e' un numero [codice 25]\n"},
        {"25 fine", testo({"[generale]", "lunghezza percorso,  10000", "[p]", "pendenza,  1000"}),
         treno({}),
         "L.txt:4:16: errore: manca un valore: la descrizione finisce prima [codice 25]\n"},
        {"25 tipo", linea({}),
         treno({"stazione,  5200,  256,  300,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  "
                "A"}),
         "T.txt:2:19: errore: 256 non sta nel suo campo (da 0 a 255) [codice 25]\n"},
        {"25 velocita", linea({}), treno({"velocita,  0,  1280", "velocita,  1500,  100"}),
         "T.txt:2:16: errore: la velocita' 1280 km/h non sta in una cella (da 0 a 1277 km/h) "
         "[codice 25]\n"},
        {"25 indicatore", linea({"indicatori_vmax,  1550,  2000,  1,  1,  0,  0,  0,  0,  0"}),
         treno({}),
         "L.txt:4:26: errore: il valore dell'indicatore (2000 x 20 + 0 / 5) non sta in 16 bit "
         "[codice 25]\n"},
        {"25 senza lunghezza", testo({"[generale]", "sfondo uno,  1", "[fine]"}), treno({}),
         "L.txt:1:1: errore: la sezione [generale] non da' la 'lunghezza percorso' [codice 25]\n"},
        {"25 senza treno", linea({}), std::nullopt,
         "T.txt: errore: la descrizione del treno non esiste [codice 25]\n"},
        {"25 virgolette", linea({"cartello_indicatore,  350,  \"APERTO"}), treno({}),
         "L.txt:4:29: errore: le virgolette non si chiudono [codice 25]\n"},
        {"26", linea({}), treno({"segnale,  300,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0"}),
         "T.txt:2:11: errore: il segnale a 300 m occupa celle fuori dal tracciato [codice 26]\n"},
        {"27", montagne(81), treno({}),
         "L.txt:84:12: errore: i tratti montagna superano gli 80 consentiti [codice 27]\n"},
        {"101", std::nullopt, treno({}),
         "L.txt: errore: la descrizione della linea non esiste [codice 101]\n"},
        {"102", testo({"lunghezza percorso,  10000", "[fine]"}), treno({}),
         "L.txt: errore: manca la sezione [generale] [codice 102]\n"},
        {"103 classe", linea({"curvas,  700,  100"}), treno({}),
         "L.txt:4:1: errore: curva senza classe: 'curvas' non contiene una cifra da 1 a 6 [codice "
         "103]\n"},
        {"103 oltre", linea({"curvas4,  700,  20000"}), treno({}),
         "L.txt:4:17: errore: la curva finisce a 20700 m, oltre la planimetria (16998 m) [codice "
         "103]\n"},
        {"1250", linea({"cartello_indicatore,  0,  ORIGINE"}), treno({}),
         "L.txt:4:23: errore: la cella 1 (da 50 a 100 m) ha gia' un valore in dato1: "
         "l'intestazione dello scenario non vi si scrive (un cartello indicatore vi sta) [codice "
         "1250]\n"},
        {"1251", linea({}), treno({"rallentamento,  0,  0,  0,  0,  0,  7"}),
         "T.txt:2:17: errore: la cella 1 (da 50 a 100 m) ha gia' un valore in dato2: "
         "l'intestazione dello scenario non vi si scrive (un rallentamento vi sta) [codice "
         "1251]\n"},
    };
    for (const caso& k : casi) {
        const auto r = costruisci_testi(k.linea, k.treno);
        EXPECT_EQ(r.prime_righe(gravita::errore), k.errori) << k.nome;
    }
}

// Named after the warning it shows (a second word tells apart two fixtures of one warning).
struct caso_avviso {
    const char* nome;
    std::optional<std::string> linea;
    std::optional<std::string> treno;
    std::string atteso;
};

TEST(Diagnostiche, EachWarningFiresAtTheLineThatShowsIt) {
    const std::string stazione_b2 =
        "stazione,  5200,  12,  300,  0,  1,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  A";
    const std::vector<caso_avviso> casi = {
        {"marcatore-galleria-sostituito", linea({"montagna,  8700,  11050,  11"}, "20000"),
         treno({"segnale,  8800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0"}),
         "T.txt:2:11: avviso: un segnale a 8800 m prende il posto di un marcatore di galleria di "
         "un tratto montagna (riga 4 della descrizione della linea) "
         "[marcatore-galleria-sostituito]\n"},
        {"marcatore-galleria-sostituito rifinitura",
         linea({"montagna,  9650,  10700,  11"}, "20000"),
         treno({"rallentamento,  10000,  60,  500,  1,  0,  0"}),
         "T.txt:2:17: avviso: l'abbattimento che un rallentamento a 10000 m richiede prende, a "
         "9800 m, il posto di un marcatore di galleria di un tratto montagna (riga 4 della "
         "descrizione della linea) [marcatore-galleria-sostituito]\n"},
        {"marcatore-galleria-omesso",
         linea({"cartello_indicatore,  8800,  GALLERIA", "montagna,  8700,  11050,  11"}, "20000"),
         treno({}),
         "L.txt:5:12: avviso: il marcatore di galleria a 8850 m non e' posto: la cella ha gia' un "
         "cartello indicatore (riga 4) [marcatore-galleria-omesso]\n"},
        {"elemento-coperto", linea({}),
         treno({"segnale,  8100,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0",
                "stazione,  8050,  12,  300,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  "
                "A"}),
         "T.txt:3:12: avviso: una fermata di A a 8050 m prende la cella di un segnale (riga 2), "
         "che non compare piu' [elemento-coperto]\n"},
        {"marcatori-sovrascritti", linea({}),
         treno({"segnale,  3000,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0",
                "segnale,  3100,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0"}),
         "T.txt:3:11: avviso: un marcatore di avvicinamento di un segnale a 3100 m sostituisce, a "
         "2950 m, quello di un segnale (riga 2) [marcatori-sovrascritti]\n"},
        {"rallentamento-senza-fine", linea({}),
         treno({"rallentamento,  5000,  60,  10,  1,  0,  0"}),
         "T.txt:2:17: avviso: il rallentamento a 5000 m lungo 10 m non finisce dopo la sua cella "
         "d'inizio: la cella di fine e' coperta dall'inizio [rallentamento-senza-fine]\n"},
        {"preavvisi-omessi", linea({}), treno({"rallentamento,  1000,  60,  500,  1,  1,  0"}),
         "T.txt:2:17: avviso: il rallentamento a 1000 m inizia entro 1500 m: non ha cartello di "
         "avviso, e i quattro preavvisi chiesti non sono posti [preavvisi-omessi]\n"},
        {"montagne-sovrapposte",
         linea({"montagna,  1000,  3000,  1", "montagna,  2000,  4000,  2"}), treno({}),
         "L.txt:5:12: avviso: il tratto montagna da 2000 a 4000 m copre il rilievo del tratto da "
         "1000 a 3000 m [montagne-sovrapposte]\n"},
        {"tipo-montagna-cambiato",
         linea({"montagna,  1000,  3000,  1", "montagna,  3100,  4000,  2"}), treno({}),
         "L.txt:5:12: avviso: il tratto montagna a 3100 m inizia 150 m o meno dopo la fine del "
         "precedente (3000 m): il suo tipo 2 diventa 3 [tipo-montagna-cambiato]\n"},
        {"montagna-vuota", linea({"montagna,  3000,  1000,  1"}), treno({}),
         "L.txt:4:12: avviso: il tratto montagna da 3000 a 1000 m non copre alcuna cella "
         "[montagna-vuota]\n"},
        {"valore-troncato", linea({}), treno({"aderenza,  0,  300"}),
         "T.txt:2:16: avviso: l'aderenza 300 non sta in 8 bit (da 0 a 255): resta 44 "
         "[valore-troncato]\n"},
        {"valore-troncato pendenza", linea({"pendenza,  0,  200"}), treno({}),
         "L.txt:4:16: avviso: la pendenza memorizzata (pendenza + 100) 300 non sta in 8 bit (da 0 "
         "a 255): resta 44 [valore-troncato]\n"},
        {"velocita-arrotondata", linea({}), treno({"velocita,  0,  72"}),
         "T.txt:2:16: avviso: la velocita' 72 km/h non e' multipla di 5: vale 70 km/h "
         "[velocita-arrotondata]\n"},
        {"posizione-arrotondata", linea({}),
         treno({"segnale,  2810,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0"}),
         "T.txt:2:11: avviso: il segnale a 2810 m: la posizione non e' multipla di 50 ed e' "
         "arrotondata a una cella di 50 m [posizione-arrotondata]\n"},
        {"posizione-non-crescente",
         linea({"pendenza,  0,  0", "pendenza,  1500,  -5", "pendenza,  1000,  3"}), treno({}),
         "L.txt:6:12: avviso: la posizione 1000 non supera quella della riga 5 (1500 m): le righe "
         "di pendenza vanno in ordine crescente [posizione-non-crescente]\n"},
        {"prima-posizione-non-zero", linea({}), treno({"velocita,  500,  100"}),
         "T.txt:2:12: avviso: la prima riga di velocita' e' a 500 m, non a 0: le celle prima hanno "
         "il valore 0 [prima-posizione-non-zero]\n"},
        {"curva-sovrapposta", linea({"curvas4,  700,  950", "curvad3,  1000,  1000"}), treno({}),
         "L.txt:5:11: avviso: la curva a 1000 m inizia prima della fine della precedente (1650 m): "
         "e' applicata solo da 1650 m [curva-sovrapposta]\n"},
        {"curva-ignorata", linea({"curvas4,  700,  950", "curvad3,  1000,  100"}), treno({}),
         "L.txt:5:11: avviso: la curva a 1000 m finisce a 1100 m, prima della fine della "
         "precedente (1650 m): e' ignorata e non entra nello scenario; le curve vanno scritte in "
         "ordine di posizione [curva-ignorata]\n"},
        {"classe-curva-multipla", linea({"curvas46,  700,  950"}), treno({}),
         "L.txt:4:1: avviso: 'curvas46' contiene piu' cifre di classe: vale la piu' bassa, 4 "
         "[classe-curva-multipla]\n"},
        {"parola-chiave-sconosciuta", linea({"salita,  100,  2"}), treno({}),
         "L.txt:4:1: avviso: 'salita' non e' una parola chiave: la riga e' ignorata "
         "[parola-chiave-sconosciuta]\n"},
        {"valori-in-eccesso", linea({"pendenza,  0,  0,  7"}), treno({}),
         "L.txt:4:20: avviso: '7' e' oltre i valori che la riga prende: e' ignorato "
         "[valori-in-eccesso]\n"},
        {"valori-su-piu-righe", linea({}), treno({"sabbia", "300"}),
         "T.txt:2:1: avviso: la riga ha meno valori di quanti ne prende 'sabbia': i mancanti sono "
         "presi fino alla riga 3 [valori-su-piu-righe]\n"},
        {"riga-ripetuta", linea({}), treno({"sabbia,  300", "sabbia,  200"}),
         "T.txt:3:1: avviso: 'sabbia' e' gia' data alla riga 2: vale l'ultima [riga-ripetuta]\n"},
        {"parola-chiave-multipla", linea({}), treno({"sabbia vetture,  3,  4"}),
         "T.txt:2:1: avviso: 'sabbia vetture' contiene 2 parole chiave: ciascuna legge i suoi "
         "valori, uno dopo l'altro [parola-chiave-multipla]\n"},
        {"ultimo-campo-ignorato", linea({}), testo({"[generale]", "vetture"}),
         "T.txt:2:1: avviso: l'ultimo campo della descrizione non e' mai letto: 'vetture' e' "
         "ignorato (la descrizione finisce di solito con [fine]) [ultimo-campo-ignorato]\n"},
        {"prima-di-generale", linea({}), testo({"vetture,  3", "[generale]", "[fine]"}),
         "T.txt:1:1: avviso: 'vetture' sta prima di [generale]: e' ignorato [prima-di-generale]\n"},
        {"generale-mancante", linea({}), testo({"vetture,  3", "[fine]"}),
         "T.txt: avviso: la descrizione del treno non ha la sezione [generale]: nessuna sua riga "
         "e' compilata [generale-mancante]\n"},
        {"testo-accorciato", linea({"cartello_indicatore,  350,  \"(A)\" coda"}), treno({}),
         "L.txt:4:29: avviso: il testo resta '(A)': gli spazi finali e cio' che segue le "
         "virgolette chiuse sono scartati [testo-accorciato]\n"},
        {"tempo-segnale-cambiato", linea({}),
         treno({"segnale,  2800,  2,  4,  0,  0,  0,  0,  0,  0,  0,  50"}),
         "T.txt:2:54: avviso: il tempo 50 diventa 101 (da 1 a 100 vale 101) "
         "[tempo-segnale-cambiato]\n"},
        {"valore-stazione-ignorato", linea({}),
         treno({"stazione,  0,  2,  400,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  P",
                stazione_b2}),
         "T.txt:3:34: avviso: il valore b2 = 1 della stazione A e' azzerato: vale solo dalla "
         "seconda stazione e per marciapiedi di almeno 600 m [valore-stazione-ignorato]\n"},
        {"abbattimento-ridotto", linea({}, "20000"),
         treno({"abbattimento,  8450,  200",
                "segnale,  8350,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0",
                "segnale,  8450,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0",
                "rallentamento,  10000,  60,  500,  1,  0,  0"}),
         "T.txt:2:16: avviso: il valore 200 dell'abbattimento a 8450 m e' ridotto a 180 per un "
         "segnale (riga 4) [abbattimento-ridotto]\n"},
        {"compilazione-interrotta", linea({"pendenza,  99500,  3"}, "88000"),
         treno({"segnale,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0"}),
         "T.txt:2:11: avviso: la compilazione si ferma a questa riga (il segnale a 2800 m): resta "
         "il codice 15 della riga 4 della descrizione della linea, e le righe seguenti non sono "
         "lette "
         "[compilazione-interrotta]\n"},
    };
    for (const caso_avviso& k : casi) {
        const auto r = costruisci_testi(k.linea, k.treno);
        const std::string_view nome =
            std::string_view(k.nome).substr(0, std::string_view(k.nome).find(' '));
        EXPECT_EQ(r.avvisi(nome), k.atteso) << k.nome;
    }
}

TEST(Diagnostiche, BuiltInScenarioHasOnlyTheMarkerItReallyReplaces) {
    // The signal at 42800 m puts an approach marker on the cell where the station MERIDOLA put
    // one of its own: the only thing the built-in descriptions hide.
    const auto r = costruisci_testi(testo_tabella(righe_linea), testo_tabella(righe_treno));
    EXPECT_TRUE(r.s.riuscito());
    EXPECT_EQ(r.testo(),
              "T.txt:51:11: avviso: un marcatore di avvicinamento di un segnale a 42800 m "
              "sostituisce, a 42450 m, quello di una fermata di MERIDOLA (riga 26) "
              "[marcatori-sovrascritti]\n"
              "segnale,  42800,  2,  3,  0,  0,  0,  0,  0,  0,  0,  0\n"
              "          ^\n");
    // Without the plan view the curve lines are skipped without a word.
    EXPECT_EQ(costruisci_testi(testo_tabella(righe_linea), testo_tabella(righe_treno), 0).testo(),
              r.testo());
}

TEST(Diagnostiche, TextFormShowsTheSourceLineAndACaretUnderTheField) {
    struct caso {
        const char* nome;
        std::optional<std::string> linea;
        std::string atteso;
    };
    const caso casi[] = {
        {"range", linea({"pendenza,  0,  0", "pendenza,  99500,  3"}, "88000"),
         "L.txt:5:12: errore: posizione 99500 oltre il percorso (88000 m) [codice 15]\n"
         "pendenza,  99500,  3\n"
         "           ^\n"},
        // A tab stays a tab in the caret line, so the caret stays under the field.
        {"tab", linea({"pendenza,\t99500,  3"}, "88000"),
         "L.txt:4:11: errore: posizione 99500 oltre il percorso (88000 m) [codice 15]\n"
         "pendenza,\t99500,  3\n"
         "         \t^\n"},
        // A value missing at the end: the caret stands just after the last line.
        {"end", testo({"[generale]", "lunghezza percorso,  10000", "[p]", "pendenza,  1000"}),
         "L.txt:4:16: errore: manca un valore: la descrizione finisce prima [codice 25]\n"
         "pendenza,  1000\n"
         "               ^\n"},
        // Lines that end with a lone LF count the same.
        {"lf", std::string("[generale]\nlunghezza percorso,  1x\n[fine]\n"),
         "L.txt:2:22: errore: '1x' non e' un numero [codice 25]\n"
         "lunghezza percorso,  1x\n"
         "                     ^\n"},
        {"no line", std::nullopt,
         "L.txt: errore: la descrizione della linea non esiste [codice 101]\n"},
    };
    for (const caso& k : casi)
        EXPECT_EQ(costruisci_testi(k.linea, treno({})).testo(), k.atteso) << k.nome;

    diagnostica senza_file;
    senza_file.codice = 1250;
    senza_file.messaggio = "la cella 1 ha gia' un valore";
    EXPECT_EQ(testo_diagnostica(senza_file, "L.txt", ""),
              "errore: la cella 1 ha gia' un valore [codice 1250]\n");
    diagnostica avviso;
    avviso.livello = gravita::avviso;
    avviso.file = descrizione::treno;
    avviso.riga = 2;
    avviso.colonna = 0;
    avviso.tipo = tipo_avviso::riga_ripetuta;
    avviso.messaggio = "testo";
    EXPECT_EQ(testo_diagnostica(avviso, "T.txt", "a\r\nb, c\r\n"),
              "T.txt:2: avviso: testo [riga-ripetuta]\nb, c\n");
}

TEST(Diagnostiche, SourceLinesAreCountedAsTheReaderCountsThem) {
    EXPECT_EQ(riga_del_testo("a\r\nb\rc\nd", 1), "a");
    EXPECT_EQ(riga_del_testo("a\r\nb\rc\nd", 2), "b");
    EXPECT_EQ(riga_del_testo("a\r\nb\rc\nd", 3), "c");
    EXPECT_EQ(riga_del_testo("a\r\nb\rc\nd", 4), "d");
    EXPECT_EQ(riga_del_testo("a\r\nb\rc\nd", 5), "");
    EXPECT_EQ(riga_del_testo("a\n\rb", 3), "b");
    EXPECT_EQ(riga_del_testo("a", 0), "");
}

} // namespace
} // namespace corvenna
